#!/usr/bin/env bash
# Builds and runs Vorl.exe from its bin folder.
#
#   run.sh [win32|win64]   the build to run (make run ARCH=...); win32 by default,
#                          the program Windows users get, win64 where this
#                          machine cannot run 32-bit programs
#   run.sh --exe PATH      runs that program as it is, without set-up or build
#
# With $DISPLAY set it opens there, in the desktop prefix, whose X11 driver has
# Wine's defaults: a window manager frames the window, makes it active and
# gives it the keys. Without a display it runs in the tests' prefix on a
# private Xvfb for a few seconds, saves a screenshot to build/vorl.png and
# closes the window with alt+F4.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

arch=${1:-}
if [ "$arch" = --exe ]; then
  exe=$(realpath "${2:?run: --exe needs a program}")
else
  arch=$(vorl_pick_arch run "$arch")
fi
if [ "$arch" != --exe ]; then
  "$VORL_ROOT/scripts/setup.sh"
  "$VORL_ROOT/scripts/build.sh" "$arch" >/dev/null
  exe="$VORL_BUILD/$arch/bin/Vorl.exe"
fi
cd "$(dirname "$exe")"
exe="./$(basename "$exe")"

if [ -n "${DISPLAY:-}" ]; then
  set +e
  WINEPREFIX="$VORL_DESKTOP_PREFIX" "$VORL_ROOT/scripts/wine-run.sh" "$exe"
  code=$?
  echo "exit code: $code"
  exit "$code"
fi

source "$VORL_ROOT/scripts/xserver.sh"
vorl_start_x
"$VORL_ROOT/scripts/wine-run.sh" "$exe" &
pid=$!
win=""
for _ in $(seq 100); do
  win=$(xdotool search --name '^Vorl$' 2>/dev/null | head -1) && [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] && xdotool windowactivate "$win" 2>/dev/null || true
sleep "${VORL_RUN_SECONDS:-4}"
shot="$VORL_BUILD/vorl.png"
import -window root "$shot"
[ -n "$win" ] && xdotool windowactivate "$win" 2>/dev/null || true
xdotool key alt+F4
set +e
wait "$pid"
code=$?
echo "screenshot: $shot"
echo "exit code: $code"
exit "$code"
