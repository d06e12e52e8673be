// The page: the fields and their rules, the solve, the report, the banner,
// the picture and the working, and the problem in the address.
import { filterKey, filterPaste, maxFieldLength, problemFromQuery, queryOfProblem } from "./entry.js";
import { graphSvg } from "./graph.js";
import { startPractice } from "./practice.js";
import { startSolver } from "./solver-client.js";
import { readStored, store } from "./storage.js";
import { startWorksheet } from "./worksheet.js";

const $ = (id) => document.getElementById(id);
const fields = [$("a"), $("b"), $("c")];
const separatorKey = "parvolin.separator";
let solvedProblem = null;
// The address's query the page shows the problem of.
let addressShown = null;

// --- The solver, in its worker -----------------------------------------------------

const internalFailure = "V programu nastala neočekávaná vnitřní chyba.";
const solver = startSolver({
    onReady: (first) => first && whenReady(),
    onFailure: () => failedToLoad(),
    failedResult: (call) => call === "solve"
        ? { lines: null, error: internalFailure, detail: "", field: null, banner: "", working: null, graph: null }
        : { error: internalFailure },
});

function chosenSeparator() {
    return document.querySelector('input[name="sep"]:checked').value;
}

function setSeparator(separator) {
    for (const radio of document.querySelectorAll('input[name="sep"]'))
        radio.checked = radio.value === separator;
}

function currentProblem() {
    return {
        a: fields[0].value,
        b: fields[1].value,
        c: fields[2].value,
        relation: Number($("rel").value),
        places: Number($("places").value),
        separator: chosenSeparator(),
    };
}

function sameProblem(one, other) {
    return one !== null && other !== null && ["a", "b", "c", "relation", "places", "separator"].every((k) => one[k] === other[k]);
}

function fillFields(problem) {
    fields[0].value = problem.a;
    fields[1].value = problem.b;
    fields[2].value = problem.c;
    $("rel").value = String(problem.relation);
    $("places").value = String(problem.places);
    setSeparator(problem.separator);
}

// --- The fields' rules --------------------------------------------------------

// Typing goes through filterKey, pasting through filterPaste, drops are
// refused; what the filter changes (the other separator) is inserted in
// its place.
function guardField(field) {
    let accepted = field.value;
    field.addEventListener("beforeinput", (event) => {
        accepted = field.value;
        const { inputType, data } = event;
        if (inputType === "insertText" || inputType === "insertReplacementText" || inputType === "insertFromPaste") {
            const text = data ?? event.dataTransfer?.getData("text/plain") ?? "";
            const before = field.value;
            const around = before.slice(0, field.selectionStart) + before.slice(field.selectionEnd);
            let inserted = inputType === "insertText" && text.length === 1
                ? filterKey(text, before, chosenSeparator())
                : filterPaste(text, before, around, chosenSeparator());
            // Past the field's length nothing goes in.
            if (inserted !== null && around.length + inserted.length > maxFieldLength)
                inserted = null;
            if (inserted === text)
                return;
            event.preventDefault();
            if (inserted !== null && inserted !== "") {
                field.setRangeText(inserted, field.selectionStart, field.selectionEnd, "end");
                field.dispatchEvent(new Event("input", { bubbles: true }));
            }
        } else if (inputType === "insertFromDrop") {
            event.preventDefault();
        }
    });
    // A phone's keyboard may compose text past the checks above, which
    // cannot refuse it: an insertion that leaves a text the rules could not
    // have typed is taken back. Deleting is always allowed.
    field.addEventListener("input", (event) => {
        if (event.inputType?.startsWith("insert") &&
            (field.value.length > maxFieldLength || filterPaste(field.value, "", "", chosenSeparator()) !== field.value))
            field.value = accepted;
        accepted = field.value;
    });
    field.addEventListener("drop", (event) => event.preventDefault());
    // A field entered by a click or by Tab has its whole text selected, so
    // that typing replaces it.
    field.addEventListener("focus", () => {
        accepted = field.value; // the page may have filled it in meanwhile
        field.select();
    });
    field.addEventListener("mouseup", (event) => {
        if (field.dataset.justFocused === "1") {
            field.dataset.justFocused = "";
            if (field.selectionStart === field.selectionEnd)
                event.preventDefault();
        }
    });
    field.addEventListener("mousedown", () => {
        if (document.activeElement !== field)
            field.dataset.justFocused = "1";
    });
}

