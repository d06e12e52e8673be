#pragma once

// What the solver's and the command line's tests share: table rows that are
// named, and the reports both of them expect.

#include "tests/test_rows.h"

#include <clocale>
#include <ctime>
#include <ostream>
#include <string>
#include <vector>

namespace parvolin {

// The first member of every table row. Its name names the generated test and
// is what a listing or a failure prints, instead of the row's bytes.
struct NamedRow {
    const char *name;
};

inline std::ostream &operator<<(std::ostream &out, const NamedRow &row) { return out << row.name; }

// The process locale set as the window's toolkit sets it from the
// environment, for the life of one test: under it the C library reads and
// writes "0,5". A locale that is not installed fails the test by name.
class ScopedProcessLocale {
public:
    explicit ScopedProcessLocale(const char *name) : previous_(std::setlocale(LC_ALL, nullptr))
    {
        installed_ = std::setlocale(LC_ALL, name) != nullptr;
        if (!installed_)
            ADD_FAILURE() << "locale " << name << " is not installed (locale-gen " << name << ")";
    }
    ~ScopedProcessLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    ScopedProcessLocale(const ScopedProcessLocale &) = delete;
    ScopedProcessLocale &operator=(const ScopedProcessLocale &) = delete;
    bool installed() const { return installed_; }

private:
    std::string previous_;
    bool installed_ = false;
};

// The C library's broken-down time of a LocalDateTime, for timegm or mktime to
// complete. A template, so that the command-line tests need no solver header.
template <typename Moment>
std::tm calendar_fields(const Moment &moment)
{
    std::tm fields{};
    fields.tm_year = moment.year - 1900;
    fields.tm_mon = moment.month - 1;
    fields.tm_mday = moment.day;
    fields.tm_hour = moment.hour;
    fields.tm_min = moment.minute;
    fields.tm_sec = moment.second;
    return fields;
}

// The reports of x² - 3x + 2 = 0 and of 0 = 0 (every field empty), at two
// decimal places; neither shows a decimal separator.
inline const std::vector<std::string> two_roots_report{
    "Řešení rovnice ",
    "(1) . x^2 + (-3) . x + (2) = 0 .",
    "v oboru reálných čísel",
    "Zadaná kvadratická rovnice má dva různé reálné kořeny .",
    "x1= 2  x2= 1.",
    "Množina kořenů: dvouprvková množina K={ 2 ; 1 }.",
    "Výpočet byl proveden s přesností na 2desetinnná místa",
};

inline const std::vector<std::string> every_number_report{
    "Řešení rovnice ",
    "(0) . x^2 + (0) . x + (0) = 0 .",
    "v oboru reálných čísel",
    "Zadaná lineární rovnice má nekonečně mnoho řešení. ",
    "x je libovolné reálné číslo. ",
    "Množina kořenů : všechna reálná čísla K= R .",
    "Výpočet byl proveden s přesností na 2desetinnná místa",
};

} // namespace parvolin
