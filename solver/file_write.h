#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace parvolin {

// Writes up to `size` bytes to the open file `fd` and returns how many it
// wrote, or -1 with errno set, as POSIX write() does. Tests put a failing
// disk in its place.
using ChunkWrite = std::function<ssize_t(int fd, const char *data, std::size_t size)>;

// Writes all of `data` to `fd`, across short writes and interrupted calls,
// handing over at most `chunk` bytes a call, through `write` (POSIX write
// when empty). False, with errno set, when a write fails or writes nothing.
bool write_all(int fd, std::string_view data, const ChunkWrite &write = {}, std::size_t chunk = SIZE_MAX);

} // namespace parvolin
