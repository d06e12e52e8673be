// Pracovní list: the options of the window's dialog, a preview of the sheet
// as the solver sets it, and printing from the browser on A4 (the print
// style sheet leaves the sheet alone on the paper, the key from a new page).
// The choices are kept in the page's storage; the sheet's number is not, as
// it names one sheet.
import { readStored, store } from "./storage.js";

const choicesKey = "parvolin.worksheet";
const kindCount = 9;
const quadraticKinds = 0b001111111; // all but linear and constant

const noKind = "Zaškrtněte aspoň jeden druh úloh.";
const noRelation = "Zaškrtněte aspoň jednu rovnici nebo nerovnici.";
const noNumber = "Napište číslo listu: stejné číslo dá vždy stejné úlohy.";

// Six digits, easy to copy from the sheet, as the window's dialog draws them.
function randomNumber() {
    return String(100000 + (crypto.getRandomValues(new Uint32Array(1))[0] % 900000));
}

function bits(boxes) {
    return boxes.reduce((set, box, i) => (box.checked ? set | (1 << i) : set), 0);
}

function readChoices() {
    try {
        const stored = JSON.parse(readStored(choicesKey) ?? "null");
        return stored !== null && typeof stored === "object" ? stored : {};
    } catch {
        return {};
    }
}

export function startWorksheet({ $, solver, chosenSeparator }) {
    const kinds = [...Array(kindCount).keys()].map((i) => $("ws-kind-" + i));
    const relations = [...Array(5).keys()].map((i) => $("ws-relation-" + i));
    const count = $("ws-count");
    const number = $("ws-number");
    const preview = $("ws-preview");
    let shownNumber = null;

    // A stored value of the wrong kind gives that choice's default.
    const stored = readChoices();
    const storedCount = Number(stored.count);
    count.value = Number.isInteger(storedCount) && storedCount >= 1 && storedCount <= 60 ? String(storedCount) : "20";
    $("ws-difficulty").value = stored.difficulty === 1 ? "1" : "0";
    const kindSet = Number.isInteger(stored.kinds) && (stored.kinds & ((1 << kindCount) - 1)) !== 0 ? stored.kinds : quadraticKinds;
    kinds.forEach((box, i) => (box.checked = (kindSet >> i) & 1));
    const relationSet = Number.isInteger(stored.relations) && (stored.relations & 31) !== 0 ? stored.relations : 31;
    relations.forEach((box, i) => (box.checked = (relationSet >> i) & 1));
    $("ws-key").checked = stored.key === true;
    $("ws-steps").checked = stored.steps === true;
    number.value = randomNumber();

    function keep(problems) {
        store(choicesKey, JSON.stringify({
            count: problems, difficulty: Number($("ws-difficulty").value), kinds: bits(kinds),
            relations: bits(relations), key: $("ws-key").checked, steps: $("ws-steps").checked,
        }));
    }

    function refuse(message) {
        $("ws-problem").textContent = message;
        $("ws-problem").hidden = false;
        $("ws-print").disabled = true;
        preview.replaceChildren();
        shownNumber = null;
    }

    // Each change asks again; a sheet that comes after a later change (or
    // after a refusal) is not shown.
    let asked = 0;
    async function update() {
        const mine = ++asked;
        $("ws-steps").disabled = !$("ws-key").checked;
        // A count being typed (the field empty for a moment) leaves the
        // sheet as it is; one out of range is taken as the nearest allowed.
        const wanted = Math.trunc(Number(count.value));
        if (count.value.trim() === "" || !Number.isFinite(wanted))
            return;
        const problems = Math.min(60, Math.max(1, wanted));
        if (bits(kinds) === 0)
            return refuse(noKind);
        if (bits(relations) === 0)
            return refuse(noRelation);
        if (!/^[0-9]{1,18}$/.test(number.value))
            return refuse(noNumber);
        keep(problems);
        const today = new Date();
        const sheet = await solver.call("worksheet", "worksheet", {
            count: problems, kinds: bits(kinds), relations: bits(relations), difficulty: Number($("ws-difficulty").value),
            key: $("ws-key").checked, steps: $("ws-key").checked && $("ws-steps").checked, number: number.value,
            day: today.getDate(), month: today.getMonth() + 1, year: today.getFullYear(), separator: chosenSeparator(),
        });
        if (sheet === null || mine !== asked)
            return;
        if (sheet.error)
            return refuse(sheet.error);
        $("ws-problem").hidden = true;
        $("ws-print").disabled = false;
        // The solver's HTML: its texts escaped, its numbers its own.
        preview.setAttribute("style", sheet.style);
        preview.innerHTML = sheet.html;
        shownNumber = sheet.number;
    }

    for (const control of [count, number, $("ws-difficulty"), $("ws-key"), $("ws-steps"), ...kinds, ...relations])
        control.addEventListener(control.type === "checkbox" ? "change" : "input", update);
    $("ws-new-number").addEventListener("click", () => {
        number.value = randomNumber();
        update();
    });
    $("ws-print").addEventListener("click", () => window.print());
    // The printed file's name, where the browser prints to PDF, is the title.
    let title = document.title;
    window.addEventListener("beforeprint", () => {
        title = document.title;
        if (shownNumber !== null && document.body.dataset.view === "worksheet")
            document.title = "Pracovní list č. " + shownNumber;
    });
    window.addEventListener("afterprint", () => (document.title = title));

    return {
        open() {
            if (preview.childElementCount === 0)
                update();
            count.focus();
        },
        separatorChanged: update,
    };
}
