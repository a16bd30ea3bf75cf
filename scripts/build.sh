#!/usr/bin/env bash
# scripts/build.sh DIR [cmake options...]: configures and builds the project into DIR.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
shift
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$dir" "${generator[@]}" "$@" >/dev/null
else
    cmake -S "$root" -B "$dir" "$@" >/dev/null
fi
cmake --build "$dir" --parallel "$(nproc)"
