#!/usr/bin/env bash
# The shrinker's speed and memory, side by side with peer tools in one run.
#   1. One 4000 x 3000 photo natively: decode alone, the default pipeline,
#      with saturation, in size mode (shrinker_picture_bench), ImageMagick's
#      convert and vipsthumbnail.
#   2. Twenty 12-megapixel photos through Vantilo.exe's command line under
#      Wine (the side of QX_SIDE, else this machine's road), net of the
#      program's start-up (a run with no picture), against the sum of their
#      decode-alone times in the same Wine side, djpeg and mogrify.
#   3. The batch's peak working set.
# Every command is its own process; rounds are interleaved so that machine
# load hits all alike, and medians are printed with the ratios that matter.
# Usage: run-bench.sh [rounds]    (peer tools: scripts/setup.d/shrinker.sh)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
rounds=${1:-7}
. "$root/scripts/env.sh"
side=$QX_SIDE
convert=/usr/bin/convert-im6.q16
for tool in "$convert" /usr/bin/mogrify-im6.q16 vipsthumbnail djpeg; do
  command -v "$tool" >/dev/null || { echo "missing $tool (bash scripts/setup.sh)" >&2; exit 2; }
done
bash "$root/scripts/build.sh" native --target shrinker_picture_bench >/dev/null
# One target at a time: the first regenerates a build that predates the tool.
bash "$root/scripts/build.sh" "$side" --target Vantilo >/dev/null
bash "$root/scripts/build.sh" "$side" --target vantilo_batch_bench >/dev/null

# The photos take a minute to make; they are kept for the next run.
photos=/tmp/vantilo-bench-photos
mkdir -p "$photos"
echo "making twenty 4000x3000 photo-like JPEGs in $photos (kept for later runs)..."
for i in $(seq -w 1 20); do
  [ -s "$photos/p$i.jpg" ] || echo "$i"
done | xargs -r -P "$(nproc)" -I{} "$convert" -size 4000x3000 -seed {} plasma:fractal -blur 0x1.5 -quality 92 "$photos/p{}.jpg"

