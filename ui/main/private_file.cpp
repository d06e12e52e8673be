#include "ui/main/private_file.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parvolin {

namespace {

// A regular file whose owner is the user the program runs as.
bool own_regular_file(const struct stat &status)
{
    return S_ISREG(status.st_mode) && status.st_uid == ::geteuid();
}

bool others_may_write(const struct stat &status)
{
    return (status.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

// The file at `path`, opened without a link, when it is a regular file of
// the user's own; closed at the end of the scope.
class OwnFile {
public:
    explicit OwnFile(const std::string &path) : fd_(open_without_links(path))
    {
        if (fd_ >= 0 && (::fstat(fd_, &status_) != 0 || !own_regular_file(status_)))
            ::close(std::exchange(fd_, -1));
    }
    ~OwnFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    OwnFile(const OwnFile &) = delete;
    OwnFile &operator=(const OwnFile &) = delete;

    bool found() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    const struct stat &status() const { return status_; }

private:
    int fd_;
    struct stat status_ {};
};

} // namespace

int open_without_links(const std::string &path)
{
    return ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

bool read_bounded(int fd, std::size_t limit, std::string &text)
{
    char buffer[16384];
    while (text.size() <= limit) {
        const std::size_t wanted = std::min(sizeof buffer, limit + 1 - text.size());
        const ssize_t count = ::read(fd, buffer, wanted);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            return true;
        text.append(buffer, static_cast<std::size_t>(count));
    }
    return true;
}

std::optional<std::string> read_trusted_file(const std::string &path, std::size_t limit)
{
    const OwnFile file(path);
    if (!file.found() || others_may_write(file.status()) || file.status().st_size > static_cast<off_t>(limit))
        return std::nullopt;
    std::string text;
    if (!read_bounded(file.fd(), limit, text) || text.size() > limit)
        return std::nullopt;
    return text;
}

void keep_others_from_writing(const std::string &path)
{
    const OwnFile file(path);
    if (file.found() && others_may_write(file.status()))
        static_cast<void>(::fchmod(file.fd(), file.status().st_mode & 07755));
}

} // namespace parvolin
