// The page's solver against the native command line, problem by problem:
//   tools/web-test.sh build/cli/parvolin-cli
// sets PARVOLIN_WEB_DIR and PARVOLIN_CLI; skipped without the two.
// PARVOLIN_WEB_CORPUS: how many random problems (500; 20000 takes minutes).
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";
import test from "node:test";
import { fileURLToPath, pathToFileURL } from "node:url";

import { relationSigns } from "../../web/entry.js";
import { loadSolver } from "../../web/solver.js";

const webDir = process.env.PARVOLIN_WEB_DIR;
const cli = process.env.PARVOLIN_CLI;
const skip = !webDir || !cli ? "needs PARVOLIN_WEB_DIR and PARVOLIN_CLI" : false;
const root = path.join(path.dirname(fileURLToPath(import.meta.url)), "../..");

async function webSolver() {
    const dir = path.resolve(webDir);
    // The module, built for the browser too, looks for these in node.
    globalThis.require = createRequire(import.meta.url);
    globalThis.__dirname = dir;
    const { default: createSolver } = await import(pathToFileURL(path.join(dir, "parvolin-solver.js")));
    return loadSolver(createSolver, { wasmBinary: readFileSync(path.join(dir, "parvolin-solver.wasm")) });
}

test("the page's report is the command line's, line for line", { skip }, async () => {
    const solver = await webSolver();
    const size = process.env.PARVOLIN_WEB_CORPUS ?? "500";
    const corpus = execFileSync("python3", [path.join(root, "tests/model/batch_corpus.py"), size, "24"],
                                { encoding: "utf8", maxBuffer: 1 << 28 });
    // A few of the window's own cases before the random ones: a line, no
    // solution, every real number, a text that is not a number, an overflow.
    const input = ["1\t-3\t2\t<\t2", "0\t2\t-1\t>=\t3", "1\t0\t1\t=\t2", "0\t0\t0\t<=\t6", "0\t0\t1\t>\t2",
                   "1\t-\t2\t=\t2", "1,5\t\t\t=\t2", "1E4000\t1\t1\t=\t2", ...corpus.trimEnd().split("\n")];
    let compared = 0;
    for (const separator of [",", "."]) {
        const batch = execFileSync(cli, ["batch", "--sep", separator, "--json"], { input: input.join("\n") + "\n", encoding: "utf8",
                                                                               maxBuffer: 1 << 28 });
        const expected = batch.trimEnd().split("\n").map((line) => JSON.parse(line));
        assert.equal(expected.length, input.length);
        input.forEach((line, i) => {
            const [a, b, c, sign, places] = line.split("\t");
            const result = solver.solve({ a, b, c, relation: relationSigns.indexOf(sign), places: Number(places), separator });
            if (expected[i].lines) {
                assert.deepEqual(result.lines, expected[i].lines, `${separator} ${line}`);
                assert.equal(result.error, null);
                assert.ok(result.graph, line);
            } else {
                assert.equal(result.lines, null, line);
                assert.equal(result.error, expected[i].error.replace(/^line \d+: /, ""), `${separator} ${line}`);
            }
            ++compared;
        });
    }
    assert.equal(compared, 2 * input.length);
});

test("a solve says which field did not convert, and why in Czech", { skip }, async () => {
    const solver = await webSolver();
    const cases = [
        // a, b, c, separator, field
        ["x", "0", "0", ",", 0],
        ["1", "2.5", "0", ",", 1],
        ["1", "2", "-", ".", 2],
    ];
    for (const [a, b, c, separator, field] of cases) {
        const result = solver.solve({ a, b, c, relation: 0, places: 2, separator });
        assert.equal(result.field, field, `${a} ${b} ${c}`);
        assert.match(result.detail, /není číslo/);
        assert.equal(result.lines, null);
    }
});

// The key of the native worksheet with the same number: a practice sitting
// starts with that sheet's problems, and each key answer must be judged right.
function nativeKey(seed, count, args = []) {
    const text = execFileSync(cli, ["worksheet", "--seed", String(seed), "--count", String(count), "--key", ...args],
                              { encoding: "utf8" });
    return text.slice(text.indexOf("Výsledky")).split("\n").filter((line) => /^\d+\)/.test(line))
        .map((line) => line.replace(/^\d+\)\s+/, "").split(":   "));
}

