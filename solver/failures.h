#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace parvolin {

// Every failure the solver reports is one of these. The message is the exact
// text the user sees (before the full-stop rule of error_display_text).
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A coefficient text that is not a number in the regional format.
class ConvertError : public Failure {
public:
    explicit ConvertError(std::string_view text);
};

// Arithmetic failures, detected from the floating-point status flags.
class MathError : public Failure {
public:
    using Failure::Failure;
};

class OverflowError : public MathError {
public:
    OverflowError() : MathError("Floating point overflow") {}
};

class InvalidOperationError : public MathError {
public:
    InvalidOperationError() : MathError("Invalid floating point operation") {}
};

class DivisionByZeroError : public MathError {
public:
    DivisionByZeroError() : MathError("Floating point division by zero") {}
};

// The text a message box shows for a failure: the message, with a full stop
// appended when its last byte sorts above '.' (letters, digits, ':' and every
// byte of a multi-byte UTF-8 character do; '.', ',', '-', ')', '!', quotes
// and blanks do not).
std::string error_display_text(std::string_view message);

} // namespace parvolin
