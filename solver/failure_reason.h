#pragma once

#include <string>
#include <string_view>

namespace parvolin {

// Why a file operation failed, in Czech, for the second part of a message
// box: our own wording for the errors a pupil's or teacher's computer
// really gives (a full disk, a quota, no permission, a read-only disk, ...),
// the C library's text in the program's locale for any other. Lower case
// and without a full stop, to follow a colon.
std::string czech_reason(int error);

// "Soubor <path> se nepodařilo zapsat: <reason>."
std::string write_failure_detail(std::string_view path, std::string_view reason);

} // namespace parvolin
