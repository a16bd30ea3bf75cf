#!/usr/bin/env bash
# Installs what is missing, builds the program and runs its main job: drawing every slide of the
# bundled demo slide show into pictures, without a display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=Release -DCURVANA_BUILD_TESTS=OFF
exe=build/release/app/curvana
show=examples/demo.sld
out=$root/build/demo-slides
rm -rf "$out"
echo "Rendering $show: $exe --export $out $show"
"$exe" --export "$out" "$show"
"$exe" --export "$out" --format pdf "$show" >/dev/null
echo "Pictures: $out/slide-*.png (1920x1080), all slides as one PDF: $out/slides.pdf"
