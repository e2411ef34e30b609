#!/usr/bin/env bash
# QxUpdate.exe from start to end against a local web server: a progress run
# that opens the restart program, a run that updates nothing with
# "--no-restart", and a silent confirm run. Every run must end by itself.
# Usage (inside scripts/wine-session.sh): qxupdate_end_to_end.sh BIN_DIR [PROGRAM]
# PROGRAM defaults to BIN_DIR/QxUpdate.exe; it runs as QxUpdate.exe.
set -uo pipefail
bin=$1
program=${2:-$1/QxUpdate.exe}
work=$(mktemp -d /tmp/qxu-e2e.XXXXXX)
server=
finish() {
  if [ -n "$server" ]; then kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; fi
  rm -rf "$work"
}
trap finish EXIT
failures=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi; }
win() { printf 'Z:%s' "$(echo "$1" | tr '/' '\\')"; }

mkdir -p "$work/app" "$work/docroot" "$work/local"
cp "$program" "$work/app/QxUpdate.exe"
cp "$bin/QxUpdate.Jpn.dll" "$bin/updater_restart_probe.exe" "$work/app/"
# An existing setting file (Wine's user name is the Linux one): no first-run questions.
ini="$work/app/QxUpdate-$(id -un).ini"
printf '[QxUpdate]\r\nLastCheck=2099/01/01 00:00:00\r\nAutoUpdate=0\r\nInformation=1\r\n' > "$ini"
ini_text() {  # the setting file as UTF-8, whichever encoding it has
  if [ "$(head -c2 "$ini" | od -An -tx1 | tr -d ' ')" = fffe ]; then iconv -f UTF-16 -t UTF-8 "$ini"; else cat "$ini"; fi
}

echo "sample one" > "$work/docroot/sample1.txt"
echo "sample two" > "$work/docroot/sample2.txt"
touch -d '2024-01-01 00:00:00' "$work/docroot/sample1.txt" "$work/docroot/sample2.txt"

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/docroot" >/dev/null 2>&1 &
server=$!
for _ in $(seq 100); do
  python3 -c "import socket; socket.create_connection(('127.0.0.1',$port),1)" 2>/dev/null && break
  sleep 0.1
done
url="http://127.0.0.1:$port"
probe=$(win "$work/app/updater_restart_probe.exe")

run() {  # run NAME ARGS...: QxUpdate.exe must end by itself within a minute
  local name=$1; shift
  (cd "$work/app" && LC_ALL=ja_JP.UTF-8 timeout 60 wine ./QxUpdate.exe "$@" >/dev/null 2>&1)
  local rc=$?
  check "$name: the process ended with code 0 (got $rc)" "[ $rc -eq 0 ]"
}

run "progress run" -ni -dl "$url/sample1.txt;$(win "$work/local/sample1.txt")" -rs "$probe" -ag "$(win "$work/record1.txt")"
check "progress run: file stored" "cmp -s '$work/docroot/sample1.txt' '$work/local/sample1.txt'"
for _ in $(seq 100); do [ -s "$work/record1.txt" ] && break; sleep 0.1; done
check "progress run: restart program opened" "[ -s '$work/record1.txt' ]"
check "progress run: window geometry saved" "ini_text | grep -q 'DownloadWindowWidth *= *[1-9]'"
check "progress run: one run's -ni not saved" "ini_text | grep -q 'Information *= *1'"

run "nothing to update" -ni -nr -dl "$url/sample1.txt;$(win "$work/local/sample1.txt")" -rs "$probe" -ag "$(win "$work/record2.txt")"
sleep 3
check "nothing to update: restart program not opened with --no-restart" "[ ! -e '$work/record2.txt' ]"

run "silent confirm run" --silent --confirm -dl "$url/sample2.txt;$(win "$work/local/sample2.txt")"
check "silent confirm run: file stored without any action" "cmp -s '$work/docroot/sample2.txt' '$work/local/sample2.txt'"

echo "$failures failed"
[ "$failures" -eq 0 ]
