#!/usr/bin/env bash
# Private CUPS daemon with one cups-pdf queue for the print tests.
#   print_queue.sh start DIR   start cupsd (pid in DIR/cupsd.pid), add the queue
#   print_queue.sh stop DIR    end that cupsd by its pid
# The queue writes PDF files to PDF_DIR. Runs of different checkouts share that
# folder, so a lock on it is held for as long as the daemon lives.
set -uo pipefail
action=${1:?usage: print_queue.sh start|stop DIR}
dir=${2:?usage: print_queue.sh start|stop DIR}
pdf_dir=/var/spool/cups-pdf/inkplate
queue=InkplatePDF
export CUPS_SERVER=$dir/cups.sock

alive() { [ -e "/proc/$1" ] && ! grep -q '^[0-9]* ([^)]*) Z' "/proc/$1/stat" 2>/dev/null; }

stop() {
  [ -f "$dir/cupsd.pid" ] || return 0
  local pid; pid=$(cat "$dir/cupsd.pid")
  if alive "$pid"; then
    kill -TERM "$pid" 2>/dev/null
    for _ in $(seq 1 100); do alive "$pid" || break; sleep 0.1; done
    if alive "$pid"; then echo "cupsd $pid ignored TERM; killing" >&2; kill -KILL "$pid" 2>/dev/null; fi
  fi
  rm -f "$dir/cupsd.pid"
}

start() {
  [ -f /etc/cups/cups-pdf-inkplate.conf ] && [ -x /usr/sbin/cupsd ] && command -v python3 >/dev/null \
    || { echo "print queue prerequisites missing: run scripts/setup.sh" >&2; exit 1; }
  stop
  rm -rf "$dir"
  mkdir -p "$dir"/{conf,spool,cache,state,tmp,log} "$pdf_dir"
  chown root:lp "$dir/tmp"; chmod 1770 "$dir/tmp"
  cat > "$dir/conf/cupsd.conf" <<CONF
Listen $dir/cups.sock
Browsing Off
WebInterface No
LogLevel warn
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat > "$dir/conf/cups-files.conf" <<CONF
ServerRoot $dir/conf
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/tmp
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
CONF
  exec 9>"$pdf_dir.lock"
  flock -w 540 9 || { echo "print queue folder $pdf_dir stays locked" >&2; exit 1; }
  rm -f "$pdf_dir"/*.pdf
  # The daemon inherits the lock and gives it up when it ends.
  /usr/sbin/cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" \
    </dev/null >"$dir/log/cupsd.out" 2>&1 &
  echo $! > "$dir/cupsd.pid"
  exec 9>&-
  for _ in $(seq 1 100); do lpstat -r >/dev/null 2>&1 && break; sleep 0.1; done
  if ! lpstat -r >/dev/null 2>&1; then
    echo "cupsd did not answer" >&2; cat "$dir/log/cupsd.out" >&2; stop; exit 1
  fi
  lpadmin -p "$queue" -E -v cups-pdf:/inkplate -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null \
    && lpadmin -d "$queue" || { echo "could not add the queue" >&2; stop; exit 1; }
  lpstat -v "$queue"
}

case "$action" in
  start) start ;;
  stop) stop ;;
  *) echo "unknown action: $action" >&2; exit 2 ;;
esac
