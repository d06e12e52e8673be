#include "cli/standard_output.h"

#include "cli/message_text.h"
#include "solver/ascii.h"
#include "solver/file_write.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace parvolin::cli {

void hold_closed_standard_streams()
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // open takes the lowest free number, this one: those below it are
        // open by now. Without /dev/null (a bare root) it stays closed.
        const int held = ::open("/dev/null", (fd == STDIN_FILENO ? O_WRONLY : O_RDONLY) | O_NOCTTY);
        if (held > fd)
            ::close(held);
    }
}

void print_error(std::string_view text)
{
    std::string line = escaped_for_terminal(text);
    line += '\n';
    write_all(STDERR_FILENO, line);
}

std::string system_reason(int error)
{
#ifdef __GLIBC__
    if (const char *description = ::strerrordesc_np(error))
        return description;
    return "Unknown error " + integer_text(error);
#else
    return std::strerror(error); // a C library without translations of its texts
#endif
}

void print_write_failure(int error)
{
    print_error("parvolin-cli: cannot write the output: " + system_reason(error));
}

bool write_output(std::string_view text)
{
    if (write_all(STDOUT_FILENO, text))
        return true;
    print_write_failure(errno);
    return false;
}

} // namespace parvolin::cli
