#pragma once

#include "solver/failure_reason.h"
#include "solver/failures.h"
#include "solver/file_write.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace parvolin {

// A new file could not be created: "Cannot create file "<full path>". <the
// system's text for the error>", with the file and the reason in Czech as the
// detail when the system gave an error.
class FileCreateError : public Failure {
public:
    FileCreateError(const std::string &full_path, const std::string &reason, int error = 0)
        : Failure("Cannot create file \"" + full_path + "\". " + reason,
                  error != 0 ? write_failure_detail(full_path, czech_reason(error)) : std::string()),
          error_(error)
    {
    }
    // The errno value, when the system gave one; 0 otherwise.
    int error() const noexcept { return error_; }

private:
    int error_;
};

// Writing the content into the new file failed part-way. With the file and
// the errno value, the detail says which file and why, in Czech.
class StreamWriteError : public Failure {
public:
    StreamWriteError() : Failure("Failed to Save Stream") {}
    StreamWriteError(const std::string &full_path, int error)
        : Failure("Failed to Save Stream", write_failure_detail(full_path, czech_reason(error)))
    {
    }
    StreamWriteError(const std::string &full_path, const std::string &reason)
        : Failure("Failed to Save Stream", write_failure_detail(full_path, reason))
    {
    }
};

// True when an entry of that name exists and is not a folder (nor a link to
// one). A dangling link counts: a file cannot be created under its name.
bool file_exists(const std::string &path);

// How many bytes one write hands over at most.
inline constexpr std::size_t file_chunk_size = 4096;

enum class NewFile {
    Written, // created and filled
    Exists,  // something took the name first; nothing was written
};

// Creates `path` as a new file, never replacing anything (O_CREAT | O_EXCL,
// so also not what appears under the name after an existence test), and
// writes `content` into it chunk after chunk with `write` (POSIX write when
// empty).
// Throws FileCreateError when the file cannot be created; a folder of that
// name is reported as such, not as Exists. Throws StreamWriteError when a
// write or the closing fails, after removing the partial file it created.
NewFile write_new_file(const std::string &path, std::string_view content, const ChunkWrite &write = {});

} // namespace parvolin
