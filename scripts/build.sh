#!/usr/bin/env bash
# Configures and builds the build trees named as arguments
# (native, native-asan, win64, win32); all four without arguments.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
trees=("$@"); [ ${#trees[@]} -gt 0 ] || trees=(native native-asan win64 win32)
for t in "${trees[@]}"; do
  dir="$VORL_BUILD/$t"
  case "$t" in
    native)      args=() ;;
    native-asan) args=(-DVORL_SANITIZE=ON -DVORL_BENCH=OFF) ;;
    win64)       args=(-DCMAKE_TOOLCHAIN_FILE="$VORL_ROOT/cmake/mingw-w64-x86_64.cmake") ;;
    win32)       args=(-DCMAKE_TOOLCHAIN_FILE="$VORL_ROOT/cmake/mingw-w64-i686.cmake" -DVORL_TESTS=OFF) ;;
    *) echo "build: unknown tree $t" >&2; exit 2 ;;
  esac
  [ -f "$dir/build.ninja" ] || cmake -S "$VORL_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${args[@]}" >/dev/null
  echo "build: $t"
  cmake --build "$dir" -j "$(nproc)"
done
