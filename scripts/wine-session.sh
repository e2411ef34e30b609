#!/usr/bin/env bash
# Runs a command inside a private Wine session of one Windows side (QX_SIDE,
# else this machine's road): its own Xvfb display and a wineserver with its
# services already started, so that no Wine helper process inherits the
# command's output pipes. Everything started here is ended afterwards, by
# process id.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

stop() {
  LC_ALL=ja_JP.UTF-8 wineserver -k >/dev/null 2>&1
  LC_ALL=ja_JP.UTF-8 wineserver -w >/dev/null 2>&1
  qx_stop_display
}
trap stop EXIT

qx_start_display 1280x1024x24 || exit 1
LC_ALL=ja_JP.UTF-8 wineserver -p </dev/null >/dev/null 2>&1
LC_ALL=ja_JP.UTF-8 wine wineboot </dev/null >/dev/null 2>&1

"$@"
