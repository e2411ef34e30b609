#!/usr/bin/env bash
# Configures and builds one side: native, asan (native with sanitizers),
# win32 (the shipped 32-bit Windows files) or win64 (their x86_64 twin).
# Usage: scripts/build.sh SIDE [cmake --build args...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"
side=${1:?usage: build.sh native|asan|win32|win64}; shift || true
dir="$QX_BUILD/$side"
case "$side" in
  native) args=() ;;
  asan)   args=(-DQX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug) ;;
  win32)  args=(-DCMAKE_TOOLCHAIN_FILE="$QX_ROOT/cmake/toolchain-i686-mingw32.cmake") ;;
  win64)  args=(-DCMAKE_TOOLCHAIN_FILE="$QX_ROOT/cmake/toolchain-x86_64-mingw32.cmake") ;;
  *) echo "unknown side: $side" >&2; exit 2 ;;
esac
[ -f "$dir/CMakeCache.txt" ] || cmake -S "$QX_ROOT" -B "$dir" -G "Unix Makefiles" "${args[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" "$@"
