// The solver module behind a few calls, each giving the parsed JSON of one
// of its entries: solve(problem, width, height) the report lines or error,
// banner, working and the picture laid out for `width` by `height` pixels;
// practiceProblem, practiceCheck and worksheet as web/exercise_json.h says.
export async function loadSolver(createSolver, options = {}) {
    const module = await createSolver(options);
    // The arguments in the C function's order; each text is copied into the
    // module's memory for the one call. A zero character would end the C
    // text early; no field can hold one.
    const call = (entry, args) => {
        const pointers = [];
        const argument = (value) => {
            if (typeof value !== "string")
                return value;
            const text = value.replaceAll("\0", "");
            const size = module.lengthBytesUTF8(text) + 1;
            const pointer = module._malloc(size);
            module.stringToUTF8(text, pointer, size);
            pointers.push(pointer);
            return pointer;
        };
        try {
            return JSON.parse(module.UTF8ToString(entry(...args.map(argument))));
        } finally {
            pointers.forEach((pointer) => module._free(pointer));
        }
    };
    const dot = (separator) => (separator === "." ? 1 : 0);
    return {
        solve(problem, width = 640, height = 400) {
            return call(module._parvolin_solve, [String(problem.a), String(problem.b), String(problem.c),
                                                 problem.relation, problem.places, dot(problem.separator), width, height]);
        },
        // {seed: decimal text, generation, index, difficulty, relations, separator}
        practiceProblem(p) {
            return call(module._parvolin_practice_problem, [String(p.seed), p.generation, p.index, p.difficulty,
                                                            p.relations, dot(p.separator)]);
        },
        // {a, b, c, relation, answer, separator}
        practiceCheck(p) {
            return call(module._parvolin_practice_check, [String(p.a), String(p.b), String(p.c), p.relation,
                                                          String(p.answer), dot(p.separator)]);
        },
        // {count, kinds, relations (bit sets), difficulty, key, steps, number: text, day, month, year, separator}
        worksheet(w) {
            return call(module._parvolin_worksheet, [w.count, w.kinds, w.relations, w.difficulty, w.key ? 1 : 0,
                                                     w.steps ? 1 : 0, String(w.number), w.day, w.month, w.year,
                                                     dot(w.separator)]);
        },
    };
}
