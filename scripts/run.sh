#!/usr/bin/env bash
# Installs what is missing, builds the program and runs its main job.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=Release -DCURVANA_BUILD_TESTS=OFF
exe=build/release/app/curvana
echo "Expression console: $exe --eval EXPR [NAME=VALUE ...] [--explain]"
for expr in "2x^2-3x+1" "sin(x)+cos(x)" "sqrt(abs(x))*exp(-x^2/4)"; do
    printf '%-28s x=1.5  ->  ' "$expr"
    "$exe" --eval "$expr" x=1.5
done
