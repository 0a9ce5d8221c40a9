#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
# Every #include of the program's sources against the layout table of the README: a folder
# may include from the folders above it in the table and never from one below it.
# Usage: check-layers.sh SOURCE_DIR
set -euo pipefail
cd "$1"

# The table's folders, top to bottom: its rows begin "| `src/<folder>` |".
mapfile -t order < <(sed -n 's/^| `src\/\([a-z]*\)` |.*/\1/p' README.md)
if [ "${#order[@]}" -lt 2 ]; then
  echo "check-layers: no layout table found in README.md" >&2
  exit 1
fi
declare -A rank
for i in "${!order[@]}"; do
  rank[${order[$i]}]=$i
done

climbs=0
for folder in "${order[@]}"; do
  for file in src/"$folder"/*.h src/"$folder"/*.cpp; do
    [ -e "$file" ] || continue
    while IFS=: read -r line used; do
      if [ -z "${rank[$used]+set}" ]; then
        echo "$file:$line: includes from src/$used, which the README's layout table lacks"
        climbs=$((climbs + 1))
      elif [ "${rank[$used]}" -gt "${rank[$folder]}" ]; then
        echo "$file:$line: src/$folder includes from src/$used, below it in the layout table"
        climbs=$((climbs + 1))
      fi
    done < <(grep -n '^#include "[a-z]*/' "$file" | sed 's/^\([0-9]*\):#include "\([a-z]*\)\/.*/\1:\2/')
  done
done
if [ "$climbs" -gt 0 ]; then
  echo "check-layers: $climbs include(s) against the layout" >&2
  exit 1
fi
echo "check-layers: every include of ${#order[@]} folders keeps to the layout"
