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
#                          [--speed-only] [--plot FILE.png] [--builds "win32 win64"]
#
# Both Windows builds are measured in one run, one after the other: win32
# first, the build Windows users get, then win64. Each build's results go to
# a folder of its own, $VORL_BUILD/bench-frame/<build>/, with its own summary
# (the plot, if asked for, is the win32 build's). Where the machine cannot run
# 32-bit programs only win64 is measured.
#
# Every timed run is made twice in turn: with our Retained Mode (the d3drm.dll
# beside the programs, as the zip ships it: d3drm=n) and with Wine's builtin
# one (d3drm=b), the order swapped every round. The floor runs with both too;
# the floor with ours is the one the program is measured against, since it
# makes the shipped program's DirectX calls through the shipped Retained Mode.
# Each run's +loaddll lines are kept beside its figures, and a run that loaded
# the other Retained Mode fails the benchmark. The memory runs use ours.
#
# Between two frames both programs do what the program's frame step does
# after drawing: pause 10 ms (untimed). --spin MS waits busily for MS
# milliseconds instead, which is steadier on a machine shared with other jobs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

rounds=6 frames=300 warmup=20 plot="" gap=() memory=1 pairs=400 interleaved=3 large=(1000 700)
builds=(win32 win64)
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
    --builds) read -ra builds <<<"$2"; shift 2 ;;
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
if ! vorl_can_run_32bit; then
  echo "bench_frame: this machine cannot run 32-bit programs: only the win64 build is measured" >&2
  builds=(win64)
fi
for build in "${builds[@]}"; do
  case "$build" in
    win32) toolchain=mingw-w64-i686.cmake ;;
    win64) toolchain=mingw-w64-x86_64.cmake ;;
    *) echo "bench_frame: unknown build $build" >&2; exit 2 ;;
  esac
  tree="$VORL_BUILD/$build"
  [ -f "$tree/build.ninja" ] || cmake -S "$VORL_ROOT" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$VORL_ROOT/cmake/$toolchain" >/dev/null
  # vorl_d3drm: our Retained Mode, bin/d3drm.dll beside the programs.
  cmake --build "$tree" --target vorl_frame_bench floor_frame_bench vorl_flake_bmp vorl_d3drm >/dev/null
done

results="$VORL_BUILD/bench-frame"
rm -rf "$results"

source "$VORL_ROOT/scripts/xserver.sh"
vorl_start_x

# The two Retained Modes, by the name the result files carry.
declare -A overrides=([ours]="mscoree,mshtml=;d3drm=n" [wine]="mscoree,mshtml=;d3drm=b")
declare -A loaded=([ours]=native [wine]=builtin)

# run RM FILE PROGRAM ARGS...: runs one benchmark program with the Retained
# Mode RM (ours or wine); its figures go to FILE, Wine's +loaddll lines to
# FILE's name with .log, which must show that RM's d3drm.dll.
run() {
  local rm=$1 file=$2; shift 2
  local winfile log="${file%.txt}.log"
  winfile=$("$WINELOADER" winepath -w "$file" 2>/dev/null)
  if ! WINEDLLOVERRIDES="${overrides[$rm]}" WINEDEBUG=-all,+loaddll timeout 600 \
       "$VORL_ROOT/scripts/wine-run.sh" "$@" --out "$winfile" >/dev/null 2>"$log"; then
    echo "bench_frame: $* failed (Retained Mode: $rm; see $log)" >&2
    exit 1
  fi
  if [ "$(vorl_d3drm_loaded "$log")" != "${loaded[$rm]}" ]; then
    echo "bench_frame: $* did not load the ${loaded[$rm]} d3drm.dll (Retained Mode: $rm; see $log)" >&2
    exit 1
  fi
}

# measure BUILD: every run of one build, from its bin folder, into
# $results/BUILD/.
measure() {
  local build=$1 r rm step program
  out="$results/$build"
  mkdir -p "$out"
  cd "$VORL_BUILD/$build/bin"
  echo "== $build" >&2
  # Every round runs the program with ours, then with Wine's, then the floor
  # with ours, then with Wine's; every second round in the reverse order, so
  # that each program and each Retained Mode runs first as often as last.
  for r in $(seq 1 "$rounds"); do
    steps=("vorl ours" "vorl wine" "floor ours" "floor wine")
    if [ $((r % 2)) -eq 0 ]; then steps=("floor wine" "floor ours" "vorl wine" "vorl ours"); fi
    echo "round $r of $rounds: $(printf '%s, ' "${steps[@]}" | sed 's/, $//')" >&2
    for step in "${steps[@]}"; do
      read -r program rm <<<"$step"
      run "$rm" "$out/${program}_${rm}_$r.txt" "./${program}_frame_bench.exe" \
        --warmup "$warmup" --frames "$frames" "${gap[@]}"
    done
  done
  # Program and floor frames in turn in one process: the same device, window and
  # moment for both, at the start size and at a large one; each size with ours
  # and with Wine's Retained Mode in turn, the order swapped every run.
  for r in $(seq "$interleaved"); do
    order=(ours wine)
    if [ $((r % 2)) -eq 0 ]; then order=(wine ours); fi
    echo "interleaved run $r of $interleaved: start size, then ${large[0]} x ${large[1]};" \
      "Retained Mode ${order[0]}, then ${order[1]}" >&2
    for rm in "${order[@]}"; do
      run "$rm" "$out/pairs_start_${rm}_$r.txt" ./vorl_frame_bench.exe --interleaved --warmup "$warmup" \
        --frames "$pairs" "${gap[@]}"
    done
    for rm in "${order[@]}"; do
      run "$rm" "$out/pairs_large_${rm}_$r.txt" ./vorl_frame_bench.exe --interleaved --warmup "$warmup" \
        --frames "$pairs" --client "${large[0]}" "${large[1]}" "${gap[@]}"
    done
  done

  if [ "$memory" = 1 ]; then
    echo "memory runs: 1,000 frames, 50 resizes, program then floor, our Retained Mode (about a minute)" >&2
    run ours "$out/memory.txt" ./vorl_frame_bench.exe --memory
    run ours "$out/memory_floor.txt" ./floor_frame_bench.exe --memory
  fi

  args=("$out")
  [ -n "$plot" ] && args+=(--png "$plot")
  # Debian's own interpreter, which Debian's matplotlib is installed for (a
  # python3 earlier on PATH, such as a pyenv one, would not find it).
  echo "## The $build build"
  /usr/bin/python3 "$VORL_ROOT/bench/frame/summarize.py" "${args[@]}" | tee "$out/summary.md"
  if [ -n "$plot" ]; then echo "plot: $plot"; fi
}

for build in "${builds[@]}"; do
  measure "$build"
  # The plot shows the first build measured, the one Windows users get.
  plot=""
done
