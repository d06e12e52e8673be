// The solver in a worker of its own, so that a problem with thousands of
// digits, whose working takes a while, never holds up the page. Messages:
// in {module} once (the compiled wasm, which the page starts fetching as it
// loads), then {id, problem, width, height}; out {ready} once, then
// {id, result} or {id, failed} for each.
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
        self.postMessage({ id: data.id, result: solver.solve(data.problem, data.width, data.height) });
    } catch {
        self.postMessage({ id: data.id, failed: true });
    }
});
