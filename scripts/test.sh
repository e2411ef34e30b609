#!/usr/bin/env bash
# Sets up the machine, builds every side and runs every test: native,
# native under AddressSanitizer/UBSan, the shipped 32-bit Windows build and
# its 64-bit twin, both under Wine. Where this machine runs no 32-bit code,
# the win32 side is built and its files are checked without running them,
# and every Windows test runs on win64.
# Usage: scripts/test.sh [native|asan|win32|win64 ...]   (default: all four)
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

bash "$here/setup.sh" || exit 1
sides=("$@"); [ ${#sides[@]} -gt 0 ] || sides=(native asan win32 win64)
road=$(qx_road)

total_passed=0 total_failed=0 status=0 summary=()
for side in "${sides[@]}"; do
  started=$SECONDS
  echo "=== $side: build"
  blog="$QX_BUILD/$side-build.log"; mkdir -p "$QX_BUILD"
  if ! bash "$here/build.sh" "$side" >"$blog" 2>&1; then
    tail -n 60 "$blog"; echo "=== $side: build failed (log: $blog)"
    status=1; total_failed=$((total_failed + 1)); summary+=("$side: build failed (log: $blog)"); continue
  fi
  runner=() jobs=$(nproc) select=() note=""
  case "$side" in
    win32|win64)
      if [ "$side" = win32 ] && [ "$road" != win32 ]; then
        # Nothing 32-bit can start here: only the checks that read the files.
        select=(-L shipped)
        note="shipped-file checks only; Windows tests skipped: $(qx_road_reason)"
        echo "=== win32: Windows tests skipped: $(qx_road_reason)"
      else
        # Windows tests share one desktop: one at a time, so that no test
        # finds another's windows.
        runner=(env QX_SIDE="$side" bash "$here/wine-session.sh"); jobs=1
        note="Windows tests under $([ "$side" = win32 ] && echo 32 || echo 64)-bit Wine"
      fi ;;
  esac
  echo "=== $side: tests${note:+ ($note)}"
  log=$(mktemp)
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "${runner[@]}" ctest --test-dir "$QX_BUILD/$side" --output-on-failure -j"$jobs" "${select[@]}" 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n1)
  rm -f "$log"
  if [ -z "$line" ]; then
    status=1; total_failed=$((total_failed + 1)); summary+=("$side: no test result"); continue
  fi
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line"); bad=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
  total_passed=$((total_passed + total - bad)); total_failed=$((total_failed + bad))
  summary+=("$side: $((total - bad)) passed, $bad failed in $((SECONDS - started)) s${note:+ ($note)}")
done
echo
printf '%s\n' "${summary[@]}"
echo "$total_passed passed, $total_failed failed"
exit $status
