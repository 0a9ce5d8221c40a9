#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a Wayland-only session: weston's headless compositor in a runtime
# directory of its own, no X server. Exits 77 (skipped) where weston is not installed.
# Usage: run-under-weston.sh command [argument]...
set -euo pipefail

if ! command -v weston >/dev/null; then
  echo "weston is not installed (scripts/debian-packages.txt lists it): the Wayland start is not tried"
  exit 77
fi

. "$(dirname "$0")/display-server.sh"

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_server weston "$work/weston.log" test -S "$XDG_RUNTIME_DIR/wayland-quorvane" -- \
  weston --backend=headless-backend.so --socket=wayland-quorvane --width=1920 --height=1080 \
  --idle-time=0

# As on a Wayland desktop without XWayland: the program picks its platform itself.
export WAYLAND_DISPLAY=wayland-quorvane
unset DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING \
  QT_FONT_DPI QT_STYLE_OVERRIDE || true

status=0
"$@" || status=$?
exit "$status"
