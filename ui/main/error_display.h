#pragma once

#include "solver/failures.h"

#include <QString>

#include <exception>
#include <functional>
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
    } catch (const std::exception &error) {
        // Not one of ours (out of memory, a library's own exception): shown
        // the same way rather than letting it unwind through Qt.
        show_failure(error.what());
    }
}

} // namespace parvolin
