#pragma once

#include <QString>

namespace parvolin {

// The folder the program's save dialogs open in (the result, the worksheet,
// the graph's picture): the folder of the last file saved through any of
// them while the program runs, before that the user's documents folder, and
// the home folder where there is none. Never the folder the program was
// started from.
QString save_folder();

// Remembers the folder of `chosen_path`, a path a save dialog returned.
void remember_save_folder(const QString &chosen_path);

// Forgets the last folder, as at the start of the program (for tests).
void forget_save_folder();

} // namespace parvolin
