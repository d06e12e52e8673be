#pragma once

// Reading the program's own small files (the settings, the worksheet
// dialog's choices): never more than a bound, whatever size a file claims,
// and, where it is asked for, only a file nobody but the user could have
// put there.

#include <cstddef>
#include <optional>
#include <string>

namespace parvolin {

// Opens `path` for reading without following a symbolic link, without
// taking a terminal as the controlling one and without waiting for a
// writer on a pipe; a descriptor, or -1 with errno set (ELOOP for a link).
int open_without_links(const std::string &path);

// Appends what `fd` holds from its offset on to `text` until the text is
// one byte past `limit`: a text longer than `limit` afterwards means the
// file is too large. False, with errno set, when a read fails.
bool read_bounded(int fd, std::size_t limit, std::string &text);

// The text of the file at `path` when it may be trusted: reached without a
// symbolic link, a regular file of the user's own that neither the group
// nor others may write, at most `limit` bytes. Nothing when it is missing,
// fails any of these or cannot be read whole.
std::optional<std::string> read_trusted_file(const std::string &path, std::size_t limit);

// Takes the write permission of the group and of others from the file at
// `path` when it is a regular file of the user's own, reached without a
// link, so that read_trusted_file reads it. Best effort: a failure leaves
// the file as it was.
void keep_others_from_writing(const std::string &path);

} // namespace parvolin
