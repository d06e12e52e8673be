#pragma once

#include "solver/worksheet.h"

#include <string>

namespace parvolin::cli {

// The worksheet (worksheet_html) as the bytes of an A4 PDF file, drawn by Qt's PDF writer in
// the module parvolin_pdf.so, which is loaded only here, so that the other
// commands never map Qt. Empty, with `why` set, when the module is missing or
// cannot draw.
std::string worksheet_pdf(const Worksheet &sheet, std::string &why);

} // namespace parvolin::cli

// The module's one entry: the PDF of `html` handed to `sink` in one piece;
// 0 when done, 2 when the system has no fonts to set it in, 1 on any other
// failure.
extern "C" int parvolin_html_to_pdf(const char *html, unsigned long html_size, const char *title,
                                    void (*sink)(void *context, const char *data, unsigned long size),
                                    void *context);
