#!/usr/bin/env bash
# PNG pictures of the progress window and the confirm window during a run,
# grabbed from the X display. Usage (inside scripts/wine-session.sh):
#   window_shots.sh BIN_DIR OUT_DIR
set -euo pipefail
bin=$1; out=$2
mkdir -p "$out"
for kind in progress confirm; do
  rect="$out/$kind.rect"
  rm -f "$rect"
  (cd "$bin" && LC_ALL=ja_JP.UTF-8 wine ./updater_window_shots.exe "$kind" "$(winepath -w "$rect")" 2>/dev/null) &
  shot=$!
  for _ in $(seq 1 300); do [ -s "$rect" ] && break; sleep 0.1; done
  if [ -s "$rect" ]; then
    read -r w h x y < "$rect"
    /usr/bin/import-im6.q16 -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$kind-window.png"
    echo "$out/$kind-window.png"
  else
    echo "no $kind window to grab" >&2
  fi
  rm -f "$rect"
  wait "$shot" || true
done
