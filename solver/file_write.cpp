#include "solver/file_write.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace parvolin {

bool write_all(int fd, std::string_view data, const ChunkWrite &write, std::size_t chunk)
{
    while (!data.empty()) {
        const std::size_t size = std::min(data.size(), chunk);
        const ssize_t written = write ? write(fd, data.data(), size) : ::write(fd, data.data(), size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        if (written == 0) {
            errno = EIO; // so that the caller's message says something true
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace parvolin
