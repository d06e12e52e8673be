#pragma once

// One line for the pupil who reads the report first: the exact result where
// the report's differs, and where to read why. The window shows it above the
// report and under the picture alike.

#include "solver/steps.h"

#include <string>

namespace parvolin {

// "Pozor: přesně vychází K = { 0,3 }, protokol se od toho liší. Důvod
// vysvětluje záložka Postup."; empty where the report agrees
// with the exact result. An exact set too long for one line is named by its
// rounded form alone.
std::string disagreement_line(const StepsResult &steps);

} // namespace parvolin
