#!/usr/bin/env bash
# Shows that the release zip is the same bytes from any clean clone of a
# commit: `make dist` here, then the same commit cloned into a fresh folder
# "second clone here" (a name with spaces) and `make dist` there, under
# another umask and time zone; then the two zips' SHA-256. Exits 0 when they
# are equal, 1 when not (the second clone is then kept to look into).
#
#   scripts/reproduce.sh [PARENT]   the second clone goes into PARENT
#                                   (default: a new temporary folder)
#
# Run it from a clean clone: uncommitted changes would be in the first zip
# and not in the second. It builds the win32 tree twice; it is not part of
# `make test`.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Each clone's own build folder and Wine prefixes, whatever this shell holds.
unset VORL_ROOT VORL_BUILD WINEPREFIX VORL_DESKTOP_PREFIX

if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
  echo "reproduce: $root has uncommitted changes, which a clone would not have" >&2
  exit 2
fi
commit=$(git -C "$root" rev-parse HEAD)
made_parent=""
if [ -n "${1:-}" ]; then parent=$1; else parent=$(mktemp -d); made_parent=$parent; fi
clone="$parent/second clone here"
[ ! -e "$clone" ] || { echo "reproduce: $clone already exists" >&2; exit 2; }

# dist FOLDER: make dist in FOLDER, its output on stderr; prints the zip's path.
dist() {
  local out status=0
  out=$(make -C "$1" dist) || status=$?
  printf '%s\n' "$out" >&2
  [ "$status" -eq 0 ] && sed -n 's/^dist: \(.*\.zip\)$/\1/p' <<<"$out"
}

first=$(dist "$root")
second=$(
  umask 077
  export TZ=JST-9
  git clone -q "$root" "$clone"
  git -C "$clone" checkout -q --detach "$commit"
  dist "$clone")
[ -f "$first" ] && [ -f "$second" ] || { echo "reproduce: make dist gave no zip" >&2; exit 1; }

a=$(sha256sum <"$first" | cut -d' ' -f1)
b=$(sha256sum <"$second" | cut -d' ' -f1)
echo "reproduce: commit $commit"
echo "reproduce: $a  $first"
echo "reproduce: $b  $second"
if [ "$a" != "$b" ]; then
  echo "reproduce: the zips differ; the second clone stays in $clone"
  exit 1
fi
rm -rf "$clone"
[ -z "$made_parent" ] || rmdir "$made_parent"
echo "reproduce: the same bytes"
