#!/usr/bin/env bash
# Runs a command inside a private Wine session: its own Xvfb display and a
# wineserver with its services already started, so that no Wine helper
# process inherits the command's output pipes. Everything started here is
# ended afterwards, by process id.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

xvfb_pid=
stop() {
  LC_ALL=ja_JP.UTF-8 wineserver -k >/dev/null 2>&1
  LC_ALL=ja_JP.UTF-8 wineserver -w >/dev/null 2>&1
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
}
trap stop EXIT

fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$fifo" </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 20 num < "$fifo" || { echo "wine-session: Xvfb did not start" >&2; rm -f "$fifo"; exit 1; }
rm -f "$fifo"
export DISPLAY=":$num"
LC_ALL=ja_JP.UTF-8 wineserver -p </dev/null >/dev/null 2>&1
LC_ALL=ja_JP.UTF-8 wine wineboot </dev/null >/dev/null 2>&1

"$@"
