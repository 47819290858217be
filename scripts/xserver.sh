# Sourced: starts a private Xvfb and a persistent wineserver for this shell,
# and stops both when the shell exits.
#
# The X server picks its display itself (-displayfd) and says which once it
# accepts connections. Picking a number that looks free and then starting Xvfb
# on it races with every other run on the machine: two runs starting together
# took the same number, one Xvfb failed, and that run went on with the other
# run's X server: once the other run ended, every program of this one ended
# with code 1 before its window appeared.
vorl_start_x() {
  local ready n=""
  ready=$(mktemp "${TMPDIR:-/tmp}/vorl-xvfb.XXXXXX") || return 1
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
  VORL_XVFB_PID=$!
  for _ in $(seq 300); do
    n=$(cat "$ready")
    if [ -n "$n" ] || ! kill -0 "$VORL_XVFB_PID" 2>/dev/null; then break; fi
    sleep 0.1
  done
  rm -f "$ready"
  if ! [[ "$n" =~ ^[0-9]+$ ]]; then
    echo "xserver: Xvfb did not start" >&2
    kill "$VORL_XVFB_PID" 2>/dev/null
    return 1
  fi
  export DISPLAY=":$n"
  trap vorl_stop_x EXIT
  # A Wine session of this run's own, whose desktop is on this display: a
  # server of the prefix still running (another run's, or one being shut
  # down) is ended and waited for first; -k alone gives up waiting after
  # about ten seconds.
  vorl_end_wine_session
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null || true
  # Start Wine's own services now, detached from our output: started by the
  # first test program they would hold its output pipe open and CTest would wait.
  "$WINELOADER" wineboot >/dev/null 2>&1 </dev/null
}
vorl_end_wine_session() {
  "$WINESERVER" -k >/dev/null 2>&1 </dev/null || true
  "$WINESERVER" -w >/dev/null 2>&1 </dev/null || true
}
vorl_stop_x() {
  vorl_end_wine_session
  if [ -n "${VORL_XVFB_PID:-}" ]; then
    kill "$VORL_XVFB_PID" 2>/dev/null && wait "$VORL_XVFB_PID" 2>/dev/null
  fi
  return 0
}
