#!/usr/bin/env bash
# Builds the Windows deliverables and lets a small host program drive
# Rosterkit.dll over a sample mail folder under Wine.
# Usage: bash mailplugins/rosterkit/demo/run_demo.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
. "$root/scripts/env.sh"

bash "$root/scripts/setup.sh"
qx_demo_side
bash "$root/scripts/build.sh" "$QX_SIDE" >"$QX_BUILD/$QX_SIDE-build.log" 2>&1 \
  || { tail -n 40 "$QX_BUILD/$QX_SIDE-build.log"; exit 1; }

mail="$QX_BUILD/sample-mail"
rm -rf "$mail"; mkdir -p "$mail/archive"
sjis() { iconv -f UTF-8 -t SHIFT_JIS | sed 's/$/\r/'; }
printf 'UnSealed: TRUE\nSubject: 週報\nFrom: 佐藤 <sato@example.jp>\nTo: team@example.jp\n--------\n今週の報告です。\n' | sjis > "$mail/1.txt"
printf 'Subject: Lunch?\nFrom: kim@example.com\n--------\nNoon at the usual place.\n' | sjis > "$mail/2.txt"
printf 'From: billing@example.com\nSubject: 請求書\n--------\n' | sjis > "$mail/7.txt"
printf 'Subject: old thread\n--------\n' | sjis > "$mail/archive/3.txt"

echo "=== Rosterkit over $mail"
bash "$root/scripts/wine-session.sh" bash "$root/scripts/wine-run.sh" "$QX_BUILD/$QX_SIDE/bin/rosterkit_demo.exe" \
  "$(printf 'Z:%s' "$mail" | tr / '\\')"
