#!/usr/bin/env bash
# The real Vorl.exe under Wine on the X display in $DISPLAY: it opens its
# window titled "Vorl", with our d3drm.dll from beside it, and Escape, Enter
# and Alt+F4 each end it with exit code 0. First, vorl_d3drm_loaded, which
# tells ours from Wine's, must read sample logs right.
#   usage: shell_e2e.sh path/to/Vorl.exe
set -u
exe="$1"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/scripts/env.sh"
source "$root/tests/e2e/wait_window.sh"
[ -n "${DISPLAY:-}" ] || { echo "shell_e2e: no DISPLAY"; exit 1; }
failed=0

# loaded_check ANSWER LINE...: vorl_d3drm_loaded answers ANSWER on a log of LINEs.
loaded_check() {
  local expected="$1" log; shift
  log="$(mktemp)"; printf '%s\n' "$@" >"$log"
  if [ "$(vorl_d3drm_loaded "$log")" != "$expected" ]; then
    echo "FAIL vorl_d3drm_loaded: not \"$expected\" on: $*"; failed=1
  fi
  rm -f "$log"
}
# Wine's lines for ours and for its own; ddraw.dll's line before them must not count.
ddraw='0124:trace:loaddll:build_module Loaded L"C:\\windows\\system32\\ddraw.dll" at 02910000: builtin'
loaded_check native "$ddraw" '0118:trace:loaddll:build_module Loaded L"Z:\\vorl\\bin\\d3drm.dll" at 6BE40000: native'
loaded_check builtin "$ddraw" '0124:trace:loaddll:build_module Loaded L"Z:\\vorl\\bin\\d3drm.dll" at 66980000: builtin'
loaded_check "" "$ddraw"

run_case() {
  local key="$1" log pid win rc
  log="$(mktemp)"
  (cd "$(dirname "$exe")" && WINEDEBUG="${WINEDEBUG:-},+loaddll" exec "$root/scripts/wine-run.sh" "./$(basename "$exe")") \
    >"$log" 2>&1 &
  pid=$!
  win="$(vorl_wait_window "$pid")"
  if [ -z "$win" ]; then
    echo "FAIL $key: no window titled Vorl"; kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    failed=1; rm -f "$log"; return
  fi
  sleep 0.5
  xdotool windowfocus --sync "$win" >/dev/null 2>&1 || true
  xdotool key "$key"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    echo "FAIL $key: still running 10 s after the key"; kill "$pid"; wait "$pid" 2>/dev/null
    failed=1; rm -f "$log"; return
  fi
  wait "$pid"; rc=$?
  if [ "$(vorl_d3drm_loaded "$log")" != native ]; then
    echo "FAIL $key: not our d3drm.dll beside the program:"; grep -i 'd3drm' "$log" | head -3; failed=1
  elif [ "$rc" -ne 0 ]; then
    echo "FAIL $key: exit code $rc"; tail -20 "$log"; failed=1
  elif xdotool search --name '^Vorl$' >/dev/null 2>&1; then
    echo "FAIL $key: window still there after the exit"; failed=1
  else
    echo "ok   $key: window closed, exit code 0"
  fi
  rm -f "$log"
}

for key in Escape Return alt+F4; do run_case "$key"; done
exit "$failed"
