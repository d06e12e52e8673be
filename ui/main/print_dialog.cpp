#include "ui/main/print_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace parvolin {

namespace {

constexpr char dialog_title[] = "Tisk";
constexpr char printer_label[] = "&Tiskárna:";
constexpr char copies_label[] = "&Počet kopií:";
constexpr char print_button[] = "Tisknout";
constexpr char cancel_button[] = "Zrušit";
constexpr int most_copies = 999;

// A queue as people know it: its description, with its name where the two differ.
QString shown_name(const PrinterEntry &printer)
{
    const QString name = QString::fromStdString(printer.name);
    const QString description = QString::fromStdString(printer.description);
    if (description.isEmpty() || description == name)
        return name;
    return description + QStringLiteral(" (") + name + QLatin1Char(')');
}

} // namespace

bool run_print_dialog(const std::vector<PrinterEntry> &printers, PrintChoice &choice, QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QString::fromUtf8(dialog_title));
    dialog.setWindowModality(Qt::ApplicationModal);
    // Wide enough for its title and a printer's description.
    dialog.setMinimumWidth(dialog.fontMetrics().averageCharWidth() * 48);

    auto *printer = new QComboBox(&dialog);
    printer->setObjectName(QStringLiteral("printer"));
    for (const PrinterEntry &entry : printers) {
        printer->addItem(shown_name(entry), QString::fromStdString(entry.name));
        if (entry.name == choice.printer)
            printer->setCurrentIndex(printer->count() - 1);
    }
    auto *copies = new QSpinBox(&dialog);
    copies->setObjectName(QStringLiteral("copies"));
    copies->setRange(1, most_copies);
    copies->setValue(std::clamp(choice.copies, 1, most_copies));

    auto *form = new QFormLayout;
    form->addRow(QString::fromUtf8(printer_label), printer);
    form->addRow(QString::fromUtf8(copies_label), copies);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(print_button));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(cancel_button));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);

    if (dialog.exec() != QDialog::Accepted || printer->currentIndex() < 0)
        return false;
    choice.printer = printer->currentData().toString().toStdString();
    choice.copies = copies->value();
    return true;
}

} // namespace parvolin
