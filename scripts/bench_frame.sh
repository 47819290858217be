#!/usr/bin/env bash
# Whole-frame benchmark under Wine and Xvfb: the program's frame step (its own
# sources, timed by a harness, without the 10 ms pause) against the floor
# program (the same DirectX calls per frame, vertices made in advance), run in
# turn; then the memory run (1,000 frames with 50 resizes). Prints the tables;
# results stay in $VORL_BUILD/bench-frame/.
#
#   scripts/bench_frame.sh [--rounds N] [--frames N] [--warmup N] [--plot FILE.png]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

rounds=6 frames=150 warmup=20 plot=""
while [ $# -gt 0 ]; do
  case "$1" in
    --rounds) rounds=$2; shift 2 ;;
    --frames) frames=$2; shift 2 ;;
    --warmup) warmup=$2; shift 2 ;;
    --plot) plot=$(realpath -m "$2"); shift 2 ;;
    *) echo "bench_frame: unknown argument $1" >&2; exit 2 ;;
  esac
done

"$VORL_ROOT/scripts/setup.sh"
tree="$VORL_BUILD/win64"
[ -f "$tree/build.ninja" ] || cmake -S "$VORL_ROOT" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$VORL_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$tree" --target vorl_frame_bench floor_frame_bench vorl_flake_bmp >/dev/null

out="$VORL_BUILD/bench-frame"
rm -rf "$out"
mkdir -p "$out"

source "$VORL_ROOT/scripts/xserver.sh"
vorl_start_x
cd "$tree/bin"

# Runs one benchmark program; its figures go to the file named last.
run() {
  local file=$1; shift
  local winfile
  winfile=$("$WINELOADER" winepath -w "$file" 2>/dev/null)
  if ! WINEDEBUG=-all timeout 600 "$VORL_ROOT/scripts/wine-run.sh" "$@" --out "$winfile" >/dev/null 2>&1; then
    echo "bench_frame: $* failed" >&2
    exit 1
  fi
}

# In turn, the order swapped every round so neither always runs first.
for r in $(seq "$rounds"); do
  if [ $((r % 2)) -eq 1 ]; then
    echo "round $r of $rounds: program, then floor" >&2
    run "$out/vorl_$r.txt" ./vorl_frame_bench.exe --warmup "$warmup" --frames "$frames"
    run "$out/floor_$r.txt" ./floor_frame_bench.exe --warmup "$warmup" --frames "$frames"
  else
    echo "round $r of $rounds: floor, then program" >&2
    run "$out/floor_$r.txt" ./floor_frame_bench.exe --warmup "$warmup" --frames "$frames"
    run "$out/vorl_$r.txt" ./vorl_frame_bench.exe --warmup "$warmup" --frames "$frames"
  fi
done
echo "memory runs: 1,000 frames, 50 resizes, program then floor (a few minutes)" >&2
run "$out/memory.txt" ./vorl_frame_bench.exe --memory
run "$out/memory_floor.txt" ./floor_frame_bench.exe --memory

args=("$out")
[ -n "$plot" ] && args+=(--svg "$out/frame_times.svg")
python3 "$VORL_ROOT/bench/frame/summarize.py" "${args[@]}" | tee "$out/summary.md"
if [ -n "$plot" ]; then
  convert -density 96 "$out/frame_times.svg" "$plot"
  echo "plot: $plot"
fi
