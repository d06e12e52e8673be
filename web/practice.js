// Procvičování: problems dealt as the window's practice view deals them
// (the same seed gives the same problems), the answer read and judged by
// the solver, the working on request, and the score of first attempts.
import { readStored } from "./storage.js";

const rightAgain = " Do počtu se ale započítává jen první pokus.";
const seedKey = "parvolin.practiceSeed";

// A sitting's seed: a fixed one from the page's storage (as the window
// takes one from its environment, for a class that should all get the
// same problems, and for tests), else a random 64-bit one.
function drawSeed() {
    const fixed = readStored(seedKey);
    if (fixed !== null && /^[0-9]{1,20}$/.test(fixed) && BigInt(fixed) < 2n ** 64n)
        return fixed;
    const words = crypto.getRandomValues(new Uint32Array(2));
    return ((BigInt(words[0]) << 32n) | BigInt(words[1])).toString();
}

// A character that shows nothing or steers the direction of what follows:
// controls, format characters, line and paragraph separators, unassigned
// and private code points, spaces other than the plain one.
function isInvisible(character) {
    return /[\p{Cc}\p{Cf}\p{Cs}\p{Co}\p{Cn}\p{Zl}\p{Zp}]/u.test(character) ||
        (/\p{Zs}/u.test(character) && character !== " ");
}

const echoBefore = 30;
const echoAfter = 15;

// The answer once more with the character at `column` (from 1) marked, the
// invisible ones as their codes, cut around the mark when long. Elements,
// not HTML text, so that nothing the pupil typed is read as markup.
export function echoOfAnswer(typed, column) {
    const characters = [...typed];
    const marked = Math.min(Math.max(column, 1) - 1, characters.length);
    const first = Math.max(0, marked - echoBefore);
    const last = Math.min(characters.length, marked + 1 + echoAfter);
    const pieces = [];
    if (first > 0)
        pieces.push("…");
    for (let k = first; k < last; ++k) {
        const character = characters[k];
        let piece = character;
        if (isInvisible(character)) {
            piece = document.createElement("span");
            piece.className = "code";
            piece.textContent = "[U+" + character.codePointAt(0).toString(16).toUpperCase().padStart(4, "0") + "]";
        }
        if (k === marked) {
            const mark = document.createElement("mark");
            mark.append(piece);
            piece = mark;
        }
        pieces.push(piece);
    }
    if (marked === characters.length) {
        const mark = document.createElement("mark");
        mark.className = "end";
        mark.textContent = "\u00a0\u00a0";
        mark.setAttribute("aria-label", "konec odpovědi");
        pieces.push(mark);
    }
    if (last < characters.length)
        pieces.push("…");
    const echo = document.createElement("code");
    echo.append(...pieces);
    return echo;
}

// Where the reader's column falls in the field's text, in UTF-16 units, and
// how many units its character takes (0 past the end).
function placeOf(typed, column) {
    const characters = [...typed];
    if (column - 1 >= characters.length)
        return [typed.length, 0];
    const at = characters.slice(0, column - 1).join("").length;
    return [at, characters[column - 1].length];
}

export function startPractice({ $, solver, chosenSeparator }) {
    const answer = $("practice-answer");
    const verdict = $("practice-verdict");
    const hint = verdict.textContent;
    const caption = $("practice-caption").textContent;
    const scoreText = $("practice-score").textContent;
    const state = { seed: null, generation: 0, index: 0, number: 0, problem: null, counted: false, right: 0, tried: 0 };

    function showScore() {
        $("practice-score").textContent = scoreText.replace("%1", String(state.right)).replace("%2", String(state.tried));
    }

    function say(kind, lead, message, extra = null) {
        verdict.className = "verdict " + kind;
        verdict.replaceChildren();
        if (lead !== "") {
            const strong = document.createElement("strong");
            strong.textContent = lead;
            verdict.append(strong, " ");
        }
        if (kind === "right") {
            const strong = document.createElement("strong");
            strong.textContent = message;
            verdict.append(strong);
        } else {
            verdict.append(message);
        }
        if (extra)
            verdict.append(document.createElement("br"), extra);
    }

    function count(right) {
        if (state.counted)
            return;
        state.counted = true;
        ++state.tried;
        if (right)
            ++state.right;
        showScore();
    }

    async function nextProblem() {
        const choice = { difficulty: Number($("practice-difficulty").value), relations: Number($("practice-relations").value),
                         separator: chosenSeparator() };
        const problem = await solver.call("practice", "practiceProblem", { seed: state.seed, generation: state.generation - 1,
                                                                           index: state.index, ...choice });
        if (problem === null)
            return;
        if (problem.error) {
            say("wrong", "", problem.error);
            return;
        }
        ++state.index;
        ++state.number;
        // The problem keeps the separator it was written with.
        state.problem = { ...problem, separator: choice.separator };
        state.counted = false;
        $("practice-caption").textContent = caption.replace("%1", String(state.number));
        // The statement is the solver's HTML of numbers it made itself.
        $("practice-problem").innerHTML = problem.statement;
        answer.value = "";
        verdict.className = "verdict";
        verdict.textContent = hint;
        $("practice-steps").hidden = true;
        $("practice-steps").replaceChildren();
        showScore();
    }

    // Other choices make other problems: a new generation of the sitting.
    function restartGenerator() {
        ++state.generation;
        state.index = 0;
    }

    async function check() {
        if (state.problem === null)
            return;
        const typed = answer.value;
        const { a, b, c, relation, separator } = state.problem;
        const result = await solver.call("check", "practiceCheck", { a, b, c, relation, answer: typed, separator });
        if (result === null || typed !== answer.value)
            return;
        if (result.error) {
            say("wrong", "", result.error);
            return;
        }
        answer.focus();
        if (result.verdict === "unreadable") {
            say("wrong", "", result.message, echoOfAnswer(typed, result.column));
            const [at, length] = placeOf(typed, result.column);
            answer.setSelectionRange(at, at + length);
            return;
        }
        if (result.verdict === "approximate") {
            // Nearly there: the first try is still to come.
            say("rounded", result.lead, result.message);
            return;
        }
        const right = result.verdict === "right";
        const first = !state.counted;
        count(right);
        if (right) {
            say("right", "", first ? result.message : result.message + rightAgain);
            $("practice-next").focus();
        } else {
            say("wrong", result.lead, result.message);
        }
    }

    async function showWorking() {
        if (state.problem === null)
            return;
        // Seen before any answer, the problem is not solved by the pupil.
        if (!state.counted)
            count(false);
        const { a, b, c, relation, separator } = state.problem;
        const result = await solver.call("practice-working", "solve", { a, b, c, relation, places: 2, separator });
        if (result === null)
            return;
        // The solver's HTML, which escapes every text it quotes.
        $("practice-steps").innerHTML = result.working ?? "";
        $("practice-steps").hidden = false;
        $("practice-steps").focus();
    }

    $("practice-form").addEventListener("submit", (event) => {
        event.preventDefault();
        check();
    });
    $("practice-working").addEventListener("click", showWorking);
    $("practice-next").addEventListener("click", async () => {
        await nextProblem();
        answer.focus();
    });
    for (const id of ["practice-difficulty", "practice-relations"]) {
        $(id).addEventListener("change", () => {
            restartGenerator();
            nextProblem();
        });
    }

    return {
        // The first opening of the view starts the sitting.
        async open() {
            if (state.seed === null) {
                state.seed = drawSeed();
                restartGenerator();
                await nextProblem();
            }
            answer.focus();
        },
    };
}
