#pragma once

// What the steps of the monkey walk and its comparison share: the main
// window on a settings file of its own, its controls, the expected window and
// the step's expected outcome, and the seams (error display, save and print
// dialogs, shell) replaced by ones that answer as the steps chose and record
// what they were asked.

#include "ui/aux/shell_links.h"
#include "ui/main/error_display.h"
#include "ui/main/main_window.h"
#include "ui/main/print_document.h"
#include "ui/main/save_document.h"

#include "tests/ui/monkey/model.h"
#include "tests/ui/window_fixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QString>
#include <QUrl>

#include <array>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace parvolin::monkey {

enum class PrintAnswer { NoPrinter, Cancel, ToFile };

class Walk {
public:
    explicit Walk(const QString &folder);
    ~Walk();
    Walk(const Walk &) = delete;
    Walk &operator=(const Walk &) = delete;

    template <typename Widget>
    Widget *find(const char *name) const
    {
        auto *widget = window->findChild<Widget *>(QString::fromLatin1(name));
        if (widget == nullptr)
            throw std::runtime_error(std::string("no control ") + name);
        return widget;
    }

    // The pupil's clicks keep the window active: the about window takes the
    // activation away, and window shortcuts only work in the active window.
    void activate();
    static void settle();

    // Forgets what the last step brought about.
    void start_step();

    const QString folder;
    std::unique_ptr<MainWindow> window;
    std::array<QLineEdit *, 3> fields{};
    std::array<QListWidget *, 2> lists{};
    QPlainTextEdit *memo = nullptr;

    Expected expected;
    StepOutcome outcome;
    std::vector<std::string> document; // the document lines of the last solve

    // What the seams answer and what they saw.
    std::optional<QString> save_answer;
    std::vector<QString> saved_files;
    PrintAnswer print_answer = PrintAnswer::Cancel;
    int printed_files = 0;
    std::vector<QString> failures;
    std::vector<QString> notices;
    std::vector<QUrl> opened;

private:
    static void quiet_platform(QtMsgType type, const QMessageLogContext &context, const QString &message);
    static inline QtMessageHandler previous_handler_ = nullptr;

    // Installed for as long as the walk lives.
    ReplacedSeam<FailureDisplay> display_{set_failure_display,
                                          [this](const QString &text, const QString &) { failures.push_back(text); }};
    ReplacedSeam<ShellOpener> opener_{set_shell_opener, [this](const QUrl &url) { opened.push_back(url); }};
    ReplacedSeam<SaveDialogs> save_dialogs_{
        set_save_dialogs,
        {[this](QWidget *, const QString &) { return save_answer; },
         [this](const QString &text, const QString &) { notices.push_back(text); }}};
    ReplacedSeam<PrintDialogs> print_dialogs_{
        set_print_dialogs,
        {[this] {
             return print_answer == PrintAnswer::NoPrinter ? std::vector<PrinterEntry>{}
                                                            : std::vector<PrinterEntry>{{"pdf", {}, true}};
         },
         [this](const std::vector<PrinterEntry> &, PrintChoice &choice, QWidget *) {
             if (print_answer != PrintAnswer::ToFile)
                 return false;
             choice.file = outcome.file;
             return true;
         }}};
};

} // namespace parvolin::monkey
