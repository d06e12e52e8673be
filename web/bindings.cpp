// The page's entries to the solver, as plain C functions (embind would need
// the page to allow eval). Texts come in as UTF-8, zero-terminated; each
// call returns its JSON text, valid until the next call.
#include "web/exercise_json.h"
#include "web/solve_json.h"

#include <emscripten/emscripten.h>

#include <string>
#include <utility>

namespace {

std::string last_result;

const char *kept(std::string result)
{
    last_result = std::move(result);
    return last_result.c_str();
}

char separator_of(int dot_separator) { return dot_separator != 0 ? '.' : ','; }

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char *parvolin_solve(const char *a, const char *b, const char *c, int relation_index,
                                                int places, int dot_separator, double width, double height)
{
    return kept(parvolin::web::solve_json(a, b, c, relation_index, places, separator_of(dot_separator), width, height));
}

EMSCRIPTEN_KEEPALIVE const char *parvolin_practice_problem(const char *seed, int generation, int index,
                                                           int difficulty, int relations, int dot_separator)
{
    return kept(parvolin::web::practice_problem_json(seed, generation, index, {difficulty, relations},
                                                     separator_of(dot_separator)));
}

EMSCRIPTEN_KEEPALIVE const char *parvolin_practice_check(const char *a, const char *b, const char *c, int relation,
                                                         const char *answer, int dot_separator)
{
    return kept(parvolin::web::practice_check_json(a, b, c, relation, answer, separator_of(dot_separator)));
}

EMSCRIPTEN_KEEPALIVE const char *parvolin_worksheet(int count, unsigned kinds, unsigned relations, int difficulty,
                                                    int key, int steps, const char *number, int day, int month,
                                                    int year, int dot_separator)
{
    return kept(parvolin::web::worksheet_json({count, kinds, relations, difficulty, key != 0, steps != 0}, number,
                                              day, month, year, separator_of(dot_separator)));
}

} // extern "C"
