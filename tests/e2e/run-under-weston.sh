#!/usr/bin/env bash
# Runs a command on a Wayland-only session: weston's headless compositor in a runtime
# directory of its own, no X server. Exits 77 (skipped) where weston is not installed.
# Usage: run-under-weston.sh command [argument]...
set -euo pipefail

if ! command -v weston >/dev/null; then
  echo "weston is not installed (scripts/debian-packages.txt lists it): the Wayland start is not tried"
  exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-wayland.XXXXXX")
weston_pid=
cleanup() {
  if [ -n "$weston_pid" ]; then
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --socket=wayland-quorvane --width=1920 --height=1080 \
  --idle-time=0 >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 600); do
  if [ -S "$XDG_RUNTIME_DIR/wayland-quorvane" ]; then break; fi
  if ! kill -0 "$weston_pid" 2>/dev/null; then
    echo "weston failed to start:" >&2
    cat "$work/weston.log" >&2
    exit 1
  fi
  sleep 0.1
done
if [ ! -S "$XDG_RUNTIME_DIR/wayland-quorvane" ]; then
  echo "weston did not open its socket within 60 s" >&2
  exit 1
fi

# As on a Wayland desktop without XWayland: the program picks its platform itself.
export WAYLAND_DISPLAY=wayland-quorvane
unset DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING \
  QT_FONT_DPI QT_STYLE_OVERRIDE || true

status=0
"$@" || status=$?
exit "$status"
