// The page's entry to the solver: solve(a, b, c, relation, places, separator)
// returns solve_json's text.
#include "web/solve_json.h"

#include <emscripten/bind.h>

#include <string>

namespace {

std::string solve(const std::string &a, const std::string &b, const std::string &c, int relation_index,
                  int places, const std::string &separator)
{
    return parvolin::web::solve_json(a, b, c, relation_index, places, separator == "." ? '.' : ',');
}

} // namespace

EMSCRIPTEN_BINDINGS(parvolin)
{
    emscripten::function("solve", &solve);
}
