#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command under a private Xvfb of its own and stops the server afterwards.
# Usage: run-under-xvfb.sh [--screen WIDTHxHEIGHT] [--wm openbox] command [argument]...
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
# Without a window manager unless one is asked for, as a test that checks frames needs.
wm=
if [ "${1:-}" = --wm ]; then
  wm=$2
  shift 2
fi

. "$(dirname "$0")/display-server.sh"

# 96 dots per inch as on a plain desktop. The server writes its number and a newline on
# descriptor 3 once it accepts clients.
exec 3>"$work/display"
start_server Xvfb "$work/xvfb.log" grep -q '^[0-9][0-9]*$' "$work/display" -- \
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -dpi 96 -nolisten tcp -noreset
exec 3>&-
display=$(head -n1 "$work/display")

export DISPLAY=":$display"
# The program is tried as it runs on a person's X desktop: no settings of the test
# environment leak into it, except those a test gives it on purpose.
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING \
  QT_FONT_DPI QT_STYLE_OVERRIDE || true
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

wm_pid=
stop_wm() {
  if [ -n "$wm_pid" ]; then
    kill "$wm_pid" 2>/dev/null || true
    wait "$wm_pid" 2>/dev/null || true
  fi
  cleanup
}
if [ -n "$wm" ]; then
  trap stop_wm EXIT
  "$wm" >"$work/wm.log" 2>&1 &
  wm_pid=$!
  # Ready once it names itself on the root window, as every EWMH window manager does.
  for _ in $(seq 600); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then break; fi
    if ! kill -0 "$wm_pid" 2>/dev/null; then
      echo "$wm failed to start:" >&2
      cat "$work/wm.log" >&2
      exit 1
    fi
    sleep 0.1
  done
fi

status=0
"$@" || status=$?
exit "$status"
