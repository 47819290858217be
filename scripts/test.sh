#!/usr/bin/env bash
# Builds every tree and runs every test: native, native under the sanitizers,
# and both Windows builds under Wine (unit tests and end-to-end tests under
# Xvfb). Each line of a tree's test output starts with the tree's name.
# Ends with "N passed, N failed".
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
source "$VORL_ROOT/scripts/xserver.sh"
"$VORL_ROOT/scripts/setup.sh" || exit 1
"$VORL_ROOT/scripts/build.sh" || { echo "0 passed, 1 failed"; exit 1; }

trees=(native native-asan win64)
if vorl_can_run_32bit; then
  trees+=(win32)
else
  echo "test: this machine cannot run 32-bit programs: the win32 tests are not run, only the 64-bit ones"
fi

vorl_start_x || { echo "0 passed, 1 failed"; exit 1; }
passed=0; failed=0
for t in "${trees[@]}"; do
  echo "== tests: $t"
  log="$VORL_BUILD/$t/ctest.log"
  start=$SECONDS
  (cd "$VORL_BUILD/$t" && ctest --output-on-failure --timeout 600 ${CTEST_ARGS:-}) 2>&1 | tee "$log" |
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
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
