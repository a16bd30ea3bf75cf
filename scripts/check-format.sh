#!/usr/bin/env bash
# scripts/check-format.sh: fails when a tracked C++ file differs from what clang-format makes of
# it (.clang-format is the authority). Fix with: clang-format -i FILE...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
    # A source tree without git (an unpacked archive): the same files by name.
    mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "check-format: the files above drift from .clang-format; run clang-format -i on them" >&2
    exit 1
fi
