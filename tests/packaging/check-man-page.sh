#!/usr/bin/env bash
# check-man-page.sh PAGE PROGRAM: man formats PAGE without a warning, and the page describes every
# option that `PROGRAM --help` lists. Exit 77 (skipped) without man.
set -euo pipefail
page=$1 program=$2
command -v man >/dev/null || { echo "man missing"; exit 77; }
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
    echo "$warnings"
    exit 1
fi
text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$page" 2>/dev/null | sed 's/.\x08//g')
status=0
for option in $("$program" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    if ! grep -qF -- "$option" <<<"$text"; then
        echo "$page does not describe $option"
        status=1
    fi
done
exit $status
