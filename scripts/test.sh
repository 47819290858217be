#!/usr/bin/env bash
# Builds every tree and runs every test: native, native under the sanitizers,
# Windows under Wine, end-to-end under Xvfb. Ends with "N passed, N failed".
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
source "$VORL_ROOT/scripts/xserver.sh"
"$VORL_ROOT/scripts/setup.sh" || exit 1
"$VORL_ROOT/scripts/build.sh" || { echo "0 passed, 1 failed"; exit 1; }

vorl_start_x
passed=0; failed=0
for t in native native-asan win64; do
  echo "== tests: $t"
  log="$VORL_BUILD/$t/ctest.log"
  (cd "$VORL_BUILD/$t" && ctest --output-on-failure --timeout 600 ${CTEST_ARGS:-}) 2>&1 | tee "$log"
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
