// The page's field rules and its addresses: node --test tests/web/
import assert from "node:assert/strict";
import test from "node:test";

import { filterKey, filterPaste, problemFromQuery, queryOfProblem } from "../../web/entry.js";

test("a typed key becomes what the field takes", () => {
    const cases = [
        // typed, text before, separator, result
        ["7", "", ",", "7"],
        ["-", "12", ",", "-"],
        ["a", "1", ",", null],
        ["e", "1", ".", null],
        [" ", "1", ",", null],
        [".", "1", ",", ","], // the other separator turns into the chosen one
        [",", "1", ".", "."],
        [",", "", ",", null], // no separator in an empty field
        [",", "1,5", ",", null], // nor a second one
        [".", "1,5", ",", null],
        [",", "1.5", ",", ","], // only the chosen one counts as held
        ["٣", "", ",", null], // a digit of another script
    ];
    for (const [typed, before, separator, expected] of cases)
        assert.equal(filterKey(typed, before, separator), expected, `${typed} after "${before}" (${separator})`);
});

test("a paste goes in whole or not at all", () => {
    const cases = [
        // pasted, field text, text outside the selection, separator, result
        ["2.5", "", "", ",", "2,5"],
        ["2,5,1", "", "", ",", null],
        ["1e5", "", "", ",", null],
        ["1\n", "", "", ",", null],
        [",5", "1", "1", ",", ",5"],
        // the first character is judged against the whole text, the rest
        // against what stays around the selection
        [",5", "1,2", "", ",", null],
        ["5,5", "1,2", "", ",", "5,5"],
    ];
    for (const [pasted, current, around, separator, expected] of cases)
        assert.equal(filterPaste(pasted, current, around, separator), expected, `"${pasted}" into "${current}"`);
});

test("an address names the problem it opens", () => {
    const cases = [
        ["?a=1&b=-3&c=2&rel=lt&n=2", { a: "1", b: "-3", c: "2", relation: 1, places: 2, separator: "," }],
        ["?a=0,5&rel=ge&n=6", { a: "0,5", b: "0", c: "0", relation: 4, places: 6, separator: "," }],
        ["?a=0.5&sep=.&rel=x&n=9", { a: "0.5", b: "0", c: "0", relation: 0, places: 2, separator: "." }],
        ["?a=0.5", { a: "0,5", b: "0", c: "0", relation: 0, places: 2, separator: "," }],
        ["?rel=lt&n=3", null],
        ["", null],
        ["?a=<b>", null],
        ["?a=" + "1".repeat(201), null],
    ];
    for (const [search, expected] of cases)
        assert.deepEqual(problemFromQuery(search), expected, search);
});

test("a problem's address opens the same problem", () => {
    for (const problem of [
        { a: "1", b: "-3", c: "2", relation: 1, places: 2, separator: "," },
        { a: "-0,25", b: "0", c: "1,5", relation: 4, places: 6, separator: "," },
        { a: "2.5", b: "-", c: "0", relation: 3, places: 4, separator: "." },
    ])
        assert.deepEqual(problemFromQuery(queryOfProblem(problem)), problem);
});
