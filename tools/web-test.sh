#!/usr/bin/env bash
# The page's own tests: builds it (tools/web.sh --no-serve), then runs under
# node's test runner the page's solver module against the native command
# line, and the page served on a free local port in Debian's chromium,
# driven by puppeteer-core, with the axe-core scan. The two come from npm
# into tests/web/node_modules at the versions its lock file names; no
# browser is downloaded.
#   tools/web-test.sh NATIVE_PARVOLIN_CLI
set -euo pipefail
cd "$(dirname "$0")/.."

native=$(realpath "${1:?usage: tools/web-test.sh NATIVE_PARVOLIN_CLI}")
bash tools/web.sh --no-serve
if [[ ! -d tests/web/node_modules/puppeteer-core || tests/web/package-lock.json -nt tests/web/node_modules ]]; then
    (cd tests/web && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
    touch tests/web/node_modules
fi

# The server says which port the system gave it on its first line.
work=$(mktemp -d)
server_pid=
cleanup() {
    [[ -z $server_pid ]] || kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
python3 -u -c '
import functools, http.server, sys
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])
handler.func.log_message = lambda *args: None
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
print(server.server_address[1], flush=True)
server.serve_forever()
' "$PWD/build-web" >"$work/port" &
server_pid=$!
for _ in $(seq 100); do
    [[ -s $work/port ]] && break
    sleep 0.1
done
port=$(head -1 "$work/port")
[[ -n $port ]] || { echo "the page's server did not start" >&2; exit 1; }

PARVOLIN_WEB_DIR=$PWD/build-web PARVOLIN_CLI=$native PARVOLIN_WEB_URL=http://127.0.0.1:$port/ \
    NODE_PATH=$PWD/tests/web/node_modules \
    node --test --test-concurrency=1 tests/web/
