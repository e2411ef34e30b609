#!/usr/bin/env bash
# Sets up the machine, builds the Windows deliverables and runs the main job
# under Wine: Vantilo.exe shrinks a batch of sample pictures, then
# QxUpdate.exe updates a sample file from a local web server. The shipped
# 32-bit programs run where this machine runs 32-bit code, else their
# 64-bit twins; QX_SIDE=win32|win64 chooses.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

bash "$here/../shrinker/win32/run_demo.sh"

qx_demo_side 2>/dev/null
echo
echo "QxUpdate.exe ($QX_SIDE) updating a sample file from a local web server:"
bash "$here/wine-session.sh" bash "$QX_ROOT/updater/ui/mainwindow/demo/update_sample.sh" \
  "$QX_BUILD/$QX_SIDE/bin" "$QX_BUILD/update-sample"
