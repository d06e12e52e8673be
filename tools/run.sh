#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Until the window
# exists this is the command-line front; arguments go to it (default: solve
# x^2 - 3x + 2 = 0).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
bash tools/build.sh build
if (($# == 0)); then
    set -- solve 1 -3 2
fi
exec ./build/cli/parvolin-cli "$@"
