#!/usr/bin/env bash
# Installs the Debian 12 packages that the build, the tests, the benchmarks and the tools need,
# and any packages named as arguments. Only what is missing is installed, so a second run costs
# a second.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    clang clang-format libclang-rt-dev llvm
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-image-formats-plugins
    qt6-svg-dev qt6-documentation-tools libgl-dev
    libpugixml-dev libjpeg-dev libuemf-dev zlib1g-dev libxml2-utils
    googletest libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev
    fonts-dejavu-core fonts-droid-fallback fonts-liberation2
    xvfb xauth locales
    desktop-file-utils shared-mime-info libglib2.0-bin appstream man-db
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A locale whose decimal separator is a comma, so that the tests of regional numbers run.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
    echo "Generating de_DE.UTF-8"
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
