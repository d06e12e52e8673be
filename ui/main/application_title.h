#pragma once

namespace parvolin {

// The program's title: the main window's caption, the caption of its message
// boxes and the name the desktop lists it under.
inline constexpr char application_title[] = "Parvolin";

} // namespace parvolin
