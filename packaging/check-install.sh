#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix, as `cmake --install` would into /usr, and checks
# that the menu entry, the icon, the metainfo and the manual page are where desktops look for them and name
# one another and the program consistently.
# Usage: check-install.sh <cmake> <build dir> <scratch prefix> <app id>
set -euo pipefail
cmake=$1 build=$2 prefix=$3 id=$4

fail() {
  echo "check-install: $*" >&2
  exit 1
}

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

desktop=share/applications/$id.desktop
metainfo=share/metainfo/$id.metainfo.xml
expected=(bin/quorvane "$desktop" "share/icons/hicolor/scalable/apps/$id.svg" "$metainfo"
  share/man/man1/quorvane.1.gz share/doc/quorvane/copyright share/doc/quorvane/changelog.gz)
for f in "${expected[@]}"; do
  [ -f "$prefix/$f" ] || fail "missing $f"
done
[ -x "$prefix/bin/quorvane" ] || fail "bin/quorvane is not executable"

# Nothing else but bitmap copies of the icon.
while read -r f; do
  case " ${expected[*]} " in *" $f "*) continue ;; esac
  [[ $f =~ ^share/icons/hicolor/[0-9]+x[0-9]+/apps/$id\.png$ ]] || fail "unexpected file $f"
done < <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)

# A key of the entry itself, before its actions' groups.
value() { sed -n "/^\[Desktop Action/q; s/^$1=//p" "$prefix/$desktop"; }
exec_cmd=$(value Exec)
[ "$exec_cmd" = quorvane ] || fail "the desktop entry runs '$exec_cmd', not quorvane"
action=$(sed -n '/^\[Desktop Action presentation\]/,/^\[/ s/^Exec=//p' "$prefix/$desktop")
[ "$action" = "quorvane --fullscreen" ] ||
  fail "the desktop entry's presentation action runs '$action', not quorvane --fullscreen"
[ "$(value Icon)" = "$id" ] || fail "the desktop entry's icon is '$(value Icon)', not $id"

grep -q "<id>$id</id>" "$prefix/$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/$metainfo" ||
  fail "the metainfo does not launch $id.desktop"
grep -q "<binary>quorvane</binary>" "$prefix/$metainfo" ||
  fail "the metainfo does not provide the binary quorvane"

echo "check-install: $(cd "$prefix" && find . -type f | wc -l) files installed and consistent"
