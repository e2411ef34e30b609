#!/usr/bin/env bash
# Sets up, builds and runs Vantilo.exe in command-line mode on sample
# pictures made here, then prints where the outputs and the page are.
# Usage: bash shrinker/win32/run_demo.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/scripts/env.sh"

bash "$root/scripts/setup.sh"
qx_demo_side
bash "$root/scripts/build.sh" "$QX_SIDE" >"$QX_BUILD/$QX_SIDE-build.log" 2>&1 \
  || { tail -n 40 "$QX_BUILD/$QX_SIDE-build.log"; exit 1; }

demo="$QX_BUILD/vantilo-demo"
rm -rf "$demo"
mkdir -p "$demo/app" "$demo/pictures"
cp "$QX_BUILD/$QX_SIDE/bin/Vantilo.exe" "$demo/app/"
cp -r "$QX_BUILD/$QX_SIDE/bin/help" "$demo/app/"
# The settings beside the program: page lines on, the rest as on a first run.
printf '[option]\r\nhtml=1\r\n' > "$demo/app/Vantilo.ini"

winpath() { printf 'Z:%s' "$(echo "$1" | tr '/' '\\')"; }
bash "$root/scripts/wine-session.sh" bash -c '
  set -e
  bash "$1/scripts/wine-run.sh" "$2/vantilo_samples.exe" "$3"
  cd "$4"
  bash "$1/scripts/wine-run.sh" "$5" landscape.jpg portrait.png scan.bmp notes.txt
' _ "$root" "$QX_BUILD/$QX_SIDE/bin" "$(winpath "$demo/pictures")" "$demo/pictures" "$demo/app/Vantilo.exe"

echo "Vantilo.exe ($QX_SIDE) shrank the sample pictures in $demo/pictures:"
for f in "$demo"/pictures/Resized/*.jpg; do
  printf '  %s (%s bytes)\n' "$f" "$(stat -c %s "$f")"
done
for page in "$demo"/pictures/Resized/*.html; do
  echo "Thumbnail page: $page"
  sed 's/^/  /' "$page"
done
