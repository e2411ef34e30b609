#!/usr/bin/env bash
# QxUpdate.exe from start to end against a local web server: a progress run
# that opens the restart program, a run that updates nothing with
# "--no-restart", and a silent confirm run. Every run must end by itself.
# Usage (inside scripts/wine-session.sh): qxupdate_end_to_end.sh BIN_DIR [PROGRAM]
# PROGRAM defaults to BIN_DIR/QxUpdate.exe; it runs as QxUpdate.exe.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The work runs beside the tests' loopback servers.
[ -n "${QX_TEST_DOCROOT_UNIX:-}" ] ||
  exec bash "$here/../../../../testsupport/servers/with_servers.sh" bash "${BASH_SOURCE[0]}" "$@"
bin=$1
program=${2:-$1/QxUpdate.exe}
work=$(mktemp -d /tmp/qxu-e2e.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi; }
win() { printf 'Z:%s' "$(echo "$1" | tr '/' '\\')"; }

docroot=$QX_TEST_DOCROOT_UNIX
mkdir -p "$work/app" "$work/local"
cp "$program" "$work/app/QxUpdate.exe"
cp "$bin/QxUpdate.Jpn.dll" "$bin/updater_restart_probe.exe" "$work/app/"
# An existing setting file (Wine's user name is the Linux one): no first-run questions.
ini="$work/app/QxUpdate-$(id -un).ini"
printf '[QxUpdate]\r\nLastCheck=2099/01/01 00:00:00\r\nAutoUpdate=0\r\nInformation=1\r\n' > "$ini"
ini_text() {  # the setting file as UTF-8, whichever encoding it has
  if [ "$(head -c2 "$ini" | od -An -tx1 | tr -d ' ')" = fffe ]; then iconv -f UTF-16 -t UTF-8 "$ini"; else cat "$ini"; fi
}

echo "sample one" > "$docroot/sample1.txt"
echo "sample two" > "$docroot/sample2.txt"
touch -d '2024-01-01 00:00:00' "$docroot/sample1.txt" "$docroot/sample2.txt"

url="http://127.0.0.1:$QX_TEST_HTTP_PORT"
probe=$(win "$work/app/updater_restart_probe.exe")

run() {  # run NAME ARGS...: QxUpdate.exe must end by itself within a minute
  local name=$1; shift
  (cd "$work/app" && LC_ALL=ja_JP.UTF-8 timeout 60 wine ./QxUpdate.exe "$@" >/dev/null 2>&1)
  local rc=$?
  check "$name: the process ended with code 0 (got $rc)" "[ $rc -eq 0 ]"
}

run "progress run" -ni -dl "$url/sample1.txt;$(win "$work/local/sample1.txt")" -rs "$probe" -ag "$(win "$work/record1.txt")"
check "progress run: file stored" "cmp -s '$docroot/sample1.txt' '$work/local/sample1.txt'"
for _ in $(seq 100); do [ -s "$work/record1.txt" ] && break; sleep 0.1; done
check "progress run: restart program opened" "[ -s '$work/record1.txt' ]"
check "progress run: window geometry saved" "ini_text | grep -q 'DownloadWindowWidth *= *[1-9]'"
check "progress run: one run's -ni not saved" "ini_text | grep -q 'Information *= *1'"

run "nothing to update" -ni -nr -dl "$url/sample1.txt;$(win "$work/local/sample1.txt")" -rs "$probe" -ag "$(win "$work/record2.txt")"
sleep 3
check "nothing to update: restart program not opened with --no-restart" "[ ! -e '$work/record2.txt' ]"

run "silent confirm run" --silent --confirm -dl "$url/sample2.txt;$(win "$work/local/sample2.txt")"
check "silent confirm run: file stored without any action" "cmp -s '$docroot/sample2.txt' '$work/local/sample2.txt'"

echo "$failures failed"
[ "$failures" -eq 0 ]
