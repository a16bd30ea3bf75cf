#!/usr/bin/env bash
# check-metainfo.sh BUILT_METAINFO TEMPLATE GENERATOR MIME_PACKAGE: the metainfo as built, and
# the same template with a homepage and screenshot addresses set, pass
# `appstreamcli validate --no-net`, and both provide the MIME type of the MIME package.
# Exit 77 (skipped) without appstreamcli.
set -euo pipefail
built=$1 template=$2 generator=$3 mime_package=$4
command -v appstreamcli >/dev/null || { echo "appstreamcli missing"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
with_urls=$work/org.orvane.curvana.slideshow.metainfo.xml
cmake -DINPUT="$template" -DOUTPUT="$with_urls" -DVERSION=2.0 \
    "-DHOMEPAGE=https://curvana.test/?from=metainfo&x=1" \
    -DSCREENSHOT_URL=https://curvana.test/screenshots/ \
    "-DSCREENSHOTS=slide-01.png;slide-02.png" -P "$generator"
grep -q '<image>https://curvana.test/screenshots/slide-02.png</image>' "$with_urls"

type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime_package")
[ -n "$type" ]
status=0
for file in "$built" "$with_urls"; do
    echo "== $file"
    appstreamcli validate --no-net "$file" || status=1
    if ! grep -q "<mediatype>$type</mediatype>" "$file"; then
        echo "$file does not provide $type"
        status=1
    fi
done
exit $status
