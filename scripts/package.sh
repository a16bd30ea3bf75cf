#!/usr/bin/env bash
# scripts/package.sh: installs what is missing, builds a Release tree in build/package, makes the
# Debian package with CPack (installed under /usr; library dependencies from dpkg-shlibdeps) and
# checks it with lintian, which must report no errors. Install the result with
#     sudo apt install ./build/package/curvana_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh dpkg-dev fakeroot file lintian
bash scripts/build.sh build/package -DCMAKE_BUILD_TYPE=Release -DCURVANA_BUILD_TESTS=OFF \
    -DCURVANA_BUILD_BENCH=OFF
cd build/package
rm -f curvana_*.deb
cpack -G DEB >/dev/null
deb=$(ls curvana_*.deb)
lintian --fail-on error "$deb"
echo "Package: $PWD/$deb"
