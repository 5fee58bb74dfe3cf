#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and opens the Brindle window. To try it,
# pick the texts of sample/reference and the folder sample/data.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup-debian.sh
./scripts/build.sh
exec build/app/brindle
