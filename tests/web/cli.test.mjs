// The command line built for WebAssembly against the native one, byte for
// byte, output and exit status: the batch output of a fixed 20,000-problem
// corpus with both separators, the working of 2,000 of them, steps, check
// and worksheet, and the separator taken from the locale with no --sep.
//   tools/build-wasm.sh DIR build/cli/parvolin-cli
// sets PARVOLIN_WASM_CLI (DIR/parvolin-cli.js) and PARVOLIN_CLI; skipped
// without the two.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import path from "node:path";
import test from "node:test";
import { fileURLToPath } from "node:url";

const wasm = process.env.PARVOLIN_WASM_CLI;
const native = process.env.PARVOLIN_CLI;
const skip = !wasm || !native ? "needs PARVOLIN_WASM_CLI and PARVOLIN_CLI" : false;
const root = path.join(path.dirname(fileURLToPath(import.meta.url)), "../..");

function bothRun(args, input = "", env = {}) {
    const options = { input, maxBuffer: 1 << 30, env: { ...process.env, ...env } };
    const mine = spawnSync("node", [wasm, ...args], options);
    const theirs = spawnSync(native, args, options);
    return { mine, theirs };
}

function assertSame(name, args, input = "", env = {}) {
    const { mine, theirs } = bothRun(args, input, env);
    assert.equal(mine.status, theirs.status, `${name}: exit status`);
    // A differing output is shown by its first differing line.
    if (!mine.stdout.equals(theirs.stdout) || !mine.stderr.equals(theirs.stderr)) {
        const ours = (mine.stdout.toString() + mine.stderr.toString()).split("\n");
        const native = (theirs.stdout.toString() + theirs.stderr.toString()).split("\n");
        const at = ours.findIndex((line, i) => line !== native[i]);
        assert.fail(`${name}: line ${at + 1} differs:\n  native: ${native[at]}\n  wasm:   ${ours[at]}`);
    }
}

const corpus = skip ? "" : spawnSync("python3", [path.join(root, "tests/model/batch_corpus.py"), "20000", "7"],
                                     { encoding: "utf8", maxBuffer: 1 << 30 }).stdout;

test("batch --json on 20,000 problems, both separators", { skip }, () => {
    assert.equal(corpus.trimEnd().split("\n").length, 20000);
    for (const separator of [",", "."])
        assertSame(`batch --sep ${separator} --json`, ["batch", "--sep", separator, "--json"], corpus);
});

test("the working of 2,000 problems, both separators", { skip }, () => {
    const first = corpus.split("\n").slice(0, 2000).join("\n") + "\n";
    for (const separator of [",", "."])
        assertSame(`batch --sep ${separator} --json --steps`, ["batch", "--sep", separator, "--json", "--steps"], first);
});

test("steps, check, worksheet and a bad command line", { skip }, () => {
    const cases = [
        ["steps", "--sep", ",", "--rel", "<=", "--places", "3", "--json", "--", "2", "-3", "-1"],
        ["steps", "--sep", ".", "--rel", ">", "--", "1", "-0.6", "0.09"],
        ["check", "--sep", ",", "--rel", "<", "--", "1", "-3", "2", "(1; 2)"],
        ["check", "--sep", ",", "--json", "--", "1", "0", "-2", "x = ±√2"],
        ["worksheet", "--count", "60", "--seed", "24", "--key", "--steps", "--sep", ","],
        ["worksheet", "--count", "12", "--seed", "7", "--difficulty", "large", "--key", "--format", "rtf"],
        ["steps", "--places", "9", "--", "1", "2", "3"],
    ];
    for (const args of cases)
        assertSame(args.join(" "), args);
});

test("with no --sep, both take the separator of the environment's locale", { skip }, () => {
    const input = "1\t-3,5\t2\t<\t2\n1\t-3.5\t2\t>=\t3\n";
    for (const locale of ["C", "cs_CZ.UTF-8", "de_DE.UTF-8"])
        assertSame(`batch under ${locale}`, ["batch", "--json"], input, { LC_ALL: locale });
});
