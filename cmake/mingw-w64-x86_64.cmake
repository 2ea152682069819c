# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads flavour).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SWIVEX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${SWIVEX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SWIVEX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${SWIVEX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SWIVEX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows binaries (tests included) run through Wine; the test scripts set WINEPREFIX and DISPLAY.
find_program(SWIVEX_WINE wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${SWIVEX_WINE})

# One static exe: no libstdc++, libgcc or winpthread DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
