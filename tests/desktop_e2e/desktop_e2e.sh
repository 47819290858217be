#!/usr/bin/env bash
# Vorl.exe started as `make run` starts it on a display (scripts/run.sh), on
# its own Xvfb with a window manager (openbox): the window manager takes the
# window (WM_STATE), makes it the active window, and Escape, typed without
# focusing the window by hand, ends the program with exit code 0.
#   usage: desktop_e2e.sh path/to/Vorl.exe
# The shared test display has no window manager and must keep none, so this
# test starts its own; the desktop prefix's wineserver is stopped at the end.
set -u
exe="$1"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/tests/e2e/wait_window.sh"
source "$root/scripts/env.sh"
export WINEPREFIX="$VORL_DESKTOP_PREFIX"
source "$root/scripts/xserver.sh"
log="$(mktemp)"
pid=""
finish() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -f "$log"
  vorl_stop_x
}
trap finish EXIT
fail() { echo "FAIL: $*"; tail -20 "$log"; exit 1; }

# Two runs starting together get an X server each (their Wine sessions left
# out): neither goes on with the other's, which would end with the other run.
x="$(mktemp -d)"
for i in 1 2; do
  (WINESERVER=true; WINELOADER=true; vorl_start_x && kill -0 "$VORL_XVFB_PID" 2>/dev/null && echo "$DISPLAY" >"$x/$i") &
done
wait
displays="$(cat "$x"/* 2>/dev/null | sort -u | xargs)"; rm -rf "$x"
[ "$(wc -w <<<"$displays")" -eq 2 ] || fail "two X servers started together: running on ${displays:-none}"
echo "ok   two X servers started together: displays $displays"

vorl_start_x || fail "no X server of its own"
trap finish EXIT  # in place of vorl_start_x's own, which finish calls

openbox --sm-disable >/dev/null 2>&1 &
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"

WINEDEBUG="${WINEDEBUG:-},+loaddll" "$root/scripts/run.sh" --exe "$exe" >"$log" 2>&1 &
pid=$!
win="$(vorl_wait_window "$pid")"
[ -n "$win" ] || fail "no window titled Vorl"

# The window manager sets WM_STATE and the active window a moment after the
# window appears.
for _ in $(seq 50); do
  xprop -id "$win" WM_STATE 2>/dev/null | grep -q 'window state: Normal' &&
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$win" ] && break
  sleep 0.1
done
xprop -id "$win" WM_STATE | grep -q 'window state: Normal' || fail "not managed: $(xprop -id "$win" WM_STATE)"
active="$(xdotool getactivewindow 2>/dev/null)"
[ "$active" = "$win" ] || fail "the active window is ${active:-none}, not Vorl's $win"
echo "ok   managed and active"

sleep 0.5
xdotool key Escape
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "still running 10 s after Escape"
wait "$pid"; rc=$?
pid=""
[ "$rc" -eq 0 ] || fail "exit code $rc after Escape"
echo "ok   Escape: exit code 0"
[ "$(vorl_d3drm_loaded "$log")" = native ] || fail "not our d3drm.dll beside the program"
echo "ok   our d3drm.dll"
