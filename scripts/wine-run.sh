#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix, in the Japanese
# locale (or VORL_LANG's), with the loader that fits it: the 32-bit loader for an i386
# program, wine64 for everything else. CTest uses it as the cross-compiling
# emulator of both Windows trees.
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

# The machine field of a PE file's header, as four hex digits ("014c" for i386).
pe_machine() {
  local offset
  offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ') || return 1
  [ -n "$offset" ] || return 1
  od -An -t x2 -j $((offset + 4)) -N 2 "$1" 2>/dev/null | tr -d ' '
}

loader=$WINELOADER
if [ $# -gt 0 ] && [ -f "$1" ] && [ "$(pe_machine "$1")" = "014c" ]; then
  loader=$WINELOADER32
fi
# VORL_LANG picks another of setup.sh's locales (en_US.UTF-8: an English Windows).
lang=${VORL_LANG:-ja_JP.UTF-8}
exec env LOCPATH="$VORL_LOCPATH" LANG="$lang" LC_ALL="$lang" "$loader" "$@"
