#pragma once

#include "solver/file_write.h"

#include <string>
#include <string_view>

namespace parvolin::cli {

// Writes `data` as the file `path`: first into a new temporary file beside
// it, then renamed over it, so that a failure leaves the old file (or no
// file) and nothing half-written. A symbolic link or anything but a regular
// file at `path` is refused, never written through. Throws Failure with a
// Czech message naming the file and the system's reason.
void write_output_file(const std::string &path, std::string_view data, const ChunkWrite &write = {});

} // namespace parvolin::cli
