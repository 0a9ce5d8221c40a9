#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
# A whole default run at each zoom as the X server sees it, under a private Xvfb of
# 3840 x 2160 (larger where a zoom needs it): a fresh program per run, Start clicked and
# every update timed by quorvane_damage. Prints each run's line and, per zoom, the median
# of each figure.
# Usage: bench/damage-run.sh [BUILD-DIR] [RUNS] [ZOOM]...
set -euo pipefail

build=${1:-build}
runs=${2:-5}
shift 2 || shift $#
zooms=("$@")
[ ${#zooms[@]} -gt 0 ] || zooms=(1 2 3 3.5)

here=$(cd "$(dirname "$0")" && pwd)
program=$build/src/quorvane
listener=$build/bench/quorvane_damage

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for zoom in "${zooms[@]}"; do
  # Zoom 4 (3200 x 2324) does not fit 2160 rows.
  screen=3840x2160
  awk -v z="$zoom" 'BEGIN { exit !(z > 3.5) }' && screen=3840x2400
  "$here/../tests/e2e/run-under-xvfb.sh" --screen "$screen" bash -c '
    program=$1 listener=$2 zoom=$3 runs=$4
    for run in $(seq "$runs"); do
      "$program" --zoom "$zoom" 2>/dev/null &
      pid=$!
      window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Quorvane" | head -n1)
      sleep 1.5
      "$listener" "$window" "$zoom"
      kill "$pid"
      wait "$pid" 2>/dev/null || true
    done' _ "$program" "$listener" "$zoom" "$runs" | tee /tmp/quorvane-damage-$$.txt
  f() { awk -v key="$1" '{ for (i = 1; i < NF; ++i) if ($i == key) print $(i + 1) }' \
    /tmp/quorvane-damage-$$.txt | median; }
  echo "zoom $zoom median: run $(f run) ms, longest interval $(f longest) ms," \
    "release to first $(f release-to-first) ms, last step to completion $(f step-to-end) ms"
  rm -f /tmp/quorvane-damage-$$.txt
done
