#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package, installs it with apt as a user would, starts the installed
# program on a display of its own, sees its window, leaves through its Exit button, purges
# the package and checks that nothing it installed is left behind.
# Safe to run again: a quorvane package already installed is purged first, and whatever
# happens the package is purged and the processes it started are ended on the way out.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${PACKAGE_BUILD:-build-package}
cd "$repo"

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive

say() { echo "check-package: $*"; }
fail() {
  echo "check-package: FAILED: $*" >&2
  exit 1
}

tmp=$(mktemp -d)
xvfb_pid='' app_pid='' installed_by_us=0
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  if [ "$installed_by_us" = 1 ]; then
    "${sudo_cmd[@]}" apt-get purge -y -qq quorvane >/dev/null 2>&1 || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

is_installed() { dpkg-query -W -f='${Status}' quorvane 2>/dev/null | grep -q 'ok installed'; }

if dpkg-query -W quorvane >/dev/null 2>&1; then
  say "purging a quorvane package left from before"
  "${sudo_cmd[@]}" apt-get purge -y -qq quorvane >/dev/null
fi

say "building the package"
make --no-print-directory package PACKAGE_BUILD="$build"
debs=("$build"/quorvane_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  fail "expected one package in $build/, found: ${debs[*]}"
fi
deb=$(cd "$(dirname "${debs[0]}")" && pwd)/$(basename "${debs[0]}")
say "package $(basename "$deb"): $(stat -c %s "$deb") bytes"
say "Depends: $(dpkg-deb -f "$deb" Depends)"
# Without its Wayland plugin Qt aborts on a desktop that has no X server.
dpkg-deb -f "$deb" Depends | grep -q 'qt6-wayland' || fail "the package does not depend on qt6-wayland"

# Which of the package's paths the system has before the package comes: those may stay.
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's|^\./|/|' -e 's|/$||' | grep -v '^/\?$' |
  sort >"$tmp/contents"
while read -r path; do
  if [ -e "$path" ]; then echo "$path"; fi
done <"$tmp/contents" >"$tmp/existed"

say "installing with apt"
installed_by_us=1
"${sudo_cmd[@]}" apt-get install -y -qq "$deb" >"$tmp/apt-install.log" 2>&1 ||
  { cat "$tmp/apt-install.log" >&2; fail "apt-get install"; }
is_installed || fail "dpkg does not list quorvane as installed"
dpkg -L quorvane | grep -v '^/\.$' | sort >"$tmp/listed"
[ -x /usr/bin/quorvane ] || fail "/usr/bin/quorvane is missing"
diff -u "$tmp/contents" "$tmp/listed" >/dev/null ||
  fail "dpkg -L lists other paths than the package holds: $(diff "$tmp/contents" "$tmp/listed" | tr '\n' ' ')"

# A display of its own: Xvfb picks a free number and tells it through a pipe.
mkfifo "$tmp/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/displayfd" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
read -r -t 30 display_number <"$tmp/displayfd" || { cat "$tmp/xvfb.log" >&2; fail "Xvfb did not start"; }
export DISPLAY=:$display_number
say "Xvfb on $DISPLAY"

# The installed program, as the menu entry starts it; nothing from the build tree.
mkdir -m 700 "$tmp/runtime" "$tmp/home"
env -u QT_QPA_PLATFORM HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/runtime" \
  /usr/bin/quorvane >"$tmp/quorvane.log" 2>&1 &
app_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quorvane' | head -n1) || true
if [ -z "$window" ]; then
  cat "$tmp/quorvane.log" >&2
  fail "no Quorvane window appeared"
fi
say "window '$(xdotool getwindowname "$window")' is shown ($(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p'))"

# Exit sits at (720, 8), 73 x 33, in the window's client area; no window manager frames it.
xdotool mousemove --window "$window" 756 24 click 1
for _ in $(seq 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
  fail "the program did not end after a click on Exit"
fi
status=0
wait "$app_pid" || status=$?
app_pid=''
[ "$status" -eq 0 ] || { cat "$tmp/quorvane.log" >&2; fail "the program ended with status $status"; }
say "Exit ended the program with status 0"
kill "$xvfb_pid" 2>/dev/null || true
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=''

say "purging the package"
"${sudo_cmd[@]}" apt-get purge -y -qq quorvane >"$tmp/apt-purge.log" 2>&1 ||
  { cat "$tmp/apt-purge.log" >&2; fail "apt-get purge"; }
installed_by_us=0
if dpkg-query -W quorvane >/dev/null 2>&1; then
  fail "dpkg still knows quorvane: $(dpkg-query -W -f='${Status}' quorvane)"
fi
left=()
while read -r path; do
  if [ -e "$path" ] || [ -L "$path" ]; then
    grep -qxF "$path" "$tmp/existed" || left+=("$path")
  fi
done <"$tmp/listed"
[ ${#left[@]} -eq 0 ] || fail "left behind: ${left[*]}"
say "passed: installed $(wc -l <"$tmp/listed") paths, ran, and removed them all"
