#!/usr/bin/env bash
# The long random run (`make soak`): the real program under 2,000 actions of
# what users and Windows do, from one seed (tests/e2e/chaos_e2e.py, as the
# chaos_e2e test runs 100). Every 100 actions the window is brought back to
# one size and the working set read, with the program's GDI objects, windows,
# handles, Windows private memory and resident memory by kind of mapping; the
# run prints each series and ends with one line that says whether the working
# set grew. About 22 to 25 minutes.
#
#   soak.sh [win32|win64]   the build (make soak ARCH=...); win32 by default,
#                           win64 where this machine cannot run 32-bit programs
#   VORL_CHAOS_SEED=N       another seed; VORL_SOAK_ACTIONS=N another length
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

arch=$(vorl_pick_arch soak "${1:-}")
"$VORL_ROOT/scripts/setup.sh"
"$VORL_ROOT/scripts/build.sh" "$arch" >/dev/null
source "$VORL_ROOT/scripts/xserver.sh"
vorl_start_x
echo "soak: $arch, ${VORL_SOAK_ACTIONS:-2000} actions"
python3 "$VORL_ROOT/tests/e2e/chaos_e2e.py" "$VORL_BUILD/$arch/bin" --actions "${VORL_SOAK_ACTIONS:-2000}" --stretch 100
