# swivex_add_gtest(NAME name SOURCES ... LIBS ... [LABELS ...])
# Natively every test case becomes its own CTest test. In the Windows build the whole binary is one CTest test run
# through Wine; it writes a GoogleTest XML report that scripts/summarize.py counts case by case.
set(SWIVEX_WINEPREFIX "${CMAKE_SOURCE_DIR}/build/wineprefix" CACHE PATH "Wine prefix for the Windows test runs")
set(SWIVEX_GTEST_XML_DIR "${CMAKE_BINARY_DIR}/gtest-xml")
file(MAKE_DIRECTORY ${SWIVEX_GTEST_XML_DIR})

function(swivex_add_gtest)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  if(SWIVEX_WIN32)
    add_test(NAME win.${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(win.${T_NAME} PROPERTIES
      LABELS "wine;${T_LABELS}"
      ENVIRONMENT "WINEPREFIX=${SWIVEX_WINEPREFIX};WINEDEBUG=-all;LC_ALL=ja_JP.UTF-8;GTEST_OUTPUT=xml:Z:${SWIVEX_GTEST_XML_DIR}/${T_NAME}.xml")
  else()
    gtest_discover_tests(${T_NAME} PROPERTIES LABELS "${T_LABELS}" DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# Environment for any other test that starts Windows programs under Wine.
set(SWIVEX_WINE_ENV "WINEPREFIX=${SWIVEX_WINEPREFIX};WINEDEBUG=-all;LC_ALL=ja_JP.UTF-8")
