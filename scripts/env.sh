# Sourced by the other scripts: where things are and how Wine is run.
VORL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VORL_ROOT
export VORL_BUILD="${VORL_BUILD:-$VORL_ROOT/build}"
export WINEPREFIX="${WINEPREFIX:-$VORL_BUILD/wineprefix}"
# The same but for the X11 driver, which keeps Wine's defaults: the prefix of
# `make run` on a display, where a window manager frames and activates windows.
export VORL_DESKTOP_PREFIX="${VORL_DESKTOP_PREFIX:-$VORL_BUILD/wineprefix-desktop}"
export WINEARCH=win64
# One 64-bit prefix runs both builds: 64-bit programs under wine64, 32-bit
# ones under the 32-bit loader (Debian's wine32), which wine-run.sh picks.
export WINELOADER="${WINELOADER:-/usr/lib/wine/wine64}"
export WINELOADER32="${WINELOADER32:-/usr/lib/wine/wine}"
export WINESERVER="${WINESERVER:-/usr/lib/wine/wineserver}"
# d3drm=n: the Retained Mode beside the program, ours, as the zip ships it;
# Wine would otherwise load its own. A program with no d3drm.dll in its folder
# then gets none.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;d3drm=n}"
export WINEDEBUG="${WINEDEBUG:-fixme-all,err+all}"
# Japanese locale made by setup.sh into a folder of ours; wine-run.sh uses it.
export VORL_LOCPATH="$VORL_ROOT/build/locale"

# How Wine loaded d3drm.dll, from the +loaddll lines of a run's log: "native"
# (the one beside the program, ours) or "builtin" (Wine's own); nothing when
# none was loaded.
vorl_d3drm_loaded() {
  sed -nE 's/.*Loaded L"[^"]*\\d3drm\.dll" at [^:]*: (native|builtin)$/\1/Ip' "$1" | head -1
}

# True when the kernel runs 32-bit x86 programs: runs a 96-byte i386 ELF
# program whose only instructions are exit(42). Needs no 32-bit library.
# Set-up asks this: what it installs and what the prefix holds follow the
# machine.
vorl_kernel_runs_32bit() {
  local probe
  probe=$(mktemp "${TMPDIR:-/tmp}/vorl-i386-probe.XXXXXX") || return 1
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'\
'\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' > "$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  local code=$?
  rm -f "$probe"
  [ "$code" -eq 42 ]
}

# True when the scripts run 32-bit programs: the kernel runs them, and
# VORL_ASSUME_NO_32BIT is not 1 (which tries the other path on any machine).
vorl_can_run_32bit() {
  [ "${VORL_ASSUME_NO_32BIT:-}" != 1 ] && vorl_kernel_runs_32bit
}

# vorl_pick_arch NAME [win32|win64]: the build a script runs, printed: the one
# asked for, or win32 (the build Windows users get), win64 where this machine
# cannot run 32-bit programs. NAME starts its messages; fails for a build this
# machine cannot run or does not know.
vorl_pick_arch() {
  local name=$1 arch=${2:-}
  case "$arch" in
    "")
      if vorl_can_run_32bit; then echo win32; return 0; fi
      echo "$name: this machine cannot run 32-bit programs; using the 64-bit build instead" >&2
      echo win64 ;;
    win32)
      vorl_can_run_32bit || { echo "$name: this machine cannot run 32-bit programs; try ARCH=win64" >&2; return 1; }
      echo win32 ;;
    win64) echo win64 ;;
    *) echo "$name: ARCH is win32 or win64, not $arch" >&2; return 2 ;;
  esac
}
