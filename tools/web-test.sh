#!/usr/bin/env bash
# The page's own tests: builds it (tools/web.sh --no-serve), then runs under
# node's test runner the page's solver module against the native command
# line, and the page served on a free local port in Debian's chromium,
# driven by puppeteer-core, with the axe-core scan; screenshots of every
# view at a phone's and a desktop's width go to build-web-shots/. The two
# come from npm into tests/web/node_modules at the versions its lock file
# names; no browser is downloaded.
#   tools/web-test.sh NATIVE_PARVOLIN_CLI
set -euo pipefail
cd "$(dirname "$0")/.."

native=$(realpath "${1:?usage: tools/web-test.sh NATIVE_PARVOLIN_CLI}")
bash tools/web.sh --no-serve
source tools/page-tools.sh
install_page_test_modules
serve_page "$PWD/build-web"

# Screenshots of every view at 360 and 1280 pixels, to look at.
shots=$PWD/build-web-shots
rm -rf "$shots"
mkdir -p "$shots"
PARVOLIN_WEB_DIR=$PWD/build-web PARVOLIN_CLI=$native PARVOLIN_WEB_URL=$page_address PARVOLIN_WEB_SHOTS=$shots \
    NODE_PATH=$PWD/tests/web/node_modules \
    node --test tests/web/