// --- Showing a result ---------------------------------------------------------

function showBanner(text) {
    const banner = $("banner");
    banner.replaceChildren();
    banner.hidden = text === "";
    if (text === "")
        return;
    // "záložka Postup" leads to the working.
    const tab = "záložka Postup";
    const at = text.indexOf(tab);
    if (at < 0) {
        banner.textContent = text;
        return;
    }
    const link = document.createElement("a");
    link.href = "#postup";
    link.textContent = tab;
    link.addEventListener("click", (event) => {
        event.preventDefault();
        $("postup").focus();
        $("postup").scrollIntoView({ behavior: "smooth" });
    });
    banner.append(text.slice(0, at), link, text.slice(at + tab.length));
}

function showResult(problem, result) {
    $("result").hidden = false;
    showBanner(result.banner);
    const failure = $("failure");
    failure.hidden = result.error === null;
    $("failure-text").textContent = result.error ?? "";
    $("failure-detail").textContent = result.detail ?? "";
    $("report").textContent = result.lines ? result.lines.join("\n") : "";
    $("report").hidden = !result.lines;

    $("graph-section").hidden = !result.graph;
    if (result.graph) {
        // The picture is made of the solver's numbers and labels alone,
        // escaped by graphSvg.
        $("graph").innerHTML = graphSvg(result.graph);
        $("graph-caption").textContent = result.graph.caption;
        $("graph-caption").hidden = result.graph.caption === "";
    }
    $("postup").hidden = result.working === null;
    // The working is the solver's HTML, which escapes every text it quotes;
    // the coefficients in it are numbers the parser has read.
    $("working").innerHTML = result.working ?? "";

    solvedProblem = problem;
    markStale();
    if (result.field !== null) {
        fields[result.field].focus();
        fields[result.field].select();
    }
}

function clearResult() {
    for (const id of ["result", "graph-section", "postup"])
        $(id).hidden = true;
    solvedProblem = null;
    markStale();
}

// Once the problem differs from the one solved, the results are paled and
// say so until the next solve; an edit undone takes the mark away.
function markStale() {
    const stale = solvedProblem !== null && !sameProblem(solvedProblem, currentProblem());
    for (const id of ["live", "graph-section", "postup"])
        $(id).classList.toggle("stale", stale);
}

// The picture's size: the width its panel gives it, five eighths of that
// high (at most three quarters of the window's height).
function pictureSize() {
    $("graph-section").hidden = false;
    const width = Math.max(160, Math.floor($("graph").clientWidth));
    const height = Math.max(200, Math.min(Math.round(width * 0.625), Math.round(window.innerHeight * 0.75)));
    return [width, height];
}

// Before the solver is ready the request waits for it (the problem of the
// address is asked for as the page starts).
async function solve(problem, historyMode) {
    $("live").setAttribute("aria-busy", "true");
    const result = await solver.call("solve", "solve", problem, ...pictureSize());
    if (result === null)
        return;
    $("live").removeAttribute("aria-busy");
    showResult(problem, result);
    const query = queryOfProblem(problem);
    if (historyMode === "push" && location.search !== query)
        history.pushState(null, "", query);
    else if (historyMode === "replace")
        history.replaceState(null, "", query + location.hash);
    addressShown = location.search;
}

function openFromAddress(historyMode) {
    addressShown = location.search;
    const problem = problemFromQuery(location.search);
    if (problem === null) {
        clearResult();
        return Promise.resolve();
    }
    fillFields(problem);
    return solve(problem, historyMode);
}

// --- The views --------------------------------------------------------------------

// The address's fragment names the view: "#procvicovani", "#pracovni-list",
// anything else the solver's.
const views = { solve: $("view-solve"), practice: $("view-practice"), worksheet: $("view-worksheet") };
const viewLinks = { solve: $("to-solve"), practice: $("to-practice"), worksheet: $("to-worksheet") };
let practice = null;
let worksheet = null;

