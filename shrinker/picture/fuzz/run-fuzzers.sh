#!/usr/bin/env bash
# Builds the four decoder fuzzers with clang's libFuzzer (plus ASan/UBSan)
# and runs each for a bounded time on a scratch copy of the seed corpus.
# New findings (crash-*, leak-*, timeout-*) are left in the output folder;
# copy interesting inputs into corpus/<format>/ so the test suite replays them.
# Usage: run-fuzzers.sh [seconds-per-decoder] [output-folder] [jpeg gif png bmp]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
src="$here/../src"
seconds=${1:-60}
out=${2:-$(mktemp -d /tmp/shrinker-picture-fuzz.XXXXXX)}
mkdir -p "$out"
shift $(( $# < 2 ? $# : 2 ))
formats=("$@")
[ ${#formats[@]} -gt 0 ] || formats=(jpeg gif png bmp)

flags=(-std=c++17 -O1 -g -DFUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -I"$here/../include" -I"$src")
sources=("$src"/*.cpp)

status=0
for folder in "${formats[@]}"; do
  case $folder in
    jpeg) decoder=DecodeJpeg ;; gif) decoder=DecodeGif ;; png) decoder=DecodePng ;; bmp) decoder=DecodeBmp ;;
    *) echo "unknown format $folder" >&2; exit 2 ;;
  esac
  bin="$out/fuzz-$folder"
  echo "=== $folder: build"
  clang++ "${flags[@]}" -DFUZZ_DECODER="$decoder" "$here/fuzz_decoder.cpp" "${sources[@]}" \
    -ljpeg -lgif -lpng -lz -lpthread -o "$bin"
  work="$out/corpus-$folder"
  mkdir -p "$work"
  cp -n "$here/corpus/$folder"/* "$work"/ 2>/dev/null || true
  echo "=== $folder: fuzzing for ${seconds}s"
  if ! (cd "$out" && "$bin" -max_total_time="$seconds" -rss_limit_mb=3072 -timeout=20 \
          -artifact_prefix="$out/$folder-" "$work" >"$out/$folder.log" 2>&1); then
    echo "=== $folder: FINDING, see $out/$folder.log"
    status=1
  fi
  grep -E '^#[0-9]+.*DONE|stat::number_of_executed_units' "$out/$folder.log" | tail -n 1 || true
done
echo "output: $out"
exit $status
