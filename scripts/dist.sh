#!/usr/bin/env bash
# The package for Windows users (`make dist`; rules in dist/CMakeLists.txt).
#
#   scripts/dist.sh                   builds the win32 tree the tests run on and
#                                     packs build/dist/Vorl-<version>-win32.zip
#   scripts/dist.sh --pack TREE OUT   packs TREE into OUT/<name>.zip, no build
#   scripts/dist.sh --check ZIP TREE  only checks ZIP against TREE
#
# Packing lays the files out by the tree's install rules (dist/CMakeLists.txt;
# <name> is CPack's package file name), zips them with Python's zipfile and
# writes <name>.zip.sha256 beside the zip, in sha256sum's format. The zip is
# the same bytes from any folder, at any time, under any umask and time zone:
# its entries come in name order, each with the time SOURCE_DATE_EPOCH (the
# last commit's time unless set; in UTC, as the zip format keeps no time zone),
# mode 755 for the folder, the program and the DLL, 644 for the rest, and
# nothing of the user who packed them. CPack and `cmake -E tar` cannot do
# this: their libarchive writes each entry's time in the packer's time zone
# and adds his user and group ids, and CPack takes the files' own times.
# Then the check: the zip <name>.zip holds
# a folder <name> with exactly LICENSE.txt, README.txt, THIRD-PARTY-NOTICES.txt,
# Vorl.bmp, Vorl.exe and d3drm.dll, and each is byte for byte its source:
# Vorl.exe and d3drm.dll the tested files in TREE/bin, the text files those of
# TREE/dist/, Vorl.bmp res/Vorl.bmp; the text files are UTF-8 with a
# byte-order mark and CRLF line ends;
# README.txt's English half holds each of the program's Japanese messages, as
# the sources hold it, on one line; every entry has the time SOURCE_DATE_EPOCH;
# and <name>.zip.sha256, when there, is the zip's. A package that fails the
# check is removed; the script says why and exits 1.
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
  expected=$(printf '%s\n' "$name/"{LICENSE.txt,README.txt,THIRD-PARTY-NOTICES.txt,Vorl.bmp,Vorl.exe,d3drm.dll})
  [ "$entries" = "$expected" ] || fail "$zip" "holds $(echo $entries), not $(echo $expected)"
  unpacked=$(mktemp -d)
  trap "rm -rf '$unpacked'" EXIT
  (cd "$unpacked" && cmake -E tar xf "$zip") || fail "$zip" "cannot be unpacked"
  same "$zip" "$unpacked/$name" Vorl.exe "$tree/bin/Vorl.exe"
  same "$zip" "$unpacked/$name" d3drm.dll "$tree/bin/d3drm.dll"
  explained "$zip" "$unpacked/$name/README.txt"
  for text in LICENSE.txt README.txt THIRD-PARTY-NOTICES.txt; do
    same "$zip" "$unpacked/$name" "$text" "$tree/dist/$text"
    # Notepad before Windows 10 1809 shows LF-only text as one line, and text
    # without the mark in the machine's code page.
    [ "$(head -c 3 "$unpacked/$name/$text" | od -An -tx1 | tr -d ' ')" = efbbbf ] &&
      ! grep -qv $'\r$' <(tail -c +4 "$unpacked/$name/$text") ||
      fail "$zip" "its $text is not UTF-8 with a byte-order mark and CRLF line ends"
  done
  same "$zip" "$unpacked/$name" Vorl.bmp "$VORL_ROOT/res/Vorl.bmp"
  rm -rf "$unpacked"
  trap - EXIT
  dated "$zip"
  if [ -f "$zip.sha256" ]; then
    [ "$(cat "$zip.sha256")" = "$(cd "$(dirname "$zip")" && sha256sum "$name.zip")" ] ||
      fail "$zip" "its checksum file $name.zip.sha256 is not the zip's"
  fi
}
# dated ZIP: every entry of ZIP has the time SOURCE_DATE_EPOCH, in its
# MS-DOS fields (UTC, to 2 s) and in its extended time field.
dated() {
  local wrong
  wrong=$(python3 - "$1" "$(epoch)" <<'EOF'
import struct, sys, time, zipfile
zip, epoch = sys.argv[1], int(sys.argv[2])
utc = time.gmtime(epoch)
want = tuple(utc[:5]) + (utc[5] // 2 * 2,)
for info in zipfile.ZipFile(zip).infolist():
    extended = [struct.unpack_from("<I", info.extra, 5)[0]] if info.extra[:2] == b"UT" else []
    if info.date_time != want or extended != [epoch]:
        print("%s %04d-%02d-%02d %02d:%02d:%02d %s" % ((info.filename,) + info.date_time + (extended,)))
EOF
) || fail "$1" "cannot read its entries' times"
  [ -z "$wrong" ] || fail "$1" "entries not dated $(date -u -d "@$(epoch)" '+%F %T') UTC: $(echo $wrong)"
}
# epoch: SOURCE_DATE_EPOCH, otherwise the last commit's time (as scripts/build.sh).
epoch() {
  echo "${SOURCE_DATE_EPOCH:-$(git -C "$VORL_ROOT" log -1 --format=%ct)}"
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
  find "$VORL_ROOT"/{app,framework,gfx,scene,texture} \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z | xargs -0 perl -0777 -ne '
    s{("(?:[^"\\\n]|\\.)*")|//[^\n]*|/\*.*?\*/}{$1 // ""}gse;
    print "$1\n" while /"((?:[^"\\\n]|\\.)*[\x80-\xff](?:[^"\\\n]|\\.)*)"/g' | sed "s/%s/$bitmap/"
}
fail() { echo "dist: $1: $2" >&2; exit 1; }

# pack TREE OUT: prints the package's path.
pack() {
  local tree="$1" out="$2" name zip staging
  name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$tree/CPackConfig.cmake")
  [ -n "$name" ] || fail "$tree" "no CPack package name in CPackConfig.cmake"
  zip="$out/$name.zip"
  mkdir -p "$out"
  rm -f "$zip" "$zip.sha256"
  staging=$(mktemp -d)
  cmake --install "$tree" --prefix "$staging/$name" >/dev/null || { rm -rf "$staging"; fail "$tree" "cannot be installed"; }
  python3 - "$staging" "$name" "$zip" "$(epoch)" <<'EOF' || { rm -rf "$staging" "$zip"; fail "$zip" "cannot be written"; }
import os, struct, sys, time, zipfile
staging, name, zip, epoch = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
with zipfile.ZipFile(zip, "w") as package:
    for entry in [name + "/"] + [name + "/" + f for f in sorted(os.listdir(os.path.join(staging, name)))]:
        info = zipfile.ZipInfo(entry, time.gmtime(epoch)[:6])
        info.create_system = 3  # Unix, so that unzip tools take the modes
        folder = entry.endswith("/")
        mode = 0o755 if folder or entry.endswith((".exe", ".dll")) else 0o644
        info.external_attr = ((0o040000 if folder else 0o100000) | mode) << 16 | (0x10 if folder else 0)
        info.extra = struct.pack("<HHBI", 0x5455, 5, 1, epoch)  # the time in UTC, for tools that read it
        if folder:
            package.writestr(info, b"")
        else:
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(staging, entry), "rb") as f:
                package.writestr(info, f.read(), compresslevel=9)
EOF
  rm -rf "$staging"
  (cd "$out" && sha256sum "$name.zip" > "$name.zip.sha256")
  (check "$zip" "$tree") || { rm -f "$zip" "$zip.sha256"; exit 1; }
  echo "$zip"
}

case "${1:-}" in
  --check) [ $# -eq 3 ] || { echo "usage: dist.sh --check ZIP TREE" >&2; exit 2; }; check "$2" "$3" ;;
  --pack)  [ $# -eq 3 ] || { echo "usage: dist.sh --pack TREE OUT" >&2; exit 2; }; pack "$2" "$3" ;;
  "")
    "$VORL_ROOT/scripts/setup.sh"
    "$VORL_ROOT/scripts/build.sh" win32
    zip=$(pack "$VORL_BUILD/win32" "$VORL_BUILD/dist")
    echo "dist: $zip"
    echo "dist: $zip.sha256: $(cut -d' ' -f1 "$zip.sha256")" ;;
  *) echo "usage: dist.sh [--pack TREE OUT | --check ZIP TREE]" >&2; exit 2 ;;
esac
