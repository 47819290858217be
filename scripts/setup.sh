#!/usr/bin/env bash
# Installs what the build and the tests need, idempotently: Debian packages,
# the Japanese locale, and two private Wine prefixes with a Japanese font and
# Wine's Marlett: the tests' one, and the one `make run` uses on a display.
# Where the kernel runs 32-bit programs it also adds Debian's i386
# architecture and the 32-bit Wine loader, so that the 32-bit build runs and
# is tested too.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

packages=(mingw-w64 wine64 fonts-wine xvfb xdotool x11-utils openbox imagemagick libgl1-mesa-dri
          fonts-ipafont-gothic libgl1 locales cmake ninja-build make g++ googletest libgtest-dev
          libbenchmark-dev python3)
# Recommended packages come along: Wine loads OpenGL and X extensions it only recommends.
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
wow64=no
# The kernel itself, whatever VORL_ASSUME_NO_32BIT says: the prefix stays.
if vorl_kernel_runs_32bit; then
  wow64=yes
  packages+=(wine32 libgl1:i386 libgl1-mesa-dri:i386)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "setup: adding the i386 architecture for the 32-bit Wine loader"
    $SUDO dpkg --add-architecture i386
  fi
else
  echo "setup: this machine cannot run 32-bit programs; only the 64-bit build will be tested"
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

mkdir -p "$VORL_BUILD" "$(dirname "$VORL_LOCPATH")"

# Japanese for every run; English for the case that shows the program on a
# Windows whose language for non-Unicode programs is not Japanese.
for locale in ja_JP en_US; do
  if [ ! -f "$VORL_LOCPATH/$locale.UTF-8/LC_CTYPE" ]; then
    echo "setup: making the locale $locale.UTF-8"
    mkdir -p "$VORL_LOCPATH"
    localedef -i "$locale" -f UTF-8 "$VORL_LOCPATH/$locale.UTF-8" || true
  fi
done

# A prefix is made again when what it must hold changes: a prefix made before
# the 32-bit loader was installed cannot start 32-bit programs; one made before
# Marlett was copied draws caption buttons as letters.
prefix_kind="wow64=$wow64 marlett=1 relay=timer"

# make_prefix DIR ROLE: a prefix with the Japanese font, Wine's Marlett (the
# caption buttons' and menu marks' font, which Wine does not find in its own
# data folder, only in the prefix's) and the font replacements.
# ROLE "tests": the tests' Xvfb has no window manager, so Wine draws the frames
# itself and keeps its windows unmanaged, and keys reach them. ROLE "desktop":
# Wine's defaults for the X11 driver, so that on a desktop the window manager
# frames the window, makes it active and gives it the keys. The X11 driver
# reads these settings from the prefix's registry only (per program name at
# most, and tests and demo both run Vorl.exe): hence two prefixes, about
# 1.3 GB each.
make_prefix() {
  local prefix=$1 role=$2
  [ "$(cat "$prefix/.vorl-ready" 2>/dev/null)" != "$prefix_kind" ] || return 0
  echo "setup: preparing the Wine prefix in $prefix"
  export WINEPREFIX="$prefix"
  "$WINESERVER" -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
  "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
  "$WINESERVER" -w
  cp /usr/share/fonts/opentype/ipafont-gothic/*.ttf /usr/share/wine/fonts/marlett.ttf \
    "$prefix/drive_c/windows/Fonts/"
  local reg="$VORL_BUILD/vorl-prefix-$role.reg"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    if [ "$role" = tests ]; then
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n"Decorated"="N"\r\n\r\n'
      # What WINEDEBUG=+relay traces: the program's timer period requests.
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Debug]\r\n"RelayInclude"="winmm.timeBeginPeriod;winmm.timeEndPeriod"\r\n\r\n'
    fi
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for f in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "MS UI Gothic" "ＭＳ Ｐゴシック"; do
      printf '"%s"="IPAPGothic"\r\n' "$f"
    done
    printf '\r\n'
    # No crash dialog: a crashing program just ends.
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
  "$WINELOADER" regedit /S "$reg" >/dev/null 2>&1
  "$WINESERVER" -w
  echo "$prefix_kind" > "$prefix/.vorl-ready"
}
(make_prefix "$WINEPREFIX" tests)
(make_prefix "$VORL_DESKTOP_PREFIX" desktop)
echo "setup: ready"
