# Sourced by the page's test and timing scripts.

# puppeteer-core and axe-core from npm into tests/web/node_modules, at the
# versions of its lock file (no browser is downloaded: Debian's chromium).
install_page_test_modules() {
    if [[ ! -d tests/web/node_modules/puppeteer-core || tests/web/package-lock.json -nt tests/web/node_modules ]]; then
        (cd tests/web && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
        touch tests/web/node_modules
    fi
}

# serve_page FOLDER serves the folder on a free local port until the calling
# script ends, and sets page_address to its address.
serve_page() {
    local port_file
    port_file=$(mktemp)
    python3 -u tools/serve-static.py "$1" >"$port_file" &
    page_server_pid=$!
    trap 'kill "$page_server_pid" 2>/dev/null || true' EXIT
    for _ in $(seq 100); do
        [[ -s $port_file ]] && break
        sleep 0.1
    done
    local port
    port=$(head -1 "$port_file")
    rm -f "$port_file"
    [[ -n $port ]] || { echo "the page's server did not start" >&2; return 1; }
    page_address=http://127.0.0.1:$port/
}
