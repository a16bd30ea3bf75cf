#!/usr/bin/env bash
# check-desktop-entry.sh ENTRY: the desktop entry passes desktop-file-validate with neither
# errors nor warnings (hints are allowed). Exit 77 (skipped) without the validator.
set -euo pipefail
command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate missing"; exit 77; }
output=$(desktop-file-validate "$1" 2>&1) || { echo "$output"; exit 1; }
echo "$output"
if grep -qE '(error|warning):' <<<"$output"; then
    exit 1
fi
