#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program: the window when
# there is a display (X11 or Wayland), otherwise a sample solve on the command
# line. Arguments, if any, go to parvolin-cli instead of starting the window.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
bash tools/build.sh build
if (($# > 0)); then
    exec ./build/cli/parvolin-cli "$@"
fi
if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
    # The program looks for its help pages and settings file beside itself.
    exec ./build/ui/parvolin
fi
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window was not started; a sample solve instead:"
exec ./build/cli/parvolin-cli solve 1 -3 2
