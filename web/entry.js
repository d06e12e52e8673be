// The rules of the coefficient fields and the problem in the address, with
// no page around them, so that node can test them.

// What a typed character becomes: digits, '-' and the separators get
// through, the other separator turns into the chosen one, and a separator is
// refused when the text (as it is before the key, a selection not
// considered) already holds one or is empty. null: the key types nothing.
export function filterKey(typed, currentText, separator) {
    return keyInto(typed, currentText.includes(separator), currentText === "", separator);
}

// The same, knowing only what the rule asks of the text before the key.
function keyInto(typed, holdsSeparator, empty, separator) {
    const other = separator === "." ? "," : ".";
    const allowed = (typed >= "0" && typed <= "9") || typed === "-" || typed === "," || typed === ".";
    if (typed.length !== 1 || !allowed)
        return null;
    if (typed === other)
        typed = separator;
    if (typed === separator && (holdsSeparator || empty))
        return null;
    return typed;
}

// The longest text a field holds, as long as the window's fields.
export const maxFieldLength = 32767;

// What pasting inserts: each character as typing it would make it, judged
// against the field's whole text for the first one and against the text
// outside the replaced selection with those already inserted for the rest.
// null when any character would be refused: then nothing is pasted. In one
// pass, so that a pasted megabyte is refused at once.
export function filterPaste(pasted, currentText, textAround, separator) {
    const aroundHolds = textAround.includes(separator);
    let inserted = "";
    let insertedHolds = false;
    for (const character of pasted) {
        const result = inserted === ""
            ? keyInto(character, currentText.includes(separator), currentText === "", separator)
            : keyInto(character, aroundHolds || insertedHolds, false, separator);
        if (result === null)
            return null;
        inserted += result;
        insertedHolds ||= result === separator;
    }
    return inserted;
}

// The relations in the order of the solver's list, as the address names them.
export const relationNames = ["eq", "lt", "gt", "le", "ge"];
export const relationSigns = ["=", "<", ">", "<=", ">="];

// The longest coefficient text an address may bring; a longer one is not a
// problem a teacher sends, and the page does not fill a field with it.
export const maxAddressText = 200;

// The problem in an address's query ("?a=1&b=-3&c=2&rel=lt&n=2&sep=."), or
// null when it names none (no a, b or c). A missing coefficient is "0", a
// missing or unknown relation "=", places outside 2 to 6 are 2, and the
// separator is "," unless it says "."; a coefficient text too long or not
// typeable in the fields is refused (null), as no field could hold it.
export function problemFromQuery(search) {
    const query = new URLSearchParams(search);
    if (!query.has("a") && !query.has("b") && !query.has("c"))
        return null;
    const separator = query.get("sep") === "." ? "." : ",";
    const texts = [];
    for (const name of ["a", "b", "c"]) {
        const text = query.get(name) ?? "0";
        if (text.length > maxAddressText)
            return null;
        const typed = filterPaste(text, "", "", separator);
        if (typed === null)
            return null;
        texts.push(typed);
    }
    const relation = Math.max(0, relationNames.indexOf(query.get("rel")));
    const n = query.get("n");
    const places = /^[2-6]$/.test(n ?? "") ? Number(n) : 2;
    return { a: texts[0], b: texts[1], c: texts[2], relation, places, separator };
}

// The query of an address that opens `problem` solved.
export function queryOfProblem(problem) {
    const query = new URLSearchParams();
    query.set("a", problem.a);
    query.set("b", problem.b);
    query.set("c", problem.c);
    query.set("rel", relationNames[problem.relation]);
    query.set("n", String(problem.places));
    if (problem.separator === ".")
        query.set("sep", ".");
    return "?" + query.toString();
}
