#pragma once

#include "solver/file_write.h"

#include <string>
#include <string_view>

namespace parvolin::cli {

// Writes `data` as the file `path`: first into a new temporary file beside
// it, then renamed over it, so that a failure leaves the old file (or no
// file) and nothing half-written. A replaced file's mode is kept, and its
// owner and group where the system allows. A symbolic link or anything but a
// regular file at `path` is refused, never written through, and so is a file
// whose owner may not write it. Throws Failure with a Czech message naming
// the file and the reason.
void write_output_file(const std::string &path, std::string_view data, const ChunkWrite &write = {});

} // namespace parvolin::cli
