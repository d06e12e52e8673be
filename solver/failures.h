#pragma once

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace parvolin {

// Every failure the program reports is one of these. The message is the exact
// text the user sees (before the full-stop rule of error_display_text). The
// detail, when there is one, says in Czech what it means or why it happened
// (the file and the system's reason, the field and how to write a number); a
// message box shows it under the message.
class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string &message, std::string detail = {})
        : std::runtime_error(message), message_(message), detail_(std::move(detail))
    {
    }
    explicit Failure(const char *message) : std::runtime_error(message), message_(message) {}

    // Every byte of the message: what() ends at the first zero byte, and a
    // text the user typed may hold one.
    const std::string &message() const noexcept { return message_; }

    // UTF-8; empty when the message says it all.
    const std::string &detail() const noexcept { return detail_; }

private:
    std::string message_;
    std::string detail_;
};

// The message of a FixedFailure, held in its type.
template <std::size_t Size>
struct FailureMessage {
    constexpr FailureMessage(const char (&text)[Size]) { std::copy_n(text, Size, chars); }
    char chars[Size];
};

// A failure whose message never changes, with an optional detail. Each
// message is a type of its own, named by an alias:
//     using PrintFailedError = FixedFailure<"The print job failed">;
template <FailureMessage Message, typename Base = Failure>
class FixedFailure : public Base {
public:
    explicit FixedFailure(std::string detail = {}) : Base(std::string(Message.chars), std::move(detail)) {}
};

// A text as a message quotes it: the text itself up to 64 characters; a
// longer one by its first and last 24 and its length, "start…end (N znaků)",
// so that a message never carries the whole of a pasted page.
std::string shortened_for_message(std::string_view text);

// A coefficient text that is not a number in the regional format.
class ConvertError : public Failure {
public:
    explicit ConvertError(std::string_view text, std::string detail = {});
};

// Arithmetic failures, detected from the floating-point status flags.
class MathError : public Failure {
public:
    using Failure::Failure;
};

using OverflowError = FixedFailure<"Floating point overflow", MathError>;
using InvalidOperationError = FixedFailure<"Invalid floating point operation", MathError>;
using DivisionByZeroError = FixedFailure<"Floating point division by zero", MathError>;

// The text a message box shows for a failure: the message, with a full stop
// appended when its last byte sorts above '.' (letters, digits, ':' and every
// byte of a multi-byte UTF-8 character do; '.', ',', '-', ')', '!', quotes
// and blanks do not).
std::string error_display_text(std::string_view message);

} // namespace parvolin
