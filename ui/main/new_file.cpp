#include "ui/main/new_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace parvolin {

namespace {

bool is_folder(const std::string &path)
{
    struct stat entry {};
    return ::stat(path.c_str(), &entry) == 0 && S_ISDIR(entry.st_mode);
}

// The name as the message shows it: absolute, with "." and ".." resolved
// by their spelling alone (the file does not exist to resolve links).
std::string full_path(const std::string &path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// Removes the file only while the name still refers to the file this
// command created; whatever has replaced it in the meantime is not ours.
void remove_created(const std::string &path, const struct stat &created)
{
    struct stat now {};
    if (::lstat(path.c_str(), &now) == 0 && now.st_dev == created.st_dev && now.st_ino == created.st_ino)
        ::unlink(path.c_str());
}

} // namespace

bool file_exists(const std::string &path)
{
    struct stat entry {};
    return ::lstat(path.c_str(), &entry) == 0 && !is_folder(path);
}

NewFile write_new_file(const std::string &path, std::string_view content, const ChunkWrite &write)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        int error = errno;
        if (error == EEXIST) {
            if (!is_folder(path))
                return NewFile::Exists;
            // O_EXCL says "exists" for a folder too; what stands in the way
            // is that a folder cannot be opened as a file.
            error = EISDIR;
        }
        throw FileCreateError(full_path(path), std::strerror(error), error);
    }

    struct stat created {};
    const bool identified = ::fstat(fd, &created) == 0;
    bool written = write_all(fd, content, write, file_chunk_size);
    int error = written ? 0 : errno;
    // On Linux the descriptor is gone after close, even when it reports
    // EINTR; only a real error (a delayed write failure) counts.
    if (::close(fd) != 0 && errno != EINTR && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        if (identified)
            remove_created(path, created);
        throw StreamWriteError(full_path(path), error);
    }
    return NewFile::Written;
}

} // namespace parvolin
