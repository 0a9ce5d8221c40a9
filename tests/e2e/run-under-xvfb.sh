#!/usr/bin/env bash
# Runs a command under a private Xvfb of its own and stops the server afterwards.
# Usage: run-under-xvfb.sh [--screen WIDTHxHEIGHT] command [argument]...
# The display number comes from the server itself (-displayfd), since other X servers,
# and other tests, may be running on this machine at the same time.
set -euo pipefail

# Large enough for the window at a screen scale of 2, unless a test asks for a screen of
# its own (a projector's 1920 x 1080).
screen=1800x1300
if [ "${1:-}" = --screen ]; then
  screen=$2
  shift 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-e2e.XXXXXX")
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# 96 dots per inch as on a plain desktop.
Xvfb -displayfd 3 -screen 0 "${screen}x24" -dpi 96 -nolisten tcp -noreset \
  3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!

# The server writes its number and a newline once it accepts clients.
for _ in $(seq 600); do
  if grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null; then break; fi
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "Xvfb failed to start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
  fi
  sleep 0.1
done
display=$(head -n1 "$work/display")
if [ -z "$display" ]; then
  echo "Xvfb did not report its display within 60 s" >&2
  exit 1
fi

export DISPLAY=":$display"
# The program is tried as it runs on a person's X desktop: no settings of the test
# environment leak into it, except those a test gives it on purpose.
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING \
  QT_FONT_DPI QT_STYLE_OVERRIDE || true
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

status=0
"$@" || status=$?
exit "$status"
