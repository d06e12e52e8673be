// The solver module behind one call: solve(problem, width, height) gives the
// parsed JSON of the solver's one solve (report lines or error, banner,
// working, and the picture laid out for `width` by `height` pixels).
export async function loadSolver(createSolver, options = {}) {
    const module = await createSolver(options);
    const text = (value) => {
        const size = module.lengthBytesUTF8(value) + 1;
        const pointer = module._malloc(size);
        module.stringToUTF8(value, pointer, size);
        return pointer;
    };
    return {
        solve(problem, width = 640, height = 400) {
            // A zero character would end the C text early; no field can hold one.
            const texts = [problem.a, problem.b, problem.c].map((t) => text(String(t).replaceAll("\0", "")));
            try {
                const result = module._parvolin_solve(texts[0], texts[1], texts[2], problem.relation,
                                                      problem.places, problem.separator === "." ? 1 : 0, width, height);
                return JSON.parse(module.UTF8ToString(result));
            } finally {
                texts.forEach((pointer) => module._free(pointer));
            }
        },
    };
}
