#!/usr/bin/env bash
# Configures and builds the build trees named as arguments
# (native, native-asan, win64, win32); all four without arguments.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
trees=("$@"); [ ${#trees[@]} -gt 0 ] || trees=(native native-asan win64 win32)
# The release binaries' time stamp: SOURCE_DATE_EPOCH when set, otherwise the
# last commit's time (cmake/VorlRelease.cmake).
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$VORL_ROOT" log -1 --format=%ct 2>/dev/null || true)}
for t in "${trees[@]}"; do
  dir="$VORL_BUILD/$t"
  case "$t" in
    native)      args=() ;;
    native-asan) args=(-DVORL_SANITIZE=ON -DVORL_BENCH=OFF) ;;
    win64)       args=(-DCMAKE_TOOLCHAIN_FILE="$VORL_ROOT/cmake/mingw-w64-x86_64.cmake" -DVORL_SOURCE_DATE_EPOCH="$epoch") ;;
    win32)       args=(-DCMAKE_TOOLCHAIN_FILE="$VORL_ROOT/cmake/mingw-w64-i686.cmake" -DVORL_TESTS=ON -DVORL_SOURCE_DATE_EPOCH="$epoch") ;;
    *) echo "build: unknown tree $t" >&2; exit 2 ;;
  esac
  # Configured again when the tree's arguments change.
  if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$dir/.vorl-args" 2>/dev/null)" != "${args[*]}" ]; then
    cmake -S "$VORL_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${args[@]}" >/dev/null
    echo "${args[*]}" > "$dir/.vorl-args"
  fi
  echo "build: $t"
  cmake --build "$dir" -j "$(nproc)"
done
