#!/usr/bin/env bash
# Builds and runs Vorl.exe from its bin folder. With $DISPLAY set it opens
# there; without one it runs on a private Xvfb for a few seconds, saves a
# screenshot to build/vorl.png and closes the window with alt+F4.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$VORL_ROOT/scripts/setup.sh"
"$VORL_ROOT/scripts/build.sh" win64 >/dev/null
bin="$VORL_BUILD/win64/bin"
cd "$bin"

if [ -n "${DISPLAY:-}" ]; then
  set +e
  "$VORL_ROOT/scripts/wine-run.sh" ./Vorl.exe
  code=$?
  echo "exit code: $code"
  exit "$code"
fi

source "$VORL_ROOT/scripts/xserver.sh"
vorl_start_x
"$VORL_ROOT/scripts/wine-run.sh" ./Vorl.exe &
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
