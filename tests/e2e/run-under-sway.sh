#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a Wayland-only session under sway's headless backend, a compositor that
# offers xdg_activation_v1, which weston 10 does not. sway refuses to start as root, so there
# it runs as nobody in a runtime folder of its own, and the command reaches it by its socket's
# full path. Exits 77 (skipped) where sway is not installed.
# Usage: run-under-sway.sh command [argument]...
set -euo pipefail

if ! command -v sway >/dev/null; then
  echo "sway is not installed (scripts/debian-packages.txt lists it): the activation is not tried"
  exit 77
fi

. "$(dirname "$0")/display-server.sh"

compositor_runtime="$work/compositor"
mkdir -m 700 "$compositor_runtime"
as_user=()
if [ "$(id -u)" = 0 ]; then
  chmod 711 "$work"
  chown 65534:65534 "$compositor_runtime"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
socket_name() {
  ls "$compositor_runtime" | grep -x 'wayland-[0-9]*' | head -n 1
}
socket_ready() {
  local name
  name=$(socket_name) && [ -S "$compositor_runtime/$name" ]
}
start_server sway "$work/sway.log" socket_ready -- \
  env -u DISPLAY -u WAYLAND_DISPLAY HOME="$compositor_runtime" XDG_RUNTIME_DIR="$compositor_runtime" \
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  "${as_user[@]}" sway --config /dev/null

# As on a Wayland desktop without XWayland: the program picks its platform itself.
export WAYLAND_DISPLAY="$compositor_runtime/$(socket_name)"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING \
  QT_FONT_DPI QT_STYLE_OVERRIDE || true

status=0
"$@" || status=$?
exit "$status"
