#!/usr/bin/env bash
# Runs a command with the build's Wine prefix, the Japanese code page and a
# display. Windows programs (*.exe) are started through wine. Without a
# DISPLAY a private Xvfb is started and ended by its process id afterwards.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

xvfb_pid=
cleanup() { [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 20 num < "$fifo" || { echo "wine-run: Xvfb did not start" >&2; rm -f "$fifo"; exit 1; }
  rm -f "$fifo"
  export DISPLAY=":$num"
fi

# Wine derives the ANSI code page from the locale: ja_JP gives 932.
case "${1:-}" in
  *.exe|*.EXE) LC_ALL=ja_JP.UTF-8 wine "$@" ;;
  *) LC_ALL=ja_JP.UTF-8 "$@" ;;
esac