test("practice deals the window's problems, and the key's answers are right", { skip }, async () => {
    const solver = await webSolver();
    for (const [difficulty, args] of [[0, []], [1, ["--difficulty", "large"]]]) {
        const key = nativeKey(4242, 20, args);
        assert.equal(key.length, 20);
        key.forEach(([statement, answer], index) => {
            const problem = solver.practiceProblem({ seed: "4242", generation: 0, index, difficulty, relations: 0, separator: "," });
            const shown = problem.statement.replace(/<sup>2<\/sup>/g, "²").replace(/<[^>]*>/g, "")
                .replaceAll("&lt;", "<").replaceAll("&gt;", ">").replaceAll("&amp;", "&");
            assert.equal(shown, statement, `problem ${index + 1}`);
            const verdict = solver.practiceCheck({ ...problem, answer: answer.replace(/^K = /, ""), separator: "," });
            assert.deepEqual([verdict.verdict, verdict.lead, verdict.message], ["right", "", "Správně!"], `${statement}: ${answer}`);
        });
    }
    // Another generation, as after a change of the choices, deals others.
    const first = solver.practiceProblem({ seed: "4242", generation: 0, index: 0, difficulty: 0, relations: 0, separator: "," });
    const next = solver.practiceProblem({ seed: "4242", generation: 1, index: 0, difficulty: 0, relations: 0, separator: "," });
    assert.notDeepEqual([first.a, first.b, first.c], [next.a, next.b, next.c]);
    // Seeds the page can never send are refused, not read in part.
    for (const seed of ["", "18446744073709551616", "12x", "-1"])
        assert.ok(solver.practiceProblem({ seed, generation: 0, index: 0, difficulty: 0, relations: 0, separator: "," }).error, seed);
});

test("an answer is judged with the window's words, and an unreadable one says where", { skip }, async () => {
    const solver = await webSolver();
    const problem = { a: "1", b: "-3", c: "2", relation: 1, separator: "," }; // x² − 3x + 2 < 0, K = (1 ; 2)
    const cases = [
        // answer, verdict, lead, message start, column
        ["(1 ; 2)", "right", "", "Správně!", 0],
        ["<1 ; 2)", "wrong", "To není správně.", "U čísla 1 má být kulatá závorka", 0],
        ["(1 ; 3)", "wrong", "To není správně.", "Číslo 3 není nulovým bodem", 0],
        ["(1 ; 1,99)", "wrong", "To není správně.", "Číslo 1,99 není nulovým bodem", 0],
        ["(1 ; 2", "unreadable", "", "Na 7. místě má být pravá závorka", 7],
        ["(1 ; \u202e2)", "unreadable", "", "Na 6. místě odpovědi je znak", 6],
        ["", "unreadable", "", "Odpověď je prázdná.", 1],
    ];
    for (const [answer, verdict, lead, message, column] of cases) {
        const result = solver.practiceCheck({ ...problem, answer });
        assert.equal(result.verdict, verdict, answer);
        assert.equal(result.lead, lead, answer);
        assert.ok(result.message.startsWith(message), `${answer}: ${result.message}`);
        if (verdict === "unreadable")
            assert.equal(result.column, column, answer);
    }
});

test("the page's worksheet is the window's sheet, with the key from a new page", { skip }, async () => {
    const solver = await webSolver();
    const quadratic = 0b001111111;
    const sheet = solver.worksheet({ count: 12, kinds: quadratic, relations: 31, difficulty: 0, key: true, steps: true,
                                     number: "4242", day: 9, month: 12, year: 2026, separator: "," });
    assert.equal(sheet.title, "Kvadratické rovnice a nerovnice");
    assert.match(sheet.html, /Datum: 9\. 12\. 2026/);
    const key = sheet.html.indexOf("page-break-before: always");
    assert.ok(key > 0);
    nativeKey(4242, 12).forEach(([statement], i) => {
        const escaped = statement.replaceAll("<", "&lt;").replaceAll(">", "&gt;");
        const at = sheet.html.indexOf(`${i + 1})  ${escaped}`);
        assert.ok(at > 0 && at < key, statement);
    });
    assert.match(sheet.html.slice(key), /Diskriminant/);
    // Nothing chosen is refused rather than taken for everything.
    assert.ok(solver.worksheet({ count: 5, kinds: 0, relations: 31, difficulty: 0, key: false, steps: false, number: "1",
                                 day: 1, month: 1, year: 2027, separator: "," }).error);
});
