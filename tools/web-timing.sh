#!/usr/bin/env bash
# Times the page's first solve: loads an address with a problem in it RUNS
# times (default 10) in headless chromium, each time in a fresh profile (no
# cache, no service worker), and prints the time from the start of loading
# until the report is shown, with the median and the slowest, and the size
# of the page's files, plain and gzip-compressed.
#   tools/web-timing.sh [RUNS]
# PARVOLIN_TIMING_PARTS=1 prints each run's steps (page parsed, wasm
# fetched, solver ready, shown) in ms.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-10}
[[ -f build-web/parvolin-solver.wasm ]] || bash tools/web.sh --no-serve
source tools/page-tools.sh
install_page_test_modules
serve_page "$PWD/build-web"

plain=$(cat build-web/* | wc -c)
packed=0
for file in build-web/*; do
    packed=$((packed + $(gzip -9c "$file" | wc -c)))
done
echo "the page's files: $plain bytes, $packed gzip-compressed"

NODE_PATH=$PWD/tests/web/node_modules node --input-type=module - "$page_address" "$runs" <<'SCRIPT'
import { createRequire } from "node:module";
const require = createRequire(process.env.NODE_PATH + "/");
const puppeteer = require("puppeteer-core");
const [address, runs] = [process.argv[2], Number(process.argv[3])];
const browser = await puppeteer.launch({ executablePath: "/usr/bin/chromium", headless: true, args: ["--no-sandbox"] });
const times = [];
for (let run = 0; run < runs; ++run) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.goto(new URL("?a=1&b=-3&c=2&rel=lt&n=2", address).href);
    await page.waitForFunction(() => performance.getEntriesByName("parvolin-ready").length > 0);
    const [shown, parts] = await page.evaluate(() => {
        const at = (name) => Math.round(performance.getEntriesByName(name)[0]?.startTime ?? NaN);
        const wasm = performance.getEntriesByType("resource").find((entry) => entry.name.endsWith(".wasm"));
        return [performance.getEntriesByName("parvolin-ready")[0].startTime,
                `page parsed ${Math.round(performance.getEntriesByType("navigation")[0].domInteractive)}, ` +
                `wasm fetched ${Math.round(wasm?.responseEnd ?? NaN)}, solver ready ${at("parvolin-solver-ready")}, ` +
                `shown ${at("parvolin-ready")}`];
    });
    times.push(shown);
    if (process.env.PARVOLIN_TIMING_PARTS)
        console.log(parts);
    await context.close();
}
await browser.close();
const sorted = [...times].sort((x, y) => x - y);
console.log("first solve shown (ms):", times.map(Math.round).join(" "));
console.log(`median ${Math.round(sorted[Math.floor(sorted.length / 2)])} ms, slowest ${Math.round(sorted.at(-1))} ms`);
SCRIPT
