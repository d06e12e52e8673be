#pragma once

// Practice and worksheets for the page, as the window has them: a practice
// problem dealt from a sitting's seed, a pupil's answer judged, and a
// worksheet as the HTML the window's preview shows. Each call gives one JSON
// text and never throws.

#include <string>
#include <string_view>

namespace parvolin::web {

// The practice choices, as the window's lists number them: difficulty 0
// small numbers, 1 larger; relations 0 both, 1 equations only, 2
// inequalities only.
struct PracticeChoice {
    int difficulty = 0;
    int relations = 0;
};

// Problem `index` (from 0) of generation `generation` of the sitting `seed`
// (decimal text, up to 2^64 − 1): a sitting deals its problems as the
// window's does, so the same seed gives the same problems there and here.
// {"a", "b", "c": the coefficients as typed, "relation": 0..4,
//  "statement": HTML} or {"error": text}.
std::string practice_problem_json(std::string_view seed, int generation, int index, PracticeChoice choice,
                                  char separator);

// The answer to a·x² + b·x + c (relation) 0 judged exactly:
// {"verdict": "right" | "wrong" | "approximate" | "unreadable", "lead": the
//  words before the message ("To není správně." or "Skoro.", else ""),
//  "message": text, "column": where the reader stopped, in characters from 1
//  (0 unless unreadable)} or {"error": text}.
std::string practice_check_json(std::string_view a, std::string_view b, std::string_view c, int relation,
                                std::string_view answer, char separator);

// A worksheet: `kinds` and `relations` as bit sets over the kinds in the
// order of the window's dialog and over = < > <= >=; `number` the sheet's
// number as decimal text (1 to 18 digits); the date is printed as Czech
// writes it ("9. 12. 2026").
// {"html": the sheet's body, the key from a new page, "title": text} or
// {"error": text}.
struct WorksheetChoice {
    int count = 20;
    unsigned kinds = 0;
    unsigned relations = 0;
    int difficulty = 0;
    bool key = false;
    bool steps = false;
};
std::string worksheet_json(const WorksheetChoice &choice, std::string_view number, int day, int month, int year,
                           char separator);

} // namespace parvolin::web
