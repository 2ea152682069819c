#!/usr/bin/env bash
# Installs what the build, the tests and the demonstration need, idempotently: Debian packages, the ja_JP.UTF-8
# locale and the project's own Wine prefix. Sourced by scripts/test.sh and scripts/demo.sh; safe to run twice.
set -euo pipefail

SWIVEX_ROOT=${SWIVEX_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export SWIVEX_ROOT
export WINEPREFIX=${WINEPREFIX:-$SWIVEX_ROOT/build/wineprefix}
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko downloads when the prefix is made (there is no network for them, and nothing needs them).
export WINEDLLOVERRIDES="mscoree=;mshtml="

SWIVEX_PACKAGES=(
  build-essential cmake ninja-build googletest libgtest-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 fonts-wine xvfb xauth x11-utils imagemagick locales fonts-ipafont-gothic
  clang libclang-rt-14-dev
  python3 python3-ezdxf libdxflib-dev
  zip
)

swivex_install_packages() {
  local missing=()
  for p in "${SWIVEX_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

swivex_install_locale() {
  if ! locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
    echo "setup: generating the ja_JP.UTF-8 locale"
    sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}

swivex_make_wineprefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "setup: making the Wine prefix $WINEPREFIX"
    LC_ALL=ja_JP.UTF-8 wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # Japanese UI font: IPA P Gothic stands in for the dialog's "ＭＳ Ｐゴシック".
  if [ -f "$SWIVEX_ROOT/scripts/wine-fonts.reg" ] && ! grep -q 'IPAPGothic' "$WINEPREFIX/user.reg" 2>/dev/null; then
    LC_ALL=ja_JP.UTF-8 wine regedit /S "$SWIVEX_ROOT/scripts/wine-fonts.reg" >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # The caption buttons' symbols: Wine draws them with the Marlett font, which it finds in the prefix's Fonts
  # folder but not where fonts-wine installs it; without it they show as the letters "r", "0" and "1".
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" marlett=/usr/share/wine/fonts/marlett.ttf
  if [ ! -f "$fonts/marlett.ttf" ] && [ -f "$marlett" ]; then
    mkdir -p "$fonts"
    cp "$marlett" "$fonts/marlett.ttf"
  fi
}

# A copy of the project's prefix that runs at another scale (the prefix's LogPixels), for the screenshots at that
# DPI; made again when the project's prefix has changed since. Prints its path. swivex_dpi_prefix 144
swivex_dpi_prefix() {
  local dpi=$1 copy="$WINEPREFIX-${1}dpi"
  if [ ! -f "$copy/.swivex-logpixels-$dpi" ] || [ "$WINEPREFIX/user.reg" -nt "$copy/.swivex-logpixels-$dpi" ]; then
    WINEPREFIX="$WINEPREFIX" wineserver -w 2>/dev/null || true
    rm -rf "$copy"
    cp -a "$WINEPREFIX" "$copy"
    WINEPREFIX="$copy" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
      >/dev/null 2>&1 || true
    WINEPREFIX="$copy" wineserver -w || true
    touch "$copy/.swivex-logpixels-$dpi"
  fi
  echo "$copy"
}

swivex_setup() {
  if [ "$(id -u)" = 0 ]; then
    swivex_install_packages
    swivex_install_locale
  fi
  swivex_make_wineprefix
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  swivex_setup
fi
