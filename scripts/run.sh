#!/bin/sh
# Installs what is missing, builds, and opens the Brindle window. To try it,
# pick the texts of sample/reference and the folder sample/data.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup-debian.sh
./scripts/build.sh
if [ -x build/app/brindle ]; then
    exec build/app/brindle
fi
# Without the window (no Qt Widgets): scan the sample from the command line.
exec build/cli/brindle-scan -s "${1:-sample}"
