#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual page and `quorvane --help` name the same options, and the page renders without
# warnings.
# Usage: check-manpage.sh <quorvane> <quorvane.1>
set -euo pipefail
program=$1 page=$2

options() { grep -o -E -- '(^|[^a-z0-9.-])--?[a-z]+' | grep -o -E -- '--?[a-z]+' | sort -u; }
from_help=$("$program" --help | options)
from_page=$(sed -e '/^\.\\"/d' -e 's/\\-/-/g' "$page" | options)
if [ "$from_help" != "$from_page" ]; then
  echo "check-manpage: --help and the manual page name different options:" >&2
  diff <(echo "$from_help") <(echo "$from_page") >&2 || true
  exit 1
fi
# Both say under which licence the program may be shared.
for text in "$("$program" --version)" "$(sed 's/\\-/-/g' "$page")"; do
  grep -q 'GPL-3.0-or-later' <<<"$text" ||
    { echo "check-manpage: --version or the page does not name the licence" >&2; exit 1; }
done
warnings=$(groff -man -ww -z "$page" 2>&1)
if [ -n "$warnings" ]; then
  echo "check-manpage: $warnings" >&2
  exit 1
fi
echo "check-manpage: both name $(echo "$from_help" | wc -l) options: $(echo $from_help)"
