#pragma once

#include "solver/worksheet.h"

#include <string>

namespace parvolin::cli {

// The worksheet as the bytes of a PDF file on A4 pages, drawn by Qt's PDF
// writer (no window needed: the offscreen platform unless one is set); the
// key from a new page. Empty when Qt cannot start.
std::string worksheet_pdf(const Worksheet &sheet);

} // namespace parvolin::cli
