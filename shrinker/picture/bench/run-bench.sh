#!/usr/bin/env bash
# Side-by-side timing of the shrinker's picture pipeline against ImageMagick
# and libvips on one 4000 x 3000 photo-like JPEG. Every command runs as its
# own process, rounds are interleaved so machine load hits all alike, and
# the median of each is printed with the ratios that matter.
# Usage: run-bench.sh [rounds]     (needs the native build; see below)
# Tools: /usr/bin/convert-im6.q16 (imagemagick-6.q16), vipsthumbnail
# (libvips-tools).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../../.." && pwd)
rounds=${1:-7}
bench="$root/build/native/bin/shrinker_picture_bench"
convert=/usr/bin/convert-im6.q16
for tool in "$convert" vipsthumbnail; do
  command -v "$tool" >/dev/null || { echo "missing $tool (apt-get install imagemagick libvips-tools)" >&2; exit 2; }
done
[ -x "$bench" ] || bash "$root/scripts/build.sh" native --target shrinker_picture_bench >/dev/null

work=$(mktemp -d /tmp/shrinker-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
photo="$work/photo.jpg"
echo "making a 4000x3000 photo-like JPEG (plasma fractal, quality 92)..."
"$convert" -size 4000x3000 -seed 7 plasma:fractal -blur 0x1.5 -quality 92 "$photo"

python3 - "$rounds" "$bench" "$convert" "$photo" "$work" <<'PY'
import statistics, subprocess, sys, time
rounds, bench, convert, photo, work = int(sys.argv[1]), *sys.argv[2:]
cases = [
    ("decode alone (ours, full scale)", [bench, "decode", photo, f"{work}/d.jpg", "1"]),
    ("ours: fit 1280, sharpen 80, q92", [bench, "default", photo, f"{work}/a.jpg", "1"]),
    ("ours: + saturation 140", [bench, "saturation", photo, f"{work}/b.jpg", "1"]),
    ("ours: size mode 150 KB", [bench, "size", photo, f"{work}/c.jpg", "1"]),
    ("ImageMagick -resize -sharpen 0x1", [convert, photo, "-resize", "1280x1280", "-sharpen", "0x1",
                                          "-quality", "92", f"{work}/im.jpg"]),
    ("vipsthumbnail -s 1280 Q=92", ["vipsthumbnail", photo, "-s", "1280", "-o", f"{work}/vips.jpg[Q=92]"]),
]
times = {name: [] for name, _ in cases}
quality = ""
for r in range(rounds):
    for name, cmd in cases:
        t0 = time.perf_counter()
        out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
        times[name].append((time.perf_counter() - t0) * 1000)
        if "size mode" in name:
            quality = out.split()[1]
med = {name: statistics.median(v) for name, v in times.items()}
print(f"\nmedian of {rounds} rounds, milliseconds (process start included):")
for name, _ in cases:
    print(f"  {name:40s} {med[name]:8.1f}")
n = [name for name, _ in cases]
decode, default, sat, size, im, vips = (med[x] for x in n)
print("\nratios:")
print(f"  default / ImageMagick          {default / im:5.2f}   (goal < 1)")
print(f"  default / vipsthumbnail        {default / vips:5.2f}")
print(f"  default / decode alone         {default / decode:5.2f}   (goal <= 1.5)")
print(f"  saturation / decode alone      {sat / decode:5.2f}   (goal <= 2)")
print(f"  size mode / default            {size / default:5.2f}   (goal <= 2; chose quality {quality})")
PY
