#!/usr/bin/env bash
# The package for Windows users (`make dist`; rules in dist/CMakeLists.txt).
#
#   scripts/dist.sh                   builds the win32 tree the tests run on and
#                                     packs build/dist/Vorl-<version>-win32.zip
#   scripts/dist.sh --pack TREE OUT   packs TREE into OUT/<name>.zip, no build
#   scripts/dist.sh --check ZIP TREE  only checks ZIP against TREE
#
# Packing is CPack's ZIP generator, then the check: the zip <name>.zip holds
# a folder <name> with exactly README.txt, Vorl.bmp, Vorl.exe and d3drm.dll,
# and each is byte for byte its source: Vorl.exe and d3drm.dll the tested files
# in TREE/bin, README.txt TREE/dist/README.txt, Vorl.bmp res/Vorl.bmp; and
# README.txt's English half holds each of the program's Japanese messages, as
# the sources hold it, on one line. A package that fails the check is removed;
# the script says why and exits 1.
# tests/dist/ runs --pack and --check on the tree under test.
set -euo pipefail
shopt -s inherit_errexit
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

# check ZIP TREE
check() {
  local zip tree name list entries expected unpacked
  zip="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
  tree="$(cd "$2" && pwd)"
  name="$(basename "$zip" .zip)"
  [ -f "$zip" ] || fail "$zip" "no such package"
  list=$(cmake -E tar tf "$zip" 2>/dev/null) || fail "$zip" "cannot be read as a zip"
  entries=$(printf '%s\n' "$list" | grep -v '/$' | sort || true)
  expected=$(printf '%s\n' "$name/README.txt" "$name/Vorl.bmp" "$name/Vorl.exe" "$name/d3drm.dll")
  [ "$entries" = "$expected" ] || fail "$zip" "holds $(echo $entries), not $(echo $expected)"
  unpacked=$(mktemp -d)
  trap "rm -rf '$unpacked'" EXIT
  (cd "$unpacked" && cmake -E tar xf "$zip") || fail "$zip" "cannot be unpacked"
  same "$zip" "$unpacked/$name" Vorl.exe "$tree/bin/Vorl.exe"
  same "$zip" "$unpacked/$name" d3drm.dll "$tree/bin/d3drm.dll"
  explained "$zip" "$unpacked/$name/README.txt"
  same "$zip" "$unpacked/$name" README.txt "$tree/dist/README.txt"
  same "$zip" "$unpacked/$name" Vorl.bmp "$VORL_ROOT/res/Vorl.bmp"
  rm -rf "$unpacked"
  trap - EXIT
}
# same ZIP FOLDER FILE SOURCE: FOLDER/FILE, unpacked from ZIP, is SOURCE byte for byte.
same() {
  [ -f "$4" ] || fail "$1" "nothing to compare its $3 with: $4 is missing"
  cmp -s "$2/$3" "$4" || fail "$1" "its $3 differs from $4"
}
# explained ZIP README: README's English half (from its English title on)
# holds every message of messages(), each on one line.
explained() {
  local english list message
  english=$(sed -n '/^Vorl .*(32-bit Windows)\r\?$/,$p' "$2" | tr -d '\r')
  [ -n "$english" ] || fail "$1" "its README.txt has no English half"
  list=$(messages) && [ -n "$list" ] || fail "$1" "no messages found in $VORL_ROOT's sources"
  while IFS= read -r message; do
    grep -qF -- "$message" <<<"$english" || fail "$1" "its README.txt's English half lacks \"$message\""
  done <<<"$list"
}
# messages: the string literals with non-ASCII text in the program's C++
# sources, comments left out, "%s" made the file name the window hands the
# texture. The sources are UTF-8, as README.txt is.
messages() {
  local bitmap
  bitmap=$(sed -n 's/.*m_texture\.Load([^"]*"\([^"]*\)").*/\1/p' "$VORL_ROOT"/app/*.cpp)
  [ -n "$bitmap" ] || return 1
  find "$VORL_ROOT"/{app,framework,gfx,scene,texture} -name '*.cpp' -o -name '*.h' | sort | xargs perl -0777 -ne '
    s{("(?:[^"\\\n]|\\.)*")|//[^\n]*|/\*.*?\*/}{$1 // ""}gse;
    print "$1\n" while /"((?:[^"\\\n]|\\.)*[\x80-\xff](?:[^"\\\n]|\\.)*)"/g' | sed "s/%s/$bitmap/"
}
fail() { echo "dist: $1: $2" >&2; exit 1; }

# pack TREE OUT: prints the package's path.
pack() {
  local tree="$1" out="$2" name zip
  name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$tree/CPackConfig.cmake")
  [ -n "$name" ] || fail "$tree" "no CPack package name in CPackConfig.cmake"
  zip="$out/$name.zip"
  mkdir -p "$out"
  rm -f "$zip"
  (cd "$tree" && cpack -G ZIP -B "$out" >/dev/null)
  rm -rf "$out/_CPack_Packages"
  [ -f "$zip" ] || fail "$zip" "CPack made no package"
  (check "$zip" "$tree") || { rm -f "$zip"; exit 1; }
  echo "$zip"
}

case "${1:-}" in
  --check) [ $# -eq 3 ] || { echo "usage: dist.sh --check ZIP TREE" >&2; exit 2; }; check "$2" "$3" ;;
  --pack)  [ $# -eq 3 ] || { echo "usage: dist.sh --pack TREE OUT" >&2; exit 2; }; pack "$2" "$3" ;;
  "")
    "$VORL_ROOT/scripts/setup.sh"
    "$VORL_ROOT/scripts/build.sh" win32
    zip=$(pack "$VORL_BUILD/win32" "$VORL_BUILD/dist")
    echo "dist: $zip" ;;
  *) echo "usage: dist.sh [--pack TREE OUT | --check ZIP TREE]" >&2; exit 2 ;;
esac
