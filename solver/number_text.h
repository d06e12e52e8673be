#pragma once

#include "solver/extended.h"

#include <string>
#include <string_view>

namespace parvolin {

// x scaled by 10^n in the extended format, rounding after every operation:
// by 10^(m mod 32), then 10^(32 * ((m / 32) mod 16)), then 10^(512 * (m / 512))
// with m = |n|, multiplying for n > 0 and dividing for n < 0. From |n| >= 5120
// on the result is +infinity (n > 0) or 0 (n < 0). Raises flags, never throws.
Extended scale_by_power_of_ten(Extended x, int n);

// The parts of a coefficient text as typed: blanks, optional sign, digits
// with at most one `decimal_separator` (at least a digit or the separator),
// an optional exponent, blanks. The exponent stops reading at the digit that
// brings it to 500 or more, so "1E0500" is 1E500 while "1E5000" leaves a "0"
// over, which makes the text no number. Throws ConvertError for anything else.
// Both the report's conversion and the exact working read texts through it.
struct CoefficientText {
    bool negative = false;
    std::string_view whole;    // the digits before the separator
    std::string_view fraction; // the digits after it
    long exponent = 0;
};
CoefficientText scan_coefficient(std::string_view text, char decimal_separator);

// A coefficient text as typed: blanks, optional sign, digits with at most one
// `decimal_separator`, an optional exponent, blanks. Throws ConvertError for
// anything else and OverflowError beyond the double range. The empty text is
// the caller's business (it counts as 0 without conversion).
double parse_coefficient(std::string_view text, char decimal_separator);

// General format with 15 significant digits: "0.5", "-2", "1E-5",
// "1.23456789012346E15"; never "-0", never a trailing zero or a "+".
std::string format_number(double value, char decimal_separator);

// Appends to `out`; the same text as format_number.
void append_number(std::string &out, double value, char decimal_separator);

} // namespace parvolin
