#!/usr/bin/env bash
# Packs the 32-bit program for Windows users with CPack's ZIP generator:
# build/dist/Vorl-<version>-win32.zip, from the win32 tree the tests run on
# (rules in dist/CMakeLists.txt). Then checks what went in: exactly Vorl.exe,
# Vorl.bmp and README.txt, and Vorl.exe byte for byte build/win32/bin/Vorl.exe.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$VORL_ROOT/scripts/setup.sh"
"$VORL_ROOT/scripts/build.sh" win32
tree="$VORL_BUILD/win32"
out="$VORL_BUILD/dist"
name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$tree/CPackConfig.cmake")
zip="$out/$name.zip"
rm -f "$zip"
(cd "$tree" && cpack -G ZIP -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"

fail() { echo "dist: $zip: $*" >&2; rm -f "$zip"; exit 1; }
[ -f "$zip" ] || fail "CPack made no package"
entries=$(cmake -E tar tf "$zip" | grep -v '/$' | sort)
expected=$(printf '%s\n' "$name/README.txt" "$name/Vorl.bmp" "$name/Vorl.exe")
[ "$entries" = "$expected" ] || fail "holds $(echo $entries), not $(echo $expected)"
check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
(cd "$check" && cmake -E tar xf "$zip" "$name/Vorl.exe")
cmp -s "$check/$name/Vorl.exe" "$tree/bin/Vorl.exe" || fail "its Vorl.exe differs from $tree/bin/Vorl.exe"
echo "dist: $zip"
