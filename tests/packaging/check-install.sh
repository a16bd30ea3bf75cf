#!/usr/bin/env bash
# check-install.sh BUILD_DIR PREFIX DEMO: `cmake --install` into PREFIX puts every file in its
# place, and the installed program exports the demo. The help engine's test then opens the
# installed help (Packaging.InstalledHelp).
set -euo pipefail
build=$1 prefix=$2 demo=$3
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
status=0
for file in bin/curvana share/curvana/CVShowHelp.qhc share/curvana/CVShowHelp.qch \
    share/applications/curvana.desktop share/mime/packages/curvana-mime.xml \
    share/icons/hicolor/scalable/apps/curvana.svg share/icons/hicolor/16x16/apps/curvana.png \
    share/icons/hicolor/256x256/apps/curvana.png share/man/man1/curvana.1.gz \
    share/metainfo/org.orvane.curvana.slideshow.metainfo.xml \
    share/curvana/screenshots/slide-01.png share/doc/curvana/copyright; do
    if [ ! -f "$prefix/$file" ]; then
        echo "not installed: $file"
        status=1
    fi
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/curvana" --export "$out" --size 320x180 "$demo"
slides=$(grep -c '<CurvanaDocument' "$demo")
pictures=$(find "$out" -name 'slide-*.png' | wc -l)
if [ "$pictures" -ne "$slides" ]; then
    echo "the installed program wrote $pictures pictures for $slides slides"
    status=1
fi
exit $status
