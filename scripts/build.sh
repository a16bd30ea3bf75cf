#!/usr/bin/env bash
# scripts/build.sh DIR [cmake options...]: configures and builds the project into DIR; only the
# targets named in $CURVANA_BUILD_TARGETS (space-separated) when that is set.
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
targets=()
for target in ${CURVANA_BUILD_TARGETS:-}; do
    targets+=(--target "$target")
done
cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
