#!/usr/bin/env bash
# Runs a command with DISPLAY pointing at a private Xvfb (GLX on Mesa
# llvmpipe), then stops the server. Usage: with-xvfb.sh COMMAND ARGS...
set -euo pipefail

if [ "$#" -lt 1 ]; then
  echo "usage: with-xvfb.sh COMMAND [ARGS...]" >&2
  exit 2
fi

# -displayfd lets Xvfb choose a free display number and tells us which.
fifo_dir=$(mktemp -d)
mkfifo "$fifo_dir/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp +extension GLX \
  3>"$fifo_dir/display" >"$fifo_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
stop_xvfb() {
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$fifo_dir"
}
trap stop_xvfb EXIT

display=""
if ! read -r -t 30 display <"$fifo_dir/display" || [ -z "$display" ]; then
  echo "with-xvfb.sh: Xvfb did not start:" >&2
  cat "$fifo_dir/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$display"

status=0
"$@" || status=$?
exit "$status"
