#!/usr/bin/env bash
# The README's pictures of the program under Wine, from screenshots with
# ImageMagick: docs/vorl.png, the window a few seconds after the start, and
# docs/vorl.gif, three seconds of the snow falling.
#
#   scripts/make_pictures.sh [win32|win64]   (win32 by default: what Windows users run)
#
# Runs like `make run` without a display: the tests' prefix (Wine draws the
# window's frame itself) on a private Xvfb.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
arch=${1:-win32}
seconds=${VORL_GIF_SECONDS:-3}
"$VORL_ROOT/scripts/setup.sh"
"$VORL_ROOT/scripts/build.sh" "$arch" >/dev/null
cd "$VORL_BUILD/$arch/bin"

source "$VORL_ROOT/scripts/xserver.sh"
vorl_start_x
work=$(mktemp -d)
"$VORL_ROOT/scripts/wine-run.sh" ./Vorl.exe &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"; vorl_stop_x' EXIT
win=""
for _ in $(seq 100); do
  win=$(xdotool search --name '^Vorl$' 2>/dev/null | head -1) && [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || { echo "make_pictures: no window titled Vorl" >&2; exit 1; }
sleep 4

import -window "$win" "$VORL_ROOT/docs/vorl.png"
# A screenshot about every 50 ms (uncompressed MIFF: a PNG takes longer to
# write); the GIF plays them at the pace they were taken.
start=$(date +%s%N)
frames=0
while [ $(( $(date +%s%N) - start )) -lt $(( seconds * 1000000000 )) ]; do
  frames=$((frames + 1))
  import -window "$win" "$work/$(printf %04d "$frames").miff"
  sleep 0.025
done
delay=$(( ($(date +%s%N) - start) / 10000000 / frames ))
xdotool windowfocus --sync "$win" key Escape
wait "$pid"
convert -delay "$delay" -loop 0 "$work"/*.miff +dither -layers Optimize "$VORL_ROOT/docs/vorl.gif"
echo "make_pictures: docs/vorl.png, docs/vorl.gif ($frames frames, ${delay}0 ms each)"
