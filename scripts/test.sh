#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with warnings as errors and runs the
# whole test suite, then the Qt-free core's tests and the hostile corpus under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/check-format.sh
bash scripts/build.sh build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCURVANA_WERROR=ON -DCURVANA_BUILD_BENCH=ON
(cd build/test && ctest --output-on-failure --parallel "$(nproc)" --timeout 300)
bash scripts/sanitize.sh --core
