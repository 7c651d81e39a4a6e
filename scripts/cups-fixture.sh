# Sourced by wine-fixture.sh: a private CUPS daemon with one PDF printer for
# the Wine tests, everything under WINE_STATE_DIR/cups (configuration,
# spool, logs, its socket and the printed PDF files).
#
#   cups_fixture_start   starts cupsd on a socket of its own, adds the
#                        printer "GeulmaruPDF" (Debian's cups-pdf) as its
#                        default and appends CUPS_SERVER, PRINT_PDF_DIR and
#                        CUPSD_PID to the fixture's state file
#   cups_fixture_stop    stops that cupsd and removes the printer's cups-pdf
#                        configuration
#
# cups-pdf reads its configuration from /etc/cups only: the file named after
# the device URI's name there (cups-pdf-GeulmaruPDF-<number>.conf) sends its output into the state folder
# while the fixture runs; where /etc/cups cannot be written, the output goes
# to cups-pdf's default, the PDF folder of the user's home.
CUPS_QUEUE=GeulmaruPDF
CUPS_DIR="$WINE_STATE_DIR/cups"
# The device's name, and with it the cups-pdf file in /etc/cups, is this
# state folder's own, so that fixtures of other builds on the machine keep
# their output apart.
CUPS_DEVICE="$CUPS_QUEUE-$(printf '%s' "$CUPS_DIR" | cksum | cut -d' ' -f1)"
CUPS_QUEUE_CONF="/etc/cups/cups-pdf-$CUPS_DEVICE.conf"

cups_fixture_start() {
  if ! command -v cupsd >/dev/null 2>&1 && [ ! -x /usr/sbin/cupsd ]; then
    echo "wine-fixture: no cupsd (scripts/setup.sh installs cups-daemon); printing tests will fail"
    return 0
  fi
  local cupsd=/usr/sbin/cupsd
  local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  rm -rf "$CUPS_DIR"
  mkdir -p "$CUPS_DIR"/{conf/ppd,spool/tmp,cache,state,log,run,pdf}
  # The filters run as lp: they read the spool and write temporary files there.
  chmod 0755 "$CUPS_DIR" "$CUPS_DIR"/*
  chmod 1777 "$CUPS_DIR/spool/tmp"
  local sock="$CUPS_DIR/run/cups.sock"
  cat >"$CUPS_DIR/conf/cupsd.conf" <<CONF
Listen $sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
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
AccessLog $CUPS_DIR/log/access_log
ErrorLog $CUPS_DIR/log/error_log
PageLog $CUPS_DIR/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
SystemGroup root
Sandboxing Relaxed
CONF
  local out="$CUPS_DIR/pdf"
  if [ -w /etc/cups ]; then
    printf 'Out %s\nAnonDirName %s\n' "$out" "$out" >"$CUPS_QUEUE_CONF"
  else
    out="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
    echo "wine-fixture: /etc/cups is not writable; PDF files go to $out"
  fi
  setsid "$cupsd" -f -c "$CUPS_DIR/conf/cupsd.conf" -s "$CUPS_DIR/conf/cups-files.conf" \
    </dev/null >>"$CUPS_DIR/log/cupsd.out" 2>&1 &
  local pid=$!
  for _ in $(seq 1 100); do
    [ -S "$sock" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -S "$sock" ]; then
    echo "wine-fixture: cupsd did not start"
    cat "$CUPS_DIR/log/cupsd.out" "$CUPS_DIR/log/error_log" 2>/dev/null
    return 1
  fi
  if ! lpadmin -h "$sock" -p "$CUPS_QUEUE" -E -v "cups-pdf:/$CUPS_DEVICE" -P "$ppd" ||
     ! lpadmin -h "$sock" -d "$CUPS_QUEUE"; then
    echo "wine-fixture: the PDF printer could not be added"
    cat "$CUPS_DIR/log/error_log" 2>/dev/null
    return 1
  fi
  printf 'CUPSD_PID=%s\nCUPS_SERVER=%s\nPRINT_PDF_DIR=%s\n' "$pid" "$sock" "$out" >>"$WINE_STATE_FILE"
  echo "wine-fixture: cupsd pid $pid, printer $CUPS_QUEUE (default), PDF files in $out"
}

cups_fixture_stop() {
  local CUPSD_PID=""
  # shellcheck disable=SC1090
  [ -f "$WINE_STATE_FILE" ] && . "$WINE_STATE_FILE"
  wine_stop_process "$CUPSD_PID" cupsd
  [ -w /etc/cups ] && rm -f "$CUPS_QUEUE_CONF"
  return 0
}