function viewOfAddress() {
    return location.hash === "#procvicovani" ? "practice" : location.hash === "#pracovni-list" ? "worksheet" : "solve";
}

function showView() {
    const view = viewOfAddress();
    for (const [name, element] of Object.entries(views)) {
        element.hidden = name !== view;
        if (name === view)
            viewLinks[name].setAttribute("aria-current", "page");
        else
            viewLinks[name].removeAttribute("aria-current");
    }
    document.body.dataset.view = view;
    if (!solver.ready)
        return;
    if (view === "practice")
        practice.open();
    else if (view === "worksheet")
        worksheet.open();
}

// --- Wiring ---------------------------------------------------------------------

function start() {
    practice = startPractice({ $, solver, chosenSeparator });
    worksheet = startWorksheet({ $, solver, chosenSeparator });
    window.addEventListener("hashchange", showView);
    showView();
    fields.forEach(guardField);
    const stored = readStored(separatorKey);
    if (stored === "." || stored === ",")
        setSeparator(stored);

    $("problem").addEventListener("submit", (event) => {
        event.preventDefault();
        solve(currentProblem(), "push");
    });
    // Enter on a list runs the solve, as it does in a field.
    for (const select of [$("rel"), $("places")]) {
        select.addEventListener("keydown", (event) => {
            if (event.key === "Enter" && !event.shiftKey && !event.ctrlKey && !event.altKey) {
                event.preventDefault();
                solve(currentProblem(), "push");
            }
        });
    }
    $("problem").addEventListener("input", markStale);
    $("problem").addEventListener("change", markStale);
    for (const radio of document.querySelectorAll('input[name="sep"]')) {
        radio.addEventListener("change", () => {
            const separator = chosenSeparator();
            store(separatorKey, separator);
            // The texts already typed take the new separator.
            const other = separator === "." ? "," : ".";
            for (const field of fields)
                field.value = field.value.replaceAll(other, separator);
            markStale();
            worksheet.separatorChanged();
        });
    }
    $("new").addEventListener("click", () => {
        for (const field of fields)
            field.value = "0";
        clearResult();
        // The address names no problem any more; back brings the solved one.
        if (location.search !== "") {
            history.pushState(null, "", location.pathname);
            addressShown = location.search;
        }
        fields[0].focus();
    });
    $("copy-link").addEventListener("click", async () => {
        try {
            await navigator.clipboard.writeText(location.href);
            $("copied").textContent = "Odkaz je ve schránce.";
        } catch {
            $("copied").textContent = "Odkaz: " + location.href;
        }
    });
    // Back and forward: a new problem in the address opens it; a move
    // between views alone (the fragment) leaves the solved one as it is.
    window.addEventListener("popstate", () => {
        if (location.search !== addressShown)
            openFromAddress("none");
    });
    // A new width lays the picture out again (a solve takes milliseconds).
    let lastWidth = 0;
    new ResizeObserver(async () => {
        const width = $("graph").clientWidth;
        if (solver.ready && solvedProblem && !$("graph-section").hidden && Math.abs(width - lastWidth) >= 1) {
            lastWidth = width;
            const problem = solvedProblem;
            const result = await solver.call("layout", "solve", problem, ...pictureSize());
            if (result?.graph && problem === solvedProblem)
                $("graph").innerHTML = graphSvg(result.graph);
        }
    }).observe($("graph"));
}

function whenReady() {
    $("solve").disabled = false;
    $("loading").hidden = true;
    // When the solver was ready, for a measurement in a browser.
    performance.mark("parvolin-solver-ready");
    showView();
}

function failedToLoad() {
    $("loading").textContent = "Výpočetní jádro se nepodařilo načíst; tento prohlížeč WebAssembly nejspíš nepodporuje.";
}

start();
// The problem of the address, solved as soon as the solver is ready; the
// mark measures that from the start of loading.
openFromAddress("replace").then(() => performance.mark("parvolin-ready"));

if ("serviceWorker" in navigator)
    navigator.serviceWorker.register("sw.js").catch(() => {});
