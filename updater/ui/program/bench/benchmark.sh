#!/usr/bin/env bash
# Download throughput of QxUpdate.exe under Wine against curl on the same
# local server, and the time of a check pass over 1000 up-to-date items.
# Usage (from the repository root, after bash scripts/build.sh of the side):
#   bash scripts/wine-session.sh bash updater/ui/program/bench/benchmark.sh [size-MB]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../../../.." && pwd)
. "$root/scripts/env.sh"
# The tests' loopback servers, the web server on the loopback build's
# self-update port, which is free for the benchmark.
[ -n "${QX_TEST_DOCROOT_UNIX:-}" ] || QX_FIXED_HTTP_PORT=${QX_BENCH_PORT:-18431} \
  exec bash "$root/testsupport/servers/with_servers.sh" bash "${BASH_SOURCE[0]}" "$@"
bin="$QX_BUILD/$QX_SIDE/bin"
size_mb=${1:-200}
port=$QX_TEST_HTTP_PORT
docroot=$QX_TEST_DOCROOT_UNIX

work=$(mktemp -d /tmp/qxbench.XXXXXX)
trap 'rm -rf "$work"' EXIT
winpath() { printf 'Z:%s' "$(echo "$1" | tr '/' '\\')"; }

mkdir -p "$docroot/items" "$work/install/items"
head -c $((size_mb * 1024 * 1024)) /dev/urandom > "$docroot/big.bin"
touch -d '2024-01-01 00:00:00 UTC' "$docroot/big.bin"

cp "$bin/updater-program-test/qxupdate-loopback.exe" "$work/install/QxUpdate.exe"
cp "$bin/QxUpdate.Jpn.dll" "$work/install/"
user=$(LC_ALL=ja_JP.UTF-8 wine cmd /c echo %USERNAME% 2>/dev/null | tr -d '\r')
printf '[QxUpdate]\r\nLastCheck=2026/01/01 00:00:00\r\nAutoUpdate=0\r\nInformation=1\r\n' > "$work/install/QxUpdate-$user.ini"
run() { LC_ALL=ja_JP.UTF-8 wine "$bin/updater-program-test/updater_bench_runner.exe" "$(winpath "$work/install/QxUpdate.exe")" "$(winpath "$work/install")" "$1" 2>/dev/null | tr -d '\r'; }
ms_of() { sed -n 's/.*elapsed_ms=\([0-9.]*\).*/\1/p'; }

url="http://127.0.0.1:$port/big.bin"
echo "== download of ${size_mb} MB from the local server"
t0=$(date +%s.%N)
curl -s -o "$work/curl.bin" "$url"
t1=$(date +%s.%N)
curl_s=$(python3 -c "print($t1 - $t0)")
cmp -s "$work/curl.bin" "$docroot/big.bin" || echo "curl: content differs" >&2
rm -f "$work/curl.bin"
# Start-up of the program measured on a run that transfers nothing.
start_ms=$(run "-ni -dl http://127.0.0.1:$port/missing.bin;$(winpath "$work/install/none.bin")" | ms_of)
qx_ms=$(run "-ni -dl $url;$(winpath "$work/install/big.bin")" | ms_of)
cmp -s "$work/install/big.bin" "$docroot/big.bin" || echo "QxUpdate: content differs" >&2
python3 - "$size_mb" "$curl_s" "$qx_ms" "$start_ms" <<'PY'
import sys
mb, curl_s, qx_ms, start_ms = float(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4])
curl = mb / curl_s
qx = mb / (qx_ms / 1000.0)
qx_net = mb / max((qx_ms - start_ms) / 1000.0, 1e-3)
print("curl:     %.2f s  %.1f MB/s" % (curl_s, curl))
print("QxUpdate: %.2f s  %.1f MB/s (whole run; start-up and check %.2f s; transfer alone %.1f MB/s)"
      % (qx_ms / 1000.0, qx, start_ms / 1000.0, qx_net))
print("ratio QxUpdate/curl: %.2f (whole run), %.2f (transfer alone)" % (qx / curl, qx_net / curl))
PY

echo "== check pass over 1000 up-to-date items"
quf="$work/install/items.quf"
: > "$quf"
for i in $(seq 1 1000); do
  printf 'item %d\n' "$i" > "$docroot/items/f$i.txt"
  cp "$docroot/items/f$i.txt" "$work/install/items/f$i.txt"
  printf -- '-dl http://127.0.0.1:%s/items/f%d.txt;%s\r\n' "$port" "$i" "$(winpath "$work/install/items/f$i.txt")" >> "$quf"
done
touch -d '2024-01-01 00:00:00 UTC' "$docroot/items"/*.txt "$work/install/items"/*.txt
out=$(run "-ni $(winpath "$quf")")
echo "1000 items (limit message answered): $(echo "$out" | ms_of) ms, $(echo "$out" | sed -n 's/.*messages=\([0-9]*\).*/\1/p') message(s)"
