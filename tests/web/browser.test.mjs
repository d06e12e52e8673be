// The page in a real browser, Debian's chromium driven by puppeteer-core:
//   tools/web-test.sh build/cli/parvolin-cli
// serves the page and sets PARVOLIN_WEB_URL; skipped without the address. No browser is downloaded: /usr/bin/chromium.
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import test from "node:test";

const address = process.env.PARVOLIN_WEB_URL;
const skip = address ? false : "needs PARVOLIN_WEB_URL (a page served by tools/web.sh)";

async function withBrowser(body) {
    const require = createRequire(import.meta.url);
    const puppeteer = require(require.resolve("puppeteer-core", { paths: (process.env.NODE_PATH ?? "").split(":") }));
    const browser = await puppeteer.launch({ executablePath: "/usr/bin/chromium", headless: true,
                                             args: ["--no-sandbox", "--disable-gpu"] });
    try {
        const page = await browser.newPage();
        const requests = [];
        page.on("request", (request) => requests.push(request.url()));
        await body(page, requests);
    } finally {
        await browser.close();
    }
}

const report = (page) => page.$eval("#report", (element) => element.textContent);
const reportShown = (page) => page.waitForFunction(() => document.querySelector("#report").textContent !== "");

test("the page opens an address solved, takes keys as the window does, and goes back", { skip }, async () => {
    await withBrowser(async (page, requests) => {
        await page.setViewport({ width: 360, height: 800 });
        await page.goto(new URL("?a=1&b=-3&c=2&rel=lt&n=2", address).href);
        await reportShown(page);
        const shown = await page.evaluate(() => performance.getEntriesByName("parvolin-ready")[0].startTime);
        console.log(`first solve shown ${Math.round(shown)} ms after the page started loading`);
        assert.equal(await report(page), ["Řešení nerovnice ", "(1) . x^2 + (-3) . x + (2) < 0", "v oboru reálných čísel",
            "Zadaná kvadratická nerovnice má v oboru reálných čísel řešení .", "x> 1 a zároveň  x< 2.",
            "Množina kořenů: otevřený interval I=( 1 ; 2 ).", "Výpočet byl proveden s přesností na 2desetinnná místa"].join("\n"));
        assert.ok(await page.$eval("#graph svg .dot.open", (dot) => dot !== null));
        assert.ok(await page.$eval("#working", (working) => working.textContent.includes("Diskriminant")));
        assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth), "wider than a phone");

        // Keys as the window's fields take them: a letter is swallowed, the
        // other separator becomes the chosen one, a second one is refused.
        await page.click("#a");
        await page.keyboard.type("2x.5,1");
        assert.equal(await page.$eval("#a", (field) => field.value), "2,51");
        assert.ok(await page.$eval("#live", (live) => live.classList.contains("stale")));
        await page.keyboard.press("Enter");
        await page.waitForFunction(() => location.search.includes("a=2%2C51"));
        assert.match(await report(page), /\(2,51\) \. x\^2/);
        assert.equal(await page.$eval("#live", (live) => live.classList.contains("stale")), false);

        // A text that does not convert: the failure, and the keyboard on its field.
        await page.click("#b");
        await page.keyboard.type("-");
        await page.keyboard.press("Enter");
        await page.waitForFunction(() => !document.querySelector("#failure").hidden);
        assert.match(await page.$eval("#failure", (box) => box.textContent), /Lineární koeficient b: „-“ není číslo/);
        assert.equal(await page.evaluate(() => document.activeElement.id), "b");

        await page.goBack();
        await page.waitForFunction(() => document.querySelector("#a").value === "2,51");
        await page.goBack();
        await page.waitForFunction(() => document.querySelector("#a").value === "1");
        assert.match(await report(page), /\(1\) \. x\^2 \+ \(-3\)/);

        const origin = new URL(address).origin;
        assert.deepEqual(requests.filter((url) => !url.startsWith(origin)), []);
    });
});

test("the page can be installed, and opens offline once it has been visited", { skip }, async () => {
    await withBrowser(async (page) => {
        await page.goto(address);
        await page.evaluate(() => navigator.serviceWorker.ready);
        // The worker controls the page from its next load.
        await page.reload();
        await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
        const browserSide = await page.createCDPSession();
        assert.deepEqual((await browserSide.send("Page.getInstallabilityErrors")).installabilityErrors, []);
        await page.setOfflineMode(true);
        await page.goto(new URL("?a=1&b=0&c=-2&rel=ge&n=3", address).href);
        await reportShown(page);
        assert.match(await report(page), /1,414/);
    });
});

test("an accessibility scan finds nothing, and a phone's width holds the page, solved, with a banner and with a failure", { skip }, async () => {
    const require = createRequire(import.meta.url);
    const axe = require.resolve("axe-core/axe.min.js", { paths: (process.env.NODE_PATH ?? "").split(":") });
    await withBrowser(async (page) => {
        // The scanner comes in as a script of its own, which the page's
        // policy would refuse.
        await page.setBypassCSP(true);
        await page.setViewport({ width: 360, height: 800 });
        for (const query of ["?a=1&b=-3&c=2&rel=lt&n=2", "?a=1&b=-0,6&c=0,09&rel=gt&n=2", "?a=1&b=-&c=0",
                             "?a=2&b=-3&c=-1&rel=le&n=3"]) {
            await page.goto(new URL(query, address).href);
            await page.waitForFunction(() => !document.querySelector("#result").hidden);
            await page.addScriptTag({ path: axe });
            const violations = await page.evaluate(async () => (await window.axe.run()).violations.map((v) => v.id));
            assert.deepEqual(violations, [], query);
            // A wide working scrolls in its own box.
            assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth), query);
        }
    });
});
