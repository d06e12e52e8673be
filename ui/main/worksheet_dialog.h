#pragma once

#include "solver/worksheet.h"
#include "ui/main/worksheet_choices.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTextBrowser;

namespace parvolin {

class PrintCommand;

// The save dialog of the worksheet: opens showing `shown_path` with the one
// file type `filter` ("Dokument PDF (*.pdf)") and returns the path chosen,
// or nothing when cancelled. Tests install their own; an empty function
// stands for the real dialog. Returns the one installed before.
using WorksheetFileDialog =
    std::function<std::optional<QString>(QWidget *parent, const QString &shown_path, const QString &filter)>;
WorksheetFileDialog set_worksheet_file_dialog(WorksheetFileDialog dialog);

// "Rovnice › Pracovní list…": the options of a worksheet, a preview of the
// sheet they give, and the commands that save it as PDF or RTF and print it.
// The preview is the HTML the PDF is drawn from; it follows every change of
// the options. The options but the number are those the dialog was last
// closed with (worksheet_choices.h). Saving keeps the rules of the window's save command (a taken
// name is refused with a notice, nothing is replaced); failures are thrown
// out of the command's handler and shown in Czech with their reason.
class WorksheetDialog : public QDialog {
    Q_OBJECT

public:
    // `separator`: the decimal separator the window uses. `print_command`:
    // the window's, so that the printer chosen stays one for both.
    WorksheetDialog(char separator, PrintCommand &print_command, QWidget *parent = nullptr);
    ~WorksheetDialog() override;

    // The sheet the options give now; nothing while they give none (no kind
    // or no relation ticked, no number).
    const std::optional<Worksheet> &sheet() const { return sheet_; }

    // Keeps the options for the next run; a file that cannot be written
    // costs only that: the dialog closes all the same.
    void done(int result) override;

private slots:
    void update_preview();
    void save_pdf();
    void save_rtf();
    void print();

private:
    void build();
    std::optional<WorksheetOptions> options() const;
    WorksheetChoices choices() const;
    void save(const QString &filter, const QString &suffix, const std::function<std::string()> &content);

    char separator_;
    PrintCommand &print_command_;
    std::string date_;
    std::string choices_path_;
    std::optional<Worksheet> sheet_;

    QSpinBox *count_ = nullptr;
    QComboBox *difficulty_ = nullptr;
    QLineEdit *number_ = nullptr;
    std::vector<QCheckBox *> kinds_;     // in the order of all_problem_kinds
    std::vector<QCheckBox *> relations_; // in the order of Relation
    QCheckBox *key_ = nullptr;
    QCheckBox *steps_ = nullptr;
    QTextBrowser *preview_ = nullptr;
    QPushButton *save_pdf_ = nullptr;
    QPushButton *save_rtf_ = nullptr;
    QPushButton *print_ = nullptr;
};

// Opens the dialog modally over `parent` until it is closed.
void run_worksheet_dialog(QWidget *parent, char separator, PrintCommand &print_command);

} // namespace parvolin
