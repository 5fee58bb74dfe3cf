#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages Brindle needs to build, run and test,
# skipping those already present. Run as root or through sudo.
set -eu

# locales: the scanner's locale test makes de_DE.UTF-8 from its sources.
PACKAGES="build-essential cmake ninja-build pkg-config
qt6-base-dev qt6-base-dev-tools libgl-dev
libgtest-dev libgmock-dev libbenchmark-dev
xvfb xauth python3
clang clang-format libclang-rt-14-dev ccache
file dpkg-dev groff-base desktop-file-utils appstream locales
slurm-wlm munge"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    echo "Installing:$missing"
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
fi
