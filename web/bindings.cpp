// The page's entry to the solver, as plain C functions (embind would need
// the page to allow eval): parvolin_solve takes the three coefficient texts
// (UTF-8, zero-terminated) and returns solve_json's text, valid until the
// next call.
#include "web/solve_json.h"

#include <emscripten/emscripten.h>

#include <string>

namespace {

std::string last_result;

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE const char *parvolin_solve(const char *a, const char *b, const char *c,
                                                           int relation_index, int places, int dot_separator,
                                                           double width, double height)
{
    last_result = parvolin::web::solve_json(a, b, c, relation_index, places, dot_separator != 0 ? '.' : ',', width,
                                             height);
    return last_result.c_str();
}
