# Sourced by the printing tests: runs a private CUPS scheduler on its own
# socket (CUPS_SERVER points the clients at it) with a CUPS-PDF queue, and
# stops it when the sourcing script exits. Needs root, as cupsd does.
#
#   start_cups            the scheduler, no printers
#   add_pdf_queue NAME    a CUPS-PDF queue
#   set_default NAME      makes NAME the default destination
#   stop_cups             stops the scheduler and removes its folder and the PDFs
#   new_pdfs              the CUPS-PDF files written since start_cups, oldest first

CUPS_PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

start_cups() {
  # CUPS-PDF writes every job to the one PDF folder of the user: tests that
  # print take turns, so that each counts only its own documents.
  exec {CUPS_LOCK_FD}>/tmp/pidview-cups.lock
  flock -w 1200 "$CUPS_LOCK_FD" || { echo "cups.sh: another printing test holds the lock" >&2; return 1; }
  CUPS_DIR=$(mktemp -d /tmp/pidview-cups.XXXXXX)
  chmod 755 "$CUPS_DIR"
  mkdir -p "$CUPS_DIR"/{conf,spool,cache,state,log}
  mkdir -p "$CUPS_DIR"/spool/tmp
  cat >"$CUPS_DIR/conf/cupsd.conf" <<CONF
Listen $CUPS_DIR/cups.sock
LogLevel warn
Browsing No
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat >"$CUPS_DIR/conf/cups-files.conf" <<CONF
ServerRoot $CUPS_DIR/conf
RequestRoot $CUPS_DIR/spool
TempDir $CUPS_DIR/spool/tmp
CacheDir $CUPS_DIR/cache
StateDir $CUPS_DIR/state
ErrorLog $CUPS_DIR/log/error_log
AccessLog $CUPS_DIR/log/access_log
PageLog $CUPS_DIR/log/page_log
Printcap $CUPS_DIR/state/printcap
CONF
  export CUPS_SERVER="$CUPS_DIR/cups.sock"
  # lpoptions in the home folder would override the server's default.
  export HOME="$CUPS_DIR/home"
  mkdir -p "$HOME"
  unset LPDEST PRINTER
  CUPS_PDF_DIR=$(getent passwd "$(id -un)" | cut -d: -f6)/PDF
  mkdir -p "$CUPS_PDF_DIR"
  CUPS_STAMP="$CUPS_DIR/stamp"
  touch "$CUPS_STAMP"
  sleep 0.01
  cupsd -f -c "$CUPS_DIR/conf/cupsd.conf" -s "$CUPS_DIR/conf/cups-files.conf" {CUPS_LOCK_FD}>&- &
  CUPSD_PID=$!
  trap stop_cups EXIT
  for _ in $(seq 100); do
    lpstat -r >/dev/null 2>&1 && lpstat -r | grep -q "is running" && return 0
    kill -0 "$CUPSD_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "cups.sh: cannot start cupsd" >&2
  cat "$CUPS_DIR/log/error_log" >&2 2>/dev/null
  return 1
}

add_pdf_queue() {
  lpadmin -p "$1" -E -v cups-pdf:/ -P "$CUPS_PPD" 2>/dev/null
}

set_default() {
  lpadmin -d "$1"
}

stop_cups() {
  if [ -n "${CUPSD_PID:-}" ]; then
    kill "$CUPSD_PID" 2>/dev/null || true # it may have stopped already
    wait "$CUPSD_PID" 2>/dev/null || true
    CUPSD_PID=
  fi
  [ -n "${CUPS_DIR:-}" ] || return 0
  # The documents our jobs left in the user's PDF folder.
  new_pdfs | while read -r file; do rm -f "$file"; done
  rm -rf "$CUPS_DIR"
  CUPS_DIR=
  return 0
}

# Waits until the scheduler has no job left, for up to 60 s.
wait_jobs_done() {
  for _ in $(seq 600); do
    [ -z "$(lpstat -o 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  return 1
}

new_pdfs() {
  find "$CUPS_PDF_DIR" -maxdepth 1 -name '*.pdf' -newer "$CUPS_STAMP" -printf '%T@ %p\n' | sort -n | cut -d' ' -f2-
}
