# Sourced by the shell end-to-end tests.
# vorl_wait_window PID: prints the id of the window titled "Vorl" once it is
# there (up to 20 s), or nothing when it never comes or process PID ends first.
vorl_wait_window() {
  local pid=$1 win=""
  for _ in $(seq 200); do
    win="$(xdotool search --name '^Vorl$' 2>/dev/null | head -1)"
    [ -n "$win" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "$win"
}
