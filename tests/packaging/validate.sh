#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The desktop entry and the AppStream metainfo pass their validators with neither errors nor
# warnings; hints, infos and pedantic remarks are let through.
# Usage: validate.sh desktop FILE | validate.sh metainfo FILE
set -euo pipefail
kind=$1 file=$2
case $kind in
    desktop)  tool=desktop-file-validate; command=(desktop-file-validate "$file"); bad='(error|warning): ' ;;
    metainfo) tool=appstreamcli; command=(appstreamcli validate --no-net --pedantic "$file"); bad='^[EW]: ' ;;
    *) echo "unknown kind $kind"; exit 2 ;;
esac
command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }

status=0
output=$("${command[@]}" 2>&1) || status=$?
printf '%s\n' "${command[*]}" "$output"
[ "$status" -eq 0 ] || { echo "FAIL: $tool exited with $status"; exit 1; }
if grep -E -q "$bad" <<<"$output"; then
    echo "FAIL: $tool reported errors or warnings"
    exit 1
fi
echo "PASS: $file is valid"
