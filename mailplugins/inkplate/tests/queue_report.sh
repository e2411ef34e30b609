#!/bin/sh
# queue_report.sh QUEUE_DIR REPORT
# Waits until the private queue has no unfinished job, then writes REPORT:
# "jobs N" (all jobs so far), "pending N", "pdf NAME" (newest PDF or empty),
# then the newest PDF's text lines as pdf_lines.py reads them (pages end with a
# form feed).
# Written aside and renamed, so a reader never sees half a report.
dir=$1 report=$2
pdf_dir=/var/spool/cups-pdf/inkplate
CUPS_SERVER=$dir/cups.sock; export CUPS_SERVER
i=0
while [ $i -lt 600 ] && [ -n "$(lpstat -o 2>/dev/null)" ]; do sleep 0.1; i=$((i + 1)); done
pdf=$(ls -t "$pdf_dir"/*.pdf 2>/dev/null | head -n 1)
{
  echo "jobs $(lpstat -W all -o 2>/dev/null | wc -l)"
  echo "pending $(lpstat -o 2>/dev/null | wc -l)"
  echo "pdf ${pdf##*/}"
  [ -z "$pdf" ] || python3 "$(dirname "$0")/pdf_lines.py" "$pdf"
} > "$report.tmp" 2>&1
mv "$report.tmp" "$report"
