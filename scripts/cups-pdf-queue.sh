#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A private CUPS scheduler with one cups-pdf queue, PelmoraPDF (its default), that
# writes each job as a PDF into DIR/out, named after the job title.
#
#   scripts/cups-pdf-queue.sh start DIR   starts it; prints CUPS_SERVER=... for the
#                                         clients (lp, lpstat, Qt's print dialog)
#   scripts/cups-pdf-queue.sh stop DIR    stops it and removes DIR
#
# It listens only on the socket named in DIR/server, leaving any system scheduler
# alone. The one thing outside DIR is cups-pdf's configuration for the queue,
# /etc/cups/cups-pdf-ID.conf, as cups-pdf reads it from nowhere else; stop removes it.
# Needs root (the cups-pdf backend runs as root) and the packages cups,
# cups-client and printer-driver-cups-pdf.
#
# With --or-mark, start that cannot run here (not root, a package missing) writes
# the reason to DIR/unavailable and exits 0, for a test set-up that then skips.
set -euo pipefail

QUEUE=PelmoraPDF
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
BACKEND=/usr/lib/cups/backend/cups-pdf

usage() { echo "usage: $0 start [--or-mark] DIR | stop DIR" >&2; exit 2; }

action=${1:-}
shift || usage
or_mark=false
if [ "$action" = start ] && [ "${1:-}" = --or-mark ]; then
  or_mark=true
  shift
fi
[ $# -eq 1 ] && [ -n "$1" ] || usage
dir=$(realpath -m -- "$1")
# A name for this queue's cups-pdf configuration, fixed for the folder.
id=pelmora-$(printf '%s' "$dir" | cksum | cut -d' ' -f1)
conf=/etc/cups/cups-pdf-$id.conf

stop() {
  [ -f "$dir/.pelmora-cups" ] || return 0
  if [ -f "$dir/pid" ]; then
    pid=$(cat "$dir/pid")
    if [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = /usr/sbin/cupsd ] && kill "$pid" 2>/dev/null; then
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      ! kill -0 "$pid" 2>/dev/null || kill -KILL "$pid"
    fi
  fi
  rm -f "$conf"
  if [ -f "$dir/server" ]; then
    socket=$(cat "$dir/server")
    rm -f "$socket"
    # A socket folder of its own under /tmp, made when DIR's path was too long.
    case "$socket" in /tmp/pelmora-cups.*/cups.sock) rmdir "$(dirname "$socket")" 2>/dev/null || true ;; esac
  fi
  rm -rf "$dir/conf" "$dir/spool" "$dir/cache" "$dir/state" "$dir/log" "$dir/pdfspool" "$dir/out"
  rm -f "$dir/cupsd.conf" "$dir/cups-files.conf" "$dir/pid" "$dir/server" "$dir/env" "$dir/unavailable" \
        "$dir/.pelmora-cups"
  rmdir "$dir" 2>/dev/null || true
}

unavailable() {
  if $or_mark; then
    echo "$1" > "$dir/unavailable"
    echo "cups-pdf-queue: $1; no queue" >&2
    exit 0
  fi
  echo "cups-pdf-queue: $1" >&2
  exit 1
}

case "$action" in
  stop) stop; exit 0 ;;
  start) ;;
  *) usage ;;
esac

stop
mkdir -p "$dir"
touch "$dir/.pelmora-cups"
[ "$(id -u)" -eq 0 ] || unavailable "not root: the cups-pdf backend runs as root"
for f in /usr/sbin/cupsd "$(command -v lpadmin || echo lpadmin)" "$BACKEND" "$PPD"; do
  [ -e "$f" ] || unavailable "$f is missing (packages cups, cups-client, printer-driver-cups-pdf)"
done
# AppArmor's profile for cupsd keeps it to the system's folders.
if grep -qs '^/usr/sbin/cupsd (enforce)' /sys/kernel/security/apparmor/profiles; then
  unavailable "AppArmor confines cupsd to the system's folders"
fi

# The scheduler runs filters as user lp: the folders must be reachable for it.
chmod 755 "$dir"
mkdir -p "$dir"/{conf,spool/tmp,cache,state,log,pdfspool,out}
socket=$dir/cups.sock
if [ ${#socket} -gt 100 ]; then # a socket's path has at most 107 bytes
  socket=$(mktemp -d /tmp/pelmora-cups.XXXXXX)/cups.sock
  chmod 755 "$(dirname "$socket")"
fi
echo "$socket" > "$dir/server"
echo "export CUPS_SERVER=$socket" > "$dir/env"

cat > "$dir/cupsd.conf" <<EOF
LogLevel warn
Listen $socket
Browsing No
WebInterface No
# Administration by root, who is known through the socket's peer credentials.
<Location />
  Order allow,deny
</Location>
<Location /admin>
  AuthType Default
  Require user @SYSTEM
  Order allow,deny
</Location>
EOF
cat > "$dir/cups-files.conf" <<EOF
ServerRoot $dir/conf
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
SystemGroup root
PeerCred on
EOF
# Jobs go to DIR/out, named after the job title (the title from lp -t first).
cat > "$conf" <<EOF
Out $dir/out
AnonDirName $dir/out
Spool $dir/pdfspool
Log $dir/log
Grp root
Label 0
TitlePref 1
EOF

# From here on a failure takes down what was started.
trap 'echo "cups-pdf-queue: start failed" >&2; stop' ERR
setsid /usr/sbin/cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" \
  </dev/null >"$dir/log/cupsd.out" 2>&1 &
echo $! > "$dir/pid"
export CUPS_SERVER=$socket
# lpstat -r exits 0 either way; its words tell.
running() { LC_ALL=C lpstat -r 2>/dev/null | grep -q '^scheduler is running'; }
for _ in $(seq 100); do
  running && break
  [ "$(readlink "/proc/$(cat "$dir/pid")/exe" 2>/dev/null)" = /usr/sbin/cupsd ] || break
  sleep 0.1
done
if ! running; then
  # A machine whose scheduler cannot run here (a container without the rights it
  # needs, say) has no queue; the tests then say so and skip.
  cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
  reason="the scheduler did not start: $(tail -n 1 "$dir/log/error_log" 2>/dev/null || true)"
  trap - ERR
  stop
  mkdir -p "$dir"
  touch "$dir/.pelmora-cups"
  unavailable "$reason"
fi
# lpadmin warns that PPD drivers are deprecated; anything else is an error.
lpadmin -p "$QUEUE" -E -v "cups-pdf:/$id" -P "$PPD" 2> >(grep -v 'drivers are deprecated' >&2)
lpadmin -d "$QUEUE"
echo "CUPS_SERVER=$socket"
