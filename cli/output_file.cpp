#include "cli/output_file.h"

#include "solver/failure_reason.h"
#include "solver/failures.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parvolin::cli {

namespace {

[[noreturn]] void fail(const std::string &path, const std::string &reason)
{
    throw Failure("Soubor „" + path + "“ nelze zapsat: " + reason);
}

// Gives the new file `old`'s mode, and its owner and group where the system
// lets us. Where the group cannot be kept, the new file's group, which is
// not the old one's, gets nothing. False, with errno set, when the mode
// cannot be set.
bool take_over(int fd, const struct stat &old)
{
    mode_t mode = old.st_mode & 0777; // never set-user-ID or the like on a document
    struct stat created {};
    if (::fstat(fd, &created) != 0)
        return false;
    if (created.st_uid != old.st_uid || created.st_gid != old.st_gid) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, -1, old.st_gid) != 0 &&
            created.st_gid != old.st_gid)
            mode &= ~static_cast<mode_t>(070);
    }
    return ::fchmod(fd, mode) == 0;
}

} // namespace

void write_output_file(const std::string &path, std::string_view data, const ChunkWrite &write)
{
    if (path.empty())
        fail(path, "chybí jméno souboru");
    struct stat status {};
    bool replacing = false;
    if (::lstat(path.c_str(), &status) == 0) {
        if (S_ISLNK(status.st_mode))
            fail(path, "je to symbolický odkaz, přes odkaz nezapisuji");
        if (!S_ISREG(status.st_mode))
            fail(path, "není to obyčejný soubor");
        // Its owner made it read-only: root, who could replace it, respects
        // that as anyone else must.
        if ((status.st_mode & S_IWUSR) == 0)
            fail(path, "soubor je určen jen pro čtení");
        replacing = true;
    } else if (errno != ENOENT) {
        fail(path, czech_reason(errno));
    }

    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    // Short, so that a name as long as the folder allows still has a
    // temporary beside it.
    std::string temporary = folder + "/.parvolin-XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC); // O_EXCL, mode 0600
    if (fd < 0)
        fail(path, czech_reason(errno));
    temporary = name.data();
    const mode_t mask = ::umask(0);
    ::umask(mask);
    bool done = (replacing ? take_over(fd, status) : ::fchmod(fd, 0666 & ~mask) == 0) && write_all(fd, data, write) &&
                ::fsync(fd) == 0;
    int saved = errno;
    if (::close(fd) != 0 && done) {
        done = false;
        saved = errno;
    }
    if (done && ::rename(temporary.c_str(), path.c_str()) != 0) {
        done = false;
        saved = errno;
    }
    if (!done) {
        ::unlink(temporary.c_str());
        fail(path, czech_reason(saved));
    }
}

} // namespace parvolin::cli
