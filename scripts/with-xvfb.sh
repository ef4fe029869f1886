#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a private Xvfb display, with Qt on its xcb platform, and
# stops the server afterwards. What only a real X server shows (the clipboard
# and primary selection, for one) is tested this way.
#
#   scripts/with-xvfb.sh COMMAND [ARG...]
#
# Where Xvfb cannot start, the command still runs, on Qt's offscreen platform,
# with PELMORA_XVFB_UNAVAILABLE holding the reason, so its tests can skip.
set -u
[ $# -ge 1 ] || { echo "usage: $0 COMMAND [ARG...]" >&2; exit 2; }

unavailable() {
  export PELMORA_XVFB_UNAVAILABLE="$1" QT_QPA_PLATFORM=offscreen
  shift
  exec "$@"
}

command -v Xvfb >/dev/null 2>&1 || { unavailable "Xvfb is not installed (apt-get install xvfb)" "$@"; }

tmp=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$tmp"' EXIT
# -displayfd picks a free display and writes its number once the server is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/log" &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$tmp/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$tmp/display" ]; then
  reason="Xvfb did not start: $(tail -n 1 "$tmp/log" 2>/dev/null)"
  kill "$xvfb" 2>/dev/null
  trap - EXIT
  rm -rf "$tmp"
  unavailable "$reason" "$@"
fi
DISPLAY=":$(head -n 1 "$tmp/display")" QT_QPA_PLATFORM=xcb "$@"
