// The page's side of the solver's worker (web/solver-worker.js): the wasm is
// fetched and compiled here, beside the worker's own start, and handed to it
// compiled. A call gives a promise of its result. A worker whose module has
// failed, or that is still busy with an overtaken solve when a new one
// comes (a coefficient of a million digits), is ended and a new one started
// from the compiled module, so that the page always answers the newest.

async function compiledSolver() {
    try {
        return await WebAssembly.compileStreaming(fetch("parvolin-solver.wasm"));
    } catch {
        // A host that does not send it as application/wasm.
        const response = await fetch("parvolin-solver.wasm");
        return WebAssembly.compile(await response.arrayBuffer());
    }
}

// onReady(first) on each start of a worker; onFailure when the module cannot
// be loaded at all. `failedResult(call)`: what a call resolves to when its
// worker failed.
const takeOverAfterMs = 400;

export function startSolver({ onReady, onFailure, failedResult }) {
    let module = null;
    let worker = null;
    let ready = false;
    let starts = 0;
    let lastId = 0;
    const pending = new Map(); // id -> {call, kind, args, resolve}
    const newest = new Map(); // kind -> id of its newest request

    function start() {
        worker = new Worker("solver-worker.js", { type: "module" });
        ready = false;
        const own = worker;
        worker.addEventListener("message", ({ data }) => {
            if (own !== worker)
                return;
            if ("ready" in data) {
                ready = data.ready;
                if (ready)
                    onReady(++starts === 1);
                else
                    onFailure();
                return;
            }
            const request = pending.get(data.id);
            pending.delete(data.id);
            if (!request)
                return;
            if (newest.get(request.kind) !== data.id)
                request.resolve(null);
            else if (data.failed)
                request.resolve(failedResult(request.call));
            else
                request.resolve(data.result);
            if (data.failed)
                restart();
        });
        worker.addEventListener("error", () => {
            if (own === worker)
                starts === 0 ? onFailure() : restart();
        });
        // The worker loads its scripts meanwhile; the module follows as
        // soon as it is compiled.
        if (module !== null)
            handOver();
    }

    function handOver() {
        worker.postMessage({ module });
        for (const [id, request] of pending)
            worker.postMessage({ id, call: request.call, args: request.args });
    }

    // A new worker in place of the old one: what the old one still owed is
    // sent to it again, except overtaken requests, which resolve to null.
    function restart() {
        worker.terminate();
        for (const [id, request] of [...pending]) {
            if (newest.get(request.kind) !== id) {
                pending.delete(id);
                request.resolve(null);
            }
        }
        start();
    }

    start();
    compiledSolver().then((compiled) => {
        module = compiled;
        handOver();
    }, () => onFailure());

    return {
        get ready() {
            return ready;
        },
        // `kind` groups requests of which only the newest counts (a solve, a
        // new layout of the picture); an overtaken one resolves to null.
        call(kind, call, ...args) {
            const id = ++lastId;
            newest.set(kind, id);
            const promise = new Promise((resolve) => pending.set(id, { call, kind, args, resolve }));
            if (module !== null)
                worker.postMessage({ id, call, args });
            // A worker still busy with an overtaken request after a moment
            // may be on a very long one: a new worker takes over.
            setTimeout(() => {
                const stuck = [...pending].some(([other, request]) => other < id && newest.get(request.kind) !== other);
                if (pending.has(id) && stuck)
                    restart();
            }, takeOverAfterMs);
            return promise;
        },
    };
}
