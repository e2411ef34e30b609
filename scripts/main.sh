#!/usr/bin/env bash
# Sets up the machine, builds the Windows deliverables and runs the main job
# under Wine: Vantilo.exe shrinks a batch of sample pictures, then
# QxUpdate.exe updates a sample file from a local web server.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

bash "$here/../shrinker/win32/run_demo.sh"

echo
echo "QxUpdate.exe updating a sample file from a local web server:"
bash "$here/wine-session.sh" bash "$QX_ROOT/updater/ui/mainwindow/demo/update_sample.sh" \
  "$QX_BUILD/win32/bin" "$QX_BUILD/update-sample"
