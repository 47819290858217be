#!/usr/bin/env bash
# make dist's packing (scripts/dist.sh --pack) on the tree under test, into a
# folder of its own, must pass its check; then the check (dist.sh --check) must
# refuse packages whose Vorl.exe or d3drm.dll is not the tree's, that lack
# d3drm.dll or hold one file more, or whose README.txt's English half lacks
# one of the program's messages, whose LICENSE.txt has LF line ends (against
# a tree that has the same), or whose entries have other times, the real
# package beside a checksum file that is not its own, and the real package
# against a tree whose Vorl.exe or d3drm.dll differs, each with its reason.
# The packing writes the zip's checksum beside it, in sha256sum's format.
# Last, the tree's tests labelled host must be this one and the release checks.
#   usage: dist_test.sh TREE
# Leaves nothing behind: everything it makes is in one temporary folder.
set -u
tree="$(cd "$1" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
dist="$root/scripts/dist.sh"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
failed=0

zip=$("$dist" --pack "$tree" "$tmp/out") || { echo "FAIL packing: dist.sh --pack failed"; exit 1; }
echo "ok   packing: $(basename "$zip") passes the check"
name=$(basename "$zip" .zip)
if [ "$(cat "$zip.sha256" 2>/dev/null)" = "$(cd "$tmp/out" && sha256sum "$name.zip")" ]; then
  echo "ok   checksum: $(cat "$zip.sha256")"
else
  echo "FAIL checksum: $name.zip.sha256 is not sha256sum's line for the zip"; failed=1
fi

# flip FILE: one byte in the middle of FILE changed.
flip() {
  local at byte
  at=$(( $(stat -c %s "$1") / 2 ))
  byte=$(od -An -tu1 -j "$at" -N 1 "$1")
  printf "$(printf '\\%03o' $(( byte ^ 1 )))" | dd of="$1" bs=1 seek="$at" conv=notrunc status=none
}
# variant CASE COMMAND...: the package unpacked into $tmp/CASE/$name, changed
# by COMMAND (run in that folder), zipped again as $tmp/CASE/$name.zip.
variant() {
  local dir="$tmp/$1"; shift
  mkdir -p "$dir"
  (cd "$dir" && cmake -E tar xf "$zip" && cd "$name" && "$@") &&
    (cd "$dir" && cmake -E tar cf "$name.zip" --format=zip "$name")
}
# refused CASE ZIP TREE REASON: the check fails on ZIP against TREE and says REASON.
refused() {
  local out
  if out=$("$dist" --check "$2" "$3" 2>&1); then
    echo "FAIL $1: the check passed"; failed=1
  elif [[ "$out" != *"$4"* ]]; then
    echo "FAIL $1: the check failed, but said: $out"; failed=1
  else
    echo "ok   $1: $out"
  fi
}

variant exe flip Vorl.exe
refused "other Vorl.exe" "$tmp/exe/$name.zip" "$tree" "its Vorl.exe differs from $tree/bin/Vorl.exe"
variant dll flip d3drm.dll
refused "other d3drm.dll" "$tmp/dll/$name.zip" "$tree" "its d3drm.dll differs from $tree/bin/d3drm.dll"
variant nodll rm d3drm.dll
texts="$name/LICENSE.txt $name/README.txt $name/THIRD-PARTY-NOTICES.txt"
refused "no d3drm.dll" "$tmp/nodll/$name.zip" "$tree" "holds $texts $name/Vorl.bmp $name/Vorl.exe, not"
variant extra cp d3drm.dll libd3drm.dll.a
refused "one file more" "$tmp/extra/$name.zip" "$tree" "holds $texts $name/Vorl.bmp $name/Vorl.exe $name/d3drm.dll $name/libd3drm.dll.a, not"
variant nomessage sed -i '/Zバッファの生成に失敗しました/d' README.txt
refused "README.txt without a message" "$tmp/nomessage/$name.zip" "$tree" "English half lacks \"Zバッファの生成に失敗しました\""
variant japanese sed -i '/(32-bit Windows)/,$ s/DirectXの初期化に失敗しました/DirectX/' README.txt
refused "a message in the Japanese half only" "$tmp/japanese/$name.zip" "$tree" "English half lacks \"DirectXの初期化に失敗しました\""
variant dates touch -d "2000-01-01 12:00:00" Vorl.bmp
refused "an entry of another time" "$tmp/dates/$name.zip" "$tree" "entries not dated"
mkdir "$tmp/sum" && cp "$zip" "$tmp/sum/" && sha256sum "$tree/bin/Vorl.exe" | sed "s|  .*|  $name.zip|" >"$tmp/sum/$name.zip.sha256"
refused "another checksum" "$tmp/sum/$name.zip" "$tree" "its checksum file $name.zip.sha256 is not the zip's"

# The real package against a tree whose files differ from the packed ones.
for file in Vorl.exe d3drm.dll; do
  other="$tmp/tree-$file"
  mkdir -p "$other/bin" "$other/dist"
  cp "$tree/bin/Vorl.exe" "$tree/bin/d3drm.dll" "$other/bin/"
  cp "$tree/dist/"*.txt "$other/dist/"
  flip "$other/bin/$file"
  refused "tree with another $file" "$zip" "$other" "its $file differs from $other/bin/$file"
done
variant lf sed -i 's/\r$//' LICENSE.txt
cp -r "$tmp/tree-d3drm.dll" "$tmp/tree-lf" && cp "$tree/bin/d3drm.dll" "$tmp/tree-lf/bin/"
cp "$tmp/lf/$name/LICENSE.txt" "$tmp/tree-lf/dist/"
refused "LICENSE.txt with LF line ends" "$tmp/lf/$name.zip" "$tmp/tree-lf" "its LICENSE.txt is not UTF-8 with a byte-order mark and CRLF"

# Label "host" (tests that run no Windows code, run where the kernel runs no
# 32-bit programs): on this test and the release checks, and on no other.
names() { (cd "$tree" && ctest -N "$@") | sed -n 's/^ *Test *#[0-9]*: //p' | sort | xargs; }
host=$(names -L '^host$')
if [ -n "$host" ] && [ "$host" = "$(names -R '^(release_.*|dist_package)$')" ]; then
  echo "ok   label host: $host"
else
  echo "FAIL label host: on ${host:-no test}, not on the release checks and dist_package"; failed=1
fi

exit "$failed"
