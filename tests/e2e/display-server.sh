# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the run-under scripts: a work folder of their own and a display server in it,
# both gone when the script exits however it exits.
# Usage: start_server NAME LOG READY-COMMAND [argument]... -- SERVER-COMMAND [argument]...
# Starts the server with its output in LOG and waits up to 60 s for READY-COMMAND to succeed.

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-e2e.XXXXXX")
server_pid=
cleanup() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

start_server() {
  local name=$1 log=$2
  shift 2
  local ready=()
  while [ "$1" != -- ]; do
    ready+=("$1")
    shift
  done
  shift
  "$@" >"$log" 2>&1 &
  server_pid=$!
  for _ in $(seq 600); do
    if "${ready[@]}"; then return 0; fi
    if ! kill -0 "$server_pid" 2>/dev/null; then
      echo "$name failed to start:" >&2
      cat "$log" >&2
      exit 1
    fi
    sleep 0.1
  done
  echo "$name was not ready within 60 s" >&2
  exit 1
}
