#!/usr/bin/env bash
# Whole-frame benchmark under Wine and Xvfb: the program's frame step (its own
# sources, timed by a harness, without the 10 ms pause) against the floor
# program (the same DirectX calls per frame, vertices made in advance), run in
# turn; then both interleaved frame by frame in one process, at the start size
# and at a large one; then the memory runs (1,000 frames with 50 resizes).
# Prints the tables; results stay in $VORL_BUILD/bench-frame/.
#
#   scripts/bench_frame.sh [--rounds N] [--frames N] [--warmup N] [--pairs N]
#                          [--interleaved-runs N] [--large W H] [--spin MS]
#                          [--speed-only] [--plot FILE.png]
#
# Between two frames both programs do what the program's frame step does
# after drawing: pause 10 ms (untimed). --spin MS waits busily for MS
# milliseconds instead, which is steadier on a machine shared with other jobs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

rounds=6 frames=300 warmup=20 plot="" gap=() memory=1 pairs=400 interleaved=3 large=(1000 700)
while [ $# -gt 0 ]; do
  case "$1" in
    --rounds) rounds=$2; shift 2 ;;
    --frames) frames=$2; shift 2 ;;
    --warmup) warmup=$2; shift 2 ;;
    --plot) plot=$(realpath -m "$2"); shift 2 ;;
    --spin) gap=(--spin "$2"); shift 2 ;;
    --speed-only) memory=0; shift ;;
    --pairs) pairs=$2; shift 2 ;;
    --interleaved-runs) interleaved=$2; shift 2 ;;
    --large) large=("$2" "$3"); shift 3 ;;
    *) echo "bench_frame: unknown argument $1" >&2; exit 2 ;;
  esac
done

"$VORL_ROOT/scripts/setup.sh"
# The plot is drawn with matplotlib.
if [ -n "$plot" ] && ! dpkg-query -W -f='${Status}' python3-matplotlib 2>/dev/null | grep -q 'install ok installed'; then
  echo "bench_frame: installing python3-matplotlib"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends python3-matplotlib >/dev/null
fi
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
for r in $(seq 1 "$rounds"); do
  if [ $((r % 2)) -eq 1 ]; then
    echo "round $r of $rounds: program, then floor" >&2
    run "$out/vorl_$r.txt" ./vorl_frame_bench.exe --warmup "$warmup" --frames "$frames" "${gap[@]}"
    run "$out/floor_$r.txt" ./floor_frame_bench.exe --warmup "$warmup" --frames "$frames" "${gap[@]}"
  else
    echo "round $r of $rounds: floor, then program" >&2
    run "$out/floor_$r.txt" ./floor_frame_bench.exe --warmup "$warmup" --frames "$frames" "${gap[@]}"
    run "$out/vorl_$r.txt" ./vorl_frame_bench.exe --warmup "$warmup" --frames "$frames" "${gap[@]}"
  fi
done
# Program and floor frames in turn in one process: the same device, window and
# moment for both, at the start size and at a large one.
for r in $(seq "$interleaved"); do
  echo "interleaved run $r of $interleaved: start size, then ${large[0]} x ${large[1]}" >&2
  run "$out/pairs_start_$r.txt" ./vorl_frame_bench.exe --interleaved --warmup "$warmup" --frames "$pairs" "${gap[@]}"
  run "$out/pairs_large_$r.txt" ./vorl_frame_bench.exe --interleaved --warmup "$warmup" --frames "$pairs" \
    --client "${large[0]}" "${large[1]}" "${gap[@]}"
done

if [ "$memory" = 1 ]; then
  echo "memory runs: 1,000 frames, 50 resizes, program then floor (a few minutes)" >&2
  run "$out/memory.txt" ./vorl_frame_bench.exe --memory
  run "$out/memory_floor.txt" ./floor_frame_bench.exe --memory
fi

args=("$out")
[ -n "$plot" ] && args+=(--png "$plot")
# Debian's own interpreter, which Debian's matplotlib is installed for (a
# python3 earlier on PATH, such as a pyenv one, would not find it).
/usr/bin/python3 "$VORL_ROOT/bench/frame/summarize.py" "${args[@]}" | tee "$out/summary.md"
if [ -n "$plot" ]; then echo "plot: $plot"; fi
