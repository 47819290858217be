#!/usr/bin/env bash
# Builds every tree and runs every test: native, native under the sanitizers,
# and both Windows builds under Wine (unit tests and end-to-end tests under
# Xvfb). Each line of a tree's test output starts with the tree's name.
# Ends with "N passed, N failed", then ", N skipped" when some tests of the
# trees could not run on this machine.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
source "$VORL_ROOT/scripts/xserver.sh"
"$VORL_ROOT/scripts/setup.sh" || exit 1
"$VORL_ROOT/scripts/build.sh" || { echo "0 passed, 1 failed"; exit 1; }

trees=(native native-asan win64 win32)
# Where the kernel runs no 32-bit programs the win32 tree runs only its tests
# that run no Windows code (label host); the others count as skipped.
host_only=""
if ! vorl_can_run_32bit; then
  host_only=win32
  echo "test: this machine cannot run 32-bit programs: of the win32 tests only those that run no Windows code (label host) run, the others are skipped"
fi
# selected TREE ARGS...: how many tests ctest ARGS selects in TREE.
selected() {
  local n
  n=$( (cd "$VORL_BUILD/$1" && shift && ctest -N "$@") | sed -n 's/^Total Tests: //p')
  echo "${n:-0}"
}

vorl_start_x || { echo "0 passed, 1 failed"; exit 1; }
passed=0; failed=0; skipped=0
for t in "${trees[@]}"; do
  echo "== tests: $t"
  args=(${CTEST_ARGS:-})
  if [ "$t" = "$host_only" ]; then
    all=$(selected "$t" "${args[@]}")
    args+=(-L '^host$')
    skipped=$((skipped + all - $(selected "$t" "${args[@]}")))
  fi
  log="$VORL_BUILD/$t/ctest.log"
  start=$SECONDS
  (cd "$VORL_BUILD/$t" && ctest --output-on-failure --timeout 600 "${args[@]}") 2>&1 | tee "$log" |
    sed -u "s/^/[$t] /"
  echo "== $t: $((SECONDS - start)) s"
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then
    grep -q 'No tests were found' "$log" && continue
    failed=$((failed + 1)); continue
  fi
  f=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
  n=$(echo "$line" | sed -E 's/.* failed out of ([0-9]+).*/\1/')
  passed=$((passed + n - f)); failed=$((failed + f))
done
echo "$passed passed, $failed failed$([ "$skipped" -eq 0 ] || echo ", $skipped skipped")"
[ "$failed" -eq 0 ]
