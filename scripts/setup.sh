#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages listed in debian-packages.txt that are missing,
# and generates the two locales the tests run under.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
while read -r pkg; do
  [ -z "$pkg" ] && continue
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$pkg")
done < <(grep -v -E '^\s*(#|$)' "$here/debian-packages.txt")

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${#missing[@]} missing Debian packages: ${missing[*]}"
  echo "setup: (a first install on a fresh machine takes a few minutes)"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all Debian packages present"
fi

for loc in cs_CZ en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^${loc}\.utf-\?8$"; then
    echo "setup: generating locale ${loc}.UTF-8"
    "${sudo_cmd[@]}" localedef -i "$loc" -f UTF-8 "${loc}.UTF-8"
  fi
done