work=$(mktemp -d /tmp/shrinker-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$root/build/$side/bin/Vantilo.exe" "$work/"
printf 'not a picture\r\n' > "$work/none.txt"
mkdir -p "$work/mogrify"

export QX_BENCH_ROUNDS=$rounds QX_BENCH_WORK=$work QX_BENCH_PHOTOS=$photos QX_BENCH_SIDE=$side
export QX_BENCH_NATIVE=$root/build/native/bin/shrinker_picture_bench
export QX_BENCH_TOOL=$root/build/$side/bin/vantilo_batch_bench.exe QX_BENCH_WINE_RUN=$root/scripts/wine-run.sh
bash "$root/scripts/wine-session.sh" python3 - <<'PY'
import glob, os, shutil, statistics, subprocess, time
E = os.environ
rounds, work, photos, side = int(E["QX_BENCH_ROUNDS"]), E["QX_BENCH_WORK"], E["QX_BENCH_PHOTOS"], E["QX_BENCH_SIDE"]
bench, tool, wine_run = E["QX_BENCH_NATIVE"], E["QX_BENCH_TOOL"], E["QX_BENCH_WINE_RUN"]
convert, mogrify = "/usr/bin/convert-im6.q16", "/usr/bin/mogrify-im6.q16"
photo = f"{photos}/p01.jpg"
files = sorted(glob.glob(f"{photos}/p*.jpg"))
win = lambda p: "Z:" + p.replace("/", "\\")

def wall(cmd):
    t0 = time.perf_counter()
    out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
    return (time.perf_counter() - t0) * 1000, out

def inside(*args):  # figures the Windows tool takes itself
    return subprocess.run(["bash", wine_run, tool, *args], check=True, capture_output=True, text=True).stdout.split()

def batch():
    shutil.rmtree(f"{photos}/Resized", ignore_errors=True)
    ms, kb = inside("run", win(f"{work}/Vantilo.exe"), *map(win, files))
    return float(ms), int(kb)

one = [
    ("decode alone (ours, full scale)", [bench, "decode", photo, f"{work}/d.jpg", "1"]),
    ("ours: fit 1280, sharpen 80, q92", [bench, "default", photo, f"{work}/a.jpg", "1"]),
    ("ours: + saturation 140", [bench, "saturation", photo, f"{work}/b.jpg", "1"]),
    ("ours: size mode 150 KB", [bench, "size", photo, f"{work}/c.jpg", "1"]),
    ("ImageMagick -resize -sharpen 0x1", [convert, photo, "-resize", "1280x1280", "-sharpen", "0x1",
                                          "-quality", "92", f"{work}/im.jpg"]),
    ("vipsthumbnail -s 1280 Q=92", ["vipsthumbnail", photo, "-s", "1280", "-o", f"{work}/vips.jpg[Q=92]"]),
]
t = {name: [] for name, _ in one}
for k in ("decode sum", "batch", "no picture", "djpeg", "mogrify"): t[k] = []
peak, quality = [], ""
for r in range(rounds):
    for name, cmd in one:
        ms, out = wall(cmd)
        t[name].append(ms)
        if "size mode" in name:
            quality = out.split()[1]
    t["decode sum"].append(float(inside("decode", *map(win, files))[0]))
    ms, kb = batch()
    t["batch"].append(ms)
    peak.append(kb)
    t["no picture"].append(float(inside("run", win(f"{work}/Vantilo.exe"), win(f"{work}/none.txt"))[0]))
    t0 = time.perf_counter()
    for f in files:
        subprocess.run(["djpeg", "-outfile", os.devnull, f], check=True)
    t["djpeg"].append((time.perf_counter() - t0) * 1000)
    t["mogrify"].append(wall([mogrify, "-path", f"{work}/mogrify", "-resize", "1280x1280", "-sharpen", "0x1",
                              "-quality", "92", *files])[0])
shutil.rmtree(f"{photos}/Resized", ignore_errors=True)
m = {k: statistics.median(v) for k, v in t.items()}
n = [name for name, _ in one]
decode, default, sat, size, im, vips = (m[x] for x in n)
print(f"\n1. one photo, median of {rounds} rounds, milliseconds (process start included):")
for name in n:
    print(f"  {name:40s} {m[name]:8.1f}")
print("  ratios:")
print(f"  default / decode alone         {default / decode:5.2f}   (goal <= 1.05)")
print(f"  saturation / decode alone      {sat / decode:5.2f}   (goal <= 1.15)")
print(f"  size mode / default            {size / default:5.2f}   (goal <= 1.10; chose quality {quality})")
print(f"  default / ImageMagick          {default / im:5.2f}")
print(f"  default / vipsthumbnail        {default / vips:5.2f}")
net = m["batch"] - m["no picture"]
print(f"\n2. {len(files)} photos of 4000x3000 through Vantilo.exe ({side}, Wine), median of {rounds}, milliseconds:")
print(f"  Vantilo.exe with the photos            {m['batch']:8.1f}")
print(f"  Vantilo.exe with no picture (start-up) {m['no picture']:8.1f}")
print(f"  batch net of start-up                  {net:8.1f}")
print(f"  sum of decode-alone times (same side)  {m['decode sum']:8.1f}")
print(f"  djpeg, one file after another (native) {m['djpeg']:8.1f}")
print(f"  mogrify -resize -sharpen (native)      {m['mogrify']:8.1f}")
print("  ratios:")
print(f"  batch net / decode-alone sum   {net / m['decode sum']:5.2f}   (goal <= 1.10)")
print(f"  batch net / djpeg              {net / m['djpeg']:5.2f}")
print(f"  batch net / mogrify            {net / m['mogrify']:5.2f}")
print(f"\n3. peak working set of the batch: {statistics.median(peak) / 1024:.1f} MB "
      f"(min {min(peak) / 1024:.1f}, max {max(peak) / 1024:.1f})")
PY
