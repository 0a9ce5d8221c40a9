#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs the build as the Debian package and lets lintian judge it: no error, no warning.
# Exits 77 (skipped) where lintian is missing.
# Usage: check-lintian.sh <cpack> <build dir> <scratch dir>
set -euo pipefail
cpack=$1 build=$2 scratch=$3

if ! command -v lintian >/dev/null; then
  echo "check-lintian: skipped: lintian is not installed (scripts/debian-packages.txt lists it)"
  exit 77
fi
rm -rf "$scratch"
mkdir -p "$scratch"
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; exit 1; }
debs=("$scratch"/quorvane_*.deb)
[ -f "${debs[0]}" ] || { echo "check-lintian: cpack made no package" >&2; exit 1; }
status=0
lintian --fail-on error,warning --display-info "${debs[0]}" >"$scratch/lintian.out" 2>&1 || status=$?
# Root is told that lintian need not run as root; that line says nothing of the package.
grep -v 'running with root privileges is not recommended' "$scratch/lintian.out" || true
[ "$status" -eq 0 ] || { echo "check-lintian: lintian failed the package (status $status)" >&2; exit 1; }
echo "check-lintian: $(basename "${debs[0]}"): no error and no warning"
