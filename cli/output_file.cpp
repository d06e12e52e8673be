#include "cli/output_file.h"

#include "solver/failures.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
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

} // namespace

void write_output_file(const std::string &path, std::string_view data, const ChunkWrite &write)
{
    if (path.empty())
        fail(path, "chybí jméno souboru");
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0) {
        if (S_ISLNK(status.st_mode))
            fail(path, "je to symbolický odkaz, přes odkaz nezapisuji");
        if (!S_ISREG(status.st_mode))
            fail(path, "není to obyčejný soubor");
    } else if (errno != ENOENT) {
        fail(path, std::strerror(errno));
    }

    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = folder + "/." + base + ".XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC); // O_EXCL, mode 0600
    if (fd < 0)
        fail(path, std::strerror(errno));
    temporary = name.data();
    const mode_t mask = ::umask(0);
    ::umask(mask);
    bool done = ::fchmod(fd, 0666 & ~mask) == 0 && write_all(fd, data, write) && ::fsync(fd) == 0;
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
        fail(path, std::strerror(saved));
    }
}

} // namespace parvolin::cli
