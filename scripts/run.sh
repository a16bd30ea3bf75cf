#!/usr/bin/env bash
# Installs what is missing, builds the program and runs its main job: the bundled demo slide
# show in the full-screen slide window. Without a display it draws every slide into pictures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=Release -DCURVANA_BUILD_TESTS=OFF
exe=build/release/app/curvana
show=examples/demo.sld
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Showing $show: $exe $show (Page Down: next slide, Esc: leave the show)"
    exec "$exe" "$show"
fi
out=$root/build/demo-slides
rm -rf "$out"
echo "No display (\$DISPLAY and \$WAYLAND_DISPLAY are unset), so the slides are drawn into pictures instead:"
echo "$exe --export $out $show"
"$exe" --export "$out" "$show"
"$exe" --export "$out" --format pdf "$show" >/dev/null
echo "Pictures: $out/slide-*.png (1920x1080), all slides as one PDF: $out/slides.pdf"
