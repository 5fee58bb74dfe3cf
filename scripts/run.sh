#!/bin/sh
# Installs what is missing, builds, and starts Brindle.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup-debian.sh
./scripts/build.sh
if [ -x build/app/brindle ]; then
    exec build/app/brindle "$@"
fi
# Without the window yet: scan the sample folder from the command line.
exec build/cli/brindle-scan -s "${1:-sample}"
