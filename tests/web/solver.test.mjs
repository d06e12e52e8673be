// The page's solver against the native command line, problem by problem:
//   tools/web-test.sh build/cli/parvolin-cli
// sets PARVOLIN_WEB_DIR and PARVOLIN_CLI; skipped without the two.
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
    const corpus = execFileSync("python3", [path.join(root, "tests/model/batch_corpus.py"), "500", "24"], { encoding: "utf8" });
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
