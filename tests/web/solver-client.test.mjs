// The page's side of the solver's worker, with a worker of our own in place
// of the browser's: a failed module is replaced, and so is a worker stuck on
// an overtaken solve, and what the old one owed goes to the new one.
import assert from "node:assert/strict";
import test from "node:test";

const workers = [];

class FakeWorker {
    constructor() {
        this.listeners = [];
        this.terminated = false;
        this.stuck = false;
        workers.push(this);
    }
    addEventListener(type, listener) {
        if (type === "message")
            this.listeners.push(listener);
    }
    reply(data) {
        setTimeout(() => !this.terminated && this.listeners.forEach((listener) => listener({ data })), 1);
    }
    // "boom" traps, "slow" never ends (and holds up what comes after it, as
    // a worker takes its messages one by one), anything else answers its
    // arguments.
    postMessage(data) {
        if (this.stuck)
            return;
        if ("module" in data)
            this.reply({ ready: true });
        else if (data.call === "boom")
            this.reply({ id: data.id, failed: true });
        else if (data.call === "slow")
            this.stuck = true;
        else
            this.reply({ id: data.id, result: { worker: workers.indexOf(this), args: data.args } });
    }
    terminate() {
        this.terminated = true;
    }
}

globalThis.Worker = FakeWorker;
globalThis.fetch = async () => ({});
WebAssembly.compileStreaming = async () => ({});
const { startSolver } = await import("../../web/solver-client.js");

async function readySolver() {
    workers.length = 0;
    let readyCount = 0;
    const solver = startSolver({ onReady: () => ++readyCount, onFailure: () => assert.fail("no module"),
                                 failedResult: (call) => ({ failed: call }) });
    while (!solver.ready)
        await new Promise((resolve) => setTimeout(resolve, 1));
    return { solver, starts: () => readyCount };
}

test("a worker whose module failed is replaced, and the next call goes to the new one", async () => {
    const { solver, starts } = await readySolver();
    const [failed, queued] = await Promise.all([solver.call("solve", "boom"), solver.call("check", "echo", 7)]);
    assert.deepEqual(failed, { failed: "boom" });
    assert.deepEqual(queued.args, [7]);
    assert.equal(workers[0].terminated, true);
    while (!solver.ready)
        await new Promise((resolve) => setTimeout(resolve, 1));
    assert.equal((await solver.call("solve", "echo", 1)).worker, 1);
    assert.equal(starts(), 2);
});

test("a solve overtaken while the worker is stuck on it: a new worker answers the newest", async () => {
    const { solver } = await readySolver();
    const stuck = solver.call("solve", "slow");
    const newest = solver.call("solve", "echo", 2);
    assert.equal(await stuck, null);
    assert.deepEqual(await newest, { worker: 1, args: [2] });
    assert.equal(workers[0].terminated, true);
});

test("quick overtaken solves resolve to null, with no new worker", async () => {
    const { solver } = await readySolver();
    const results = await Promise.all([1, 2, 3].map((n) => solver.call("solve", "echo", n)));
    assert.deepEqual(results.map((result) => result?.args ?? null), [null, null, [3]]);
    // Other kinds are not overtaken by a solve.
    const [layout, solve] = await Promise.all([solver.call("layout", "echo", 4), solver.call("solve", "echo", 5)]);
    assert.deepEqual([layout.args, solve.args], [[4], [5]]);
    await new Promise((resolve) => setTimeout(resolve, 500));
    assert.equal(workers.length, 1);
});
