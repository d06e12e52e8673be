// The solver in a worker of its own, so that a problem with thousands of
// digits, whose working takes a while, never holds up the page. Messages:
// in {module} once (the compiled wasm, which the page starts fetching as it
// loads), then {id, call, args} with call one of loadSolver's (web/solver.js);
// out {ready} once, then {id, result} or {id, failed} for each. The solver's
// entries never throw: one that does has hit a trap of the module (memory
// gone), after which its state is unknown, so the page starts a new worker.
import createSolver from "./parvolin-solver.js";
import { loadSolver } from "./solver.js";

let receiveModule;
const compiled = new Promise((resolve) => (receiveModule = resolve));
const ready = compiled.then((module) => loadSolver(createSolver, {
    instantiateWasm(imports, receive) {
        WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module));
        return {};
    },
}));

ready.then(() => self.postMessage({ ready: true }), () => self.postMessage({ ready: false }));

self.addEventListener("message", async ({ data }) => {
    if ("module" in data) {
        receiveModule(data.module);
        return;
    }
    try {
        const solver = await ready;
        self.postMessage({ id: data.id, result: solver[data.call](...data.args) });
    } catch {
        self.postMessage({ id: data.id, failed: true });
    }
});
