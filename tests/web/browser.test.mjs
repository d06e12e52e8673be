// The page in a real browser, Debian's chromium driven by puppeteer-core:
//   tools/web-test.sh build/cli/parvolin-cli
// serves the page and sets PARVOLIN_WEB_URL; skipped without the address. No browser is downloaded: /usr/bin/chromium.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
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

        // Text inserted past the window's field length (32,767) goes nowhere.
        await page.click("#c");
        await page.keyboard.sendCharacter("7".repeat(40000));
        assert.equal(await page.$eval("#c", (field) => field.value), "2");

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

test("an accessibility scan finds nothing, and a phone's and a desktop's width hold every view, solved, with a banner and with a failure", { skip }, async () => {
    const require = createRequire(import.meta.url);
    const axe = require.resolve("axe-core/axe.min.js", { paths: (process.env.NODE_PATH ?? "").split(":") });
    await withBrowser(async (page) => {
        // The scanner comes in as a script of its own, which the page's
        // policy would refuse.
        await page.setBypassCSP(true);
        const queries = ["?a=1&b=-3&c=2&rel=lt&n=2", "?a=1&b=-0,6&c=0,09&rel=gt&n=2", "?a=1&b=-&c=0",
                         "?a=2&b=-3&c=-1&rel=le&n=3", "#procvicovani", "#pracovni-list"];
        for (const [width, query] of [360, 1280].flatMap((w) => queries.map((q) => [w, q]))) {
            await page.setViewport({ width, height: 800 });
            await page.goto(new URL(query, address).href);
            await page.waitForFunction(() => !document.querySelector("#result").hidden ||
                document.querySelector("#practice-problem").textContent !== "" ||
                document.querySelector("#ws-preview").textContent !== "");
            await page.addScriptTag({ path: axe });
            const violations = await page.evaluate(async () => (await window.axe.run()).violations.map((v) => v.id));
            assert.deepEqual(violations, [], `${width} ${query}`);
            // A wide working scrolls in its own box.
            assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth), `${width} ${query}`);
            // Pictures to look at, where asked for.
            if (process.env.PARVOLIN_WEB_SHOTS) {
                const name = query.replace(/[^a-z0-9]+/gi, "-").replace(/^-|-$/g, "");
                await page.screenshot({ path: `${process.env.PARVOLIN_WEB_SHOTS}/${width}-${name}.png`, fullPage: true });
            }
        }
    });
});

// The first problems of the native worksheet with this number, and their answers.
function nativeKey(seed, count) {
    const text = execFileSync(process.env.PARVOLIN_CLI, ["worksheet", "--seed", String(seed), "--count", String(count), "--key"],
                              { encoding: "utf8" });
    return text.slice(text.indexOf("Výsledky")).split("\n").filter((line) => /^\d+\)/.test(line))
        .map((line) => line.replace(/^\d+\)\s+/, "").split(":   "));
}

const textOf = (page, selector) => page.$eval(selector, (element) => element.textContent);

test("practice deals the sheet's problems, judges answers typed by keys, and shows the working", {
    skip: skip || (!process.env.PARVOLIN_CLI && "needs PARVOLIN_CLI"),
}, async () => {
    const key = nativeKey(4242, 2);
    await withBrowser(async (page) => {
        await page.setViewport({ width: 360, height: 800 });
        await page.evaluateOnNewDocument(() => localStorage.setItem("parvolin.practiceSeed", "4242"));
        await page.goto(new URL("#procvicovani", address).href);
        await page.waitForFunction(() => document.querySelector("#practice-problem").textContent !== "");
        assert.equal(await textOf(page, "#practice-caption"), "1. příklad – řešte v oboru reálných čísel:");
        assert.equal((await textOf(page, "#practice-problem")).replace("x2", "x²"), key[0][0]);
        assert.equal(await page.evaluate(() => document.activeElement.id), "practice-answer");
        await page.keyboard.type(key[0][1].replace(/^K = /, ""));
        await page.keyboard.press("Enter");
        await page.waitForFunction(() => document.querySelector("#practice-verdict").classList.contains("right"));
        assert.equal(await textOf(page, "#practice-verdict"), "Správně!");
        assert.equal(await textOf(page, "#practice-score"), "Správně vyřešeno: 1 z 1");
        assert.equal(await page.evaluate(() => document.activeElement.id), "practice-next");

        await page.keyboard.press("Enter");
        await page.waitForFunction(() => document.querySelector("#practice-caption").textContent.startsWith("2."));
        assert.equal((await textOf(page, "#practice-problem")).replace("x2", "x²"), key[1][0]);
        await page.keyboard.type("(1 ; 2");
        await page.keyboard.press("Enter");
        await page.waitForFunction(() => document.querySelector("#practice-verdict mark") !== null);
        assert.match(await textOf(page, "#practice-verdict"), /^Na 7\. místě má být pravá závorka/);
        // Unreadable is not counted; the cursor waits where the reader stopped.
        assert.equal(await textOf(page, "#practice-score"), "Správně vyřešeno: 1 z 1");
        assert.deepEqual(await page.$eval("#practice-answer", (field) => [field.selectionStart, field.value.length]), [6, 6]);

        await page.click("#practice-working");
        await page.waitForFunction(() => !document.querySelector("#practice-steps").hidden);
        assert.match(await textOf(page, "#practice-steps"), /Diskriminant/);
        assert.equal(await textOf(page, "#practice-score"), "Správně vyřešeno: 1 z 2");
        assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth), "wider than a phone");
    });
});

test("the worksheet shows its preview, and prints the sheet alone on A4 with the key from a new page", { skip }, async () => {
    await withBrowser(async (page) => {
        await page.setViewport({ width: 360, height: 800 });
        await page.goto(address);
        await page.click("#to-worksheet");
        await page.waitForFunction(() => document.querySelector("#ws-preview").textContent !== "");
        await page.$eval("#ws-number", (field) => field.select());
        await page.keyboard.type("4242");
        await page.click("#ws-key");
        await page.waitForFunction(() => document.querySelector("#ws-preview").textContent.includes("Výsledky k pracovnímu listu č. 4242"));
        assert.match(await textOf(page, "#ws-preview"), /Pracovní list č\. 4242/);
        assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth), "wider than a phone");

        // No kind chosen: said, and nothing to print.
        for (let i = 0; i < 7; ++i)
            await page.click(`#ws-kind-${i}`);
        await page.waitForFunction(() => !document.querySelector("#ws-problem").hidden);
        assert.equal(await textOf(page, "#ws-problem"), "Zaškrtněte aspoň jeden druh úloh.");
        assert.equal(await page.$eval("#ws-print", (button) => button.disabled), true);
        await page.click("#ws-kind-0");
        await page.waitForFunction(() => !document.querySelector("#ws-print").disabled);

        await page.emulateMediaType("print");
        const printed = await page.evaluate(() => ({
            options: getComputedStyle(document.querySelector("#view-worksheet .panel")).display,
            header: getComputedStyle(document.querySelector("header")).display,
            key: [...document.querySelectorAll("#ws-preview p")].find((p) => p.textContent.startsWith("Výsledky"))
                .computedStyleMap?.().get("break-before")?.toString() ?? "",
        }));
        assert.deepEqual([printed.options, printed.header], ["none", "none"]);
        assert.match(printed.key, /page/);
        const pdf = Buffer.from(await page.pdf({ format: "A4" })).toString("latin1");
        assert.ok((pdf.match(/\/Type\s*\/Page[^s]/g) ?? []).length >= 2, "the key on a page of its own");
    });
});
