#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs painted_live on a virtual X server of its own; skipped (77) where
# Xvfb is not installed.
#   painted_live.sh <painted_live> [out.png]
set -u
command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb is not installed"; exit 77; }
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
server=$!
read -r display <"$fifo"
rm -f "$fifo"
[ -n "$display" ] || { kill "$server"; echo "Xvfb did not start"; exit 1; }
DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$@"
status=$?
kill "$server"
wait "$server" 2>/dev/null
exit $status
