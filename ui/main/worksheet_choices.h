#pragma once

// What the worksheet dialog was last set to, kept between runs in a file of
// its own in the user's configuration folder (the program's settings file
// keeps the window's keys only).

#include "solver/problem.h"
#include "solver/problem_generator.h"
#include "ui/main/settings_file.h"

#include <string>
#include <vector>

namespace parvolin {

struct WorksheetChoices {
    int count = 20;
    std::vector<ProblemKind> kinds; // in the order of all_problem_kinds
    std::vector<Relation> relations;
    Difficulty difficulty = Difficulty::Small;
    bool key = true;
    bool steps = false;
};

// A first start: twenty quadratic problems of every kind and relation, the
// key without the working.
WorksheetChoices default_worksheet_choices();

// $XDG_CONFIG_HOME/parvolin/worksheet.ini (~/.config when unset); empty when
// there is no such folder to be found.
std::string worksheet_choices_path();

// A file this large is none of ours: it is neither read nor rewritten, as
// the settings file is not.
inline constexpr std::size_t max_worksheet_choices_size = max_settings_file_size;

// The choices of the file at `path`; a key that is missing or holds nothing
// usable (no kind or no relation among a list, a count out of 1 to 60)
// takes the default. The whole file is passed over, and the defaults taken,
// when it is not a regular file, is reached through a symbolic link, is
// someone else's or may be written by others, or is larger than
// max_worksheet_choices_size.
WorksheetChoices read_worksheet_choices(const std::string &path);

// Writes the choices to `path` as the settings file is written: into a new
// file renamed over the old one, never through a symbolic link; the folder
// is made when missing, and the file is left writable by the user alone.
// Throws SettingsWriteError when it cannot.
void write_worksheet_choices(const std::string &path, const WorksheetChoices &choices);

} // namespace parvolin
