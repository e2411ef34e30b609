#!/usr/bin/env bash
# Sets up the machine, builds every side and runs every test: native,
# native under AddressSanitizer/UBSan, and the Windows builds under Wine.
# Usage: scripts/test.sh [native|asan|win32 ...]   (default: all three)
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

bash "$here/setup.sh" || exit 1
sides=("$@"); [ ${#sides[@]} -gt 0 ] || sides=(native asan win32)

passed=0 failed=0 status=0
for side in "${sides[@]}"; do
  echo "=== $side: build"
  blog="$QX_BUILD/$side-build.log"; mkdir -p "$QX_BUILD"
  if ! bash "$here/build.sh" "$side" >"$blog" 2>&1; then
    tail -n 60 "$blog"; echo "=== $side: build failed (log: $blog)"; status=1; failed=$((failed + 1)); continue
  fi
  echo "=== $side: tests"
  log=$(mktemp)
  # Windows tests share one desktop: run them one at a time so that no test
  # finds another's windows.
  runner=(); jobs=$(nproc)
  [ "$side" != win32 ] || { runner=(bash "$here/wine-session.sh"); jobs=1; }
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "${runner[@]}" ctest --test-dir "$QX_BUILD/$side" --output-on-failure -j"$jobs" 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n1)
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line"); bad=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
  if [ -n "$line" ]; then passed=$((passed + total - bad)); failed=$((failed + bad)); else status=1; fi
  rm -f "$log"
done
echo
echo "$passed passed, $failed failed"
exit $status
