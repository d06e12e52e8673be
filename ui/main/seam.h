#pragma once

#include <utility>

namespace parvolin {

// One replaceable part of the program's surroundings: a dialog, a message
// box, the opener of links, a timeout. The program asks installed(); a test
// puts its own in with set() and puts back the one set() returns. For the
// function types an empty value stands for the real dialog or box.
template <typename T>
class Seam {
public:
    constexpr Seam() = default;
    constexpr explicit Seam(T initial) : value_(std::move(initial)) {}

    const T &installed() const { return value_; }
    // Installs `value` and returns the one installed before.
    T set(T value) { return std::exchange(value_, std::move(value)); }

private:
    T value_{};
};

} // namespace parvolin
