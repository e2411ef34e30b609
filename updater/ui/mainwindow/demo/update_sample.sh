#!/usr/bin/env bash
# Main-job step: QxUpdate.exe updates a sample file from a local web server,
# with the progress window shown, and the result is printed.
# Usage (inside scripts/wine-session.sh): update_sample.sh BIN_DIR WORK_DIR [PROGRAM]
# PROGRAM defaults to BIN_DIR/QxUpdate.exe; it runs as QxUpdate.exe.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The work runs beside the tests' loopback servers.
[ -n "${QX_TEST_DOCROOT_UNIX:-}" ] ||
  exec bash "$here/../../../../testsupport/servers/with_servers.sh" bash "${BASH_SOURCE[0]}" "$@"
bin=$1; work=$2; program=${3:-$1/QxUpdate.exe}
win() { printf 'Z:%s' "$(echo "$1" | tr '/' '\\')"; }

rm -rf "$work"; mkdir -p "$work/app" "$work/installed"
cp "$program" "$work/app/QxUpdate.exe"
cp "$bin/QxUpdate.Jpn.dll" "$work/app/"
# A setting file exists already, so no first-run questions are asked.
printf '[QxUpdate]\r\nLastCheck=2099/01/01 00:00:00\r\nAutoUpdate=0\r\nInformation=1\r\n' > "$work/app/QxUpdate-$(id -un).ini"
served=$QX_TEST_DOCROOT_UNIX/readme.txt
printf 'QxViewer 2.0 readme\r\n' > "$served"
printf 'QxViewer 1.0 readme\r\n' > "$work/installed/readme.txt"
touch -d '2020-01-01' "$work/installed/readme.txt"

echo "before: $(cat "$work/installed/readme.txt")"
(cd "$work/app" && LC_ALL=ja_JP.UTF-8 timeout 120 wine ./QxUpdate.exe --no-information \
  --download "http://127.0.0.1:$QX_TEST_HTTP_PORT/readme.txt;$(win "$work/installed/readme.txt")" >/dev/null 2>&1)
rc=$?
echo "QxUpdate.exe ended with code $rc"
echo "after:  $(cat "$work/installed/readme.txt")"
cmp -s "$served" "$work/installed/readme.txt"
