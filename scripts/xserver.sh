# Sourced: starts a private Xvfb and a persistent wineserver for this shell,
# and stops both when the shell exits.
vorl_start_x() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  VORL_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  # Fails when the prefix's server is already running: then that one serves.
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null || true
  # Start Wine's own services now, detached from our output: started by the
  # first test program they would hold its output pipe open and CTest would wait.
  "$WINELOADER" wineboot >/dev/null 2>&1 </dev/null
  trap vorl_stop_x EXIT
}
vorl_stop_x() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${VORL_XVFB_PID:-}" ] && kill "$VORL_XVFB_PID" 2>/dev/null || true
}
