#pragma once

#include "solver/failures.h"

#include <QString>

#include <exception>
#include <functional>
#include <new>
#include <string_view>
#include <utility>

namespace parvolin {

// The default error display: shows the message of a failure that ended an
// event handler, with the full stop of error_display_text, in an
// application-modal box captioned with the application title, with the stop
// icon and one OK button. A non-empty `detail` (UTF-8) is the box's
// informative text, under the message. The widget that had the keyboard focus
// gets it back when the box closes.
void show_failure(std::string_view message, std::string_view detail = {});

// What show_failure does with the finished text (full stop included) and the
// detail. Tests install one that records the texts instead of opening a modal
// box.
using FailureDisplay = std::function<void(const QString &text, const QString &detail)>;

// Installs `display` in place of the message box; an empty function puts the
// message box back. Returns the display that was installed before.
FailureDisplay set_failure_display(FailureDisplay display);

// What the user reads of a failure that is none of the program's own.
inline constexpr std::string_view out_of_memory_text = "Na tuto operaci nemá program dost paměti";
inline constexpr std::string_view internal_failure_text = "V programu nastala neočekávaná vnitřní chyba";

// Runs the body of an event handler. A failure that leaves it ends the
// handler, nothing it did before is undone, and the failure is shown by the
// default error display; no exception ever reaches Qt's event dispatch.
template <typename Body>
void run_handler(Body &&body)
{
    try {
        std::forward<Body>(body)();
    } catch (const Failure &failure) {
        show_failure(failure.what(), failure.detail());
    } catch (const std::bad_alloc &) {
        show_failure(out_of_memory_text);
    } catch (const std::exception &) {
        // Not one of ours (a library's own exception): said in our words,
        // never the library's English, rather than unwinding through Qt.
        show_failure(internal_failure_text);
    }
}

} // namespace parvolin
