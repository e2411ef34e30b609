#!/usr/bin/env bash
# Runs a command with a Windows side's Wine (QX_SIDE, else this machine's
# road), the Japanese code page and a display. Windows programs (*.exe) are
# started through wine. Without a DISPLAY a private Xvfb is started and
# ended by its process id afterwards.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

trap qx_stop_display EXIT
[ -n "${DISPLAY:-}" ] || qx_start_display 1024x768x24 || exit 1

# Wine derives the ANSI code page from the locale: ja_JP gives 932.
case "${1:-}" in
  *.exe|*.EXE) LC_ALL=ja_JP.UTF-8 wine "$@" ;;
  *) LC_ALL=ja_JP.UTF-8 "$@" ;;
esac
