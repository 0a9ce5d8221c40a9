#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
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

status=0
"$@" || status=$?
exit "$status"
