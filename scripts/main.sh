#!/usr/bin/env bash
# Sets up the machine, builds the Windows deliverables and runs the main job:
# Vantilo.exe shrinks a batch of sample pictures under Wine.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exec bash "$here/../shrinker/win32/run_demo.sh"
