#include "ui/main/worksheet_dialog.h"

#include "ui/main/error_display.h"
#include "ui/main/new_file.h"
#include "ui/main/print_document.h"
#include "ui/main/print_service.h"
#include "ui/main/save_document.h"
#include "ui/main/save_folder.h"
#include "ui/main/seam.h"
#include "ui/main/worksheet_pages.h"

#include "solver/date_time_text.h"
#include "solver/failure_reason.h"
#include "solver/practice_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <iterator>
#include <utility>

namespace parvolin {

namespace {

// The dialog's own texts.
constexpr char window_title[] = "Pracovní list";
constexpr char count_label[] = "Počet úlo&h:";
constexpr char difficulty_label[] = "Obtíž&nost:";
constexpr char difficulty_small[] = "malá čísla (|a| ≤ 5; |b|, |c| ≤ 30)";
constexpr char difficulty_large[] = "větší čísla, někdy i desetinná";
constexpr char number_label[] = "Čí&slo listu:";
constexpr char number_tip[] = "Stejné číslo dá vždy stejné úlohy; je vytištěno na listu.";
constexpr char new_number_caption[] = "&Jiné číslo";
constexpr char kinds_title[] = "&Druhy úloh";
constexpr char relations_title[] = "Rovnice a ne&rovnice";
constexpr char key_caption[] = "Připojit &výsledky (na zvláštních stranách)";
constexpr char steps_caption[] = "Výsledky i s post&upem řešení";
constexpr char preview_label[] = "Náh&led:";
constexpr char save_pdf_caption[] = "Uložit jako &PDF…";
constexpr char save_rtf_caption[] = "Uložit jako RT&F…";
constexpr char print_caption[] = "&Tisk…";
constexpr char close_caption[] = "&Zavřít";
constexpr char pdf_filter[] = "Dokument PDF (*.pdf)";
constexpr char rtf_filter[] = "Dokument RTF (*.rtf)";
constexpr char default_file_name[] = "pracovni-list-";

constexpr char no_kind[] = "Zaškrtněte aspoň jeden druh úloh.";
constexpr char no_relation[] = "Zaškrtněte aspoň jednu rovnici nebo nerovnici.";
constexpr char no_number[] = "Napište číslo listu: stejné číslo dá vždy stejné úlohy.";

constexpr char save_failed[] = "Pracovní list se nepodařilo uložit";
constexpr char pdf_failed[] = "Pracovní list ve formátu PDF se nepodařilo vytvořit";
constexpr char pdf_failed_detail[] = "Knihovna Qt stránky nevykreslila; soubor se neuložil.";
constexpr char print_failed[] = "Pracovní list se nepodařilo vytisknout";
constexpr const char *printing_in_progress = printing_in_progress_detail;
constexpr const char *no_printer = no_printer_detail;
constexpr char print_not_started[] = "Tiskárna úlohu nepřijala, nic se nevytisklo.";
constexpr char print_broken_off[] = "Tiskárna tisk přerušila; pracovní list se nevytiskl celý.";

// In the order of all_problem_kinds.
constexpr const char *kind_captions[] = {
    "dva celočíselné kořeny",
    "kořeny ve tvaru zlomku",
    "kořeny s odmocninou",
    "dvojnásobný kořen",
    "bez reálného kořene (D < 0)",
    "neúplná, bez lineárního členu (b = 0)",
    "neúplná, bez absolutního členu (c = 0)",
    "lineární (a = 0)",
    "bez neznámé (a = b = 0)",
};
static_assert(std::size(kind_captions) == std::size(all_problem_kinds));

// In the order of Relation.
constexpr const char *relation_captions[] = {"rovnice  =", "nerovnice  <", "nerovnice  >", "nerovnice  ≤",
                                             "nerovnice  ≥"};
constexpr const char *relation_names[] = {"equal", "less", "greater", "less_equal", "greater_equal"};

// A number of up to 18 digits always fits the 64 bits of the seed.
constexpr char number_pattern[] = "[0-9]{1,18}";

Seam<WorksheetFileDialog> file_dialog_seam;

std::optional<QString> run_file_dialog(QWidget *parent, const QString &shown_path, const QString &filter)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    // The command adds the suffix and refuses a taken name itself, as the
    // window's save command does.
    dialog.setDefaultSuffix(QString());
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.selectFile(shown_path);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() || dialog.selectedFiles().first().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

QString text(const char *utf8) { return QString::fromUtf8(utf8); }

// What a print failure means for the sheet, in Czech.
std::string print_failure_detail(const Failure &failure)
{
    if (dynamic_cast<const PrintingInProgress *>(&failure) != nullptr)
        return printing_in_progress;
    if (dynamic_cast<const NoDefaultPrinter *>(&failure) != nullptr)
        return no_printer;
    if (dynamic_cast<const PrintFailedError *>(&failure) != nullptr)
        return print_broken_off;
    if (!failure.detail().empty())
        return failure.detail();
    if (dynamic_cast<const PrintStartError *>(&failure) != nullptr)
        return print_not_started;
    return failure.message();
}

} // namespace

WorksheetFileDialog set_worksheet_file_dialog(WorksheetFileDialog dialog)
{
    return file_dialog_seam.set(std::move(dialog));
}

WorksheetDialog::WorksheetDialog(char separator, PrintCommand &print_command, QWidget *parent)
    : QDialog(parent), separator_(separator), print_command_(print_command)
{
    const LocalDateTime now = local_now();
    date_ = czech_date(now.day, now.month, now.year);
    choices_path_ = worksheet_choices_path();
    build();
    update_preview();
}

WorksheetDialog::~WorksheetDialog() = default;

void WorksheetDialog::build()
{
    setObjectName(QStringLiteral("worksheetDialog"));
    setWindowTitle(text(window_title));
    const WorksheetChoices chosen = read_worksheet_choices(choices_path_);
    const auto has = [](const auto &list, auto item) { return std::find(list.begin(), list.end(), item) != list.end(); };

    count_ = new QSpinBox(this);
    count_->setObjectName(QStringLiteral("count"));
    count_->setRange(1, max_worksheet_problems);
    count_->setValue(chosen.count);

    difficulty_ = new QComboBox(this);
    difficulty_->setObjectName(QStringLiteral("difficulty"));
    difficulty_->addItem(text(difficulty_small));
    difficulty_->addItem(text(difficulty_large));
    difficulty_->setCurrentIndex(chosen.difficulty == Difficulty::Large ? 1 : 0);

    number_ = new QLineEdit(this);
    number_->setObjectName(QStringLiteral("number"));
    number_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(number_pattern)), number_));
    number_->setText(QString::number(random_worksheet_number()));
    number_->setToolTip(text(number_tip));
    auto *new_number = new QPushButton(text(new_number_caption), this);
    new_number->setObjectName(QStringLiteral("newNumber"));
    new_number->setAutoDefault(false);
    connect(new_number, &QPushButton::clicked, this,
            [this] { number_->setText(QString::number(random_worksheet_number())); });

    auto *number_row = new QHBoxLayout;
    number_row->addWidget(number_, 1);
    number_row->addWidget(new_number);
    auto *form = new QFormLayout;
    auto *count_caption = new QLabel(text(count_label), this);
    count_caption->setBuddy(count_);
    auto *difficulty_caption = new QLabel(text(difficulty_label), this);
    difficulty_caption->setBuddy(difficulty_);
    auto *number_caption = new QLabel(text(number_label), this);
    number_caption->setBuddy(number_);
    form->addRow(count_caption, count_);
    form->addRow(difficulty_caption, difficulty_);
    form->addRow(number_caption, number_row);

    // A group's mnemonic takes the keyboard to its first box; Tab goes on
    // from there.
    auto *kinds = new QGroupBox(text(kinds_title), this);
    auto *kinds_layout = new QVBoxLayout(kinds);
    for (std::size_t i = 0; i < std::size(all_problem_kinds); ++i) {
        auto *box = new QCheckBox(text(kind_captions[i]), kinds);
        box->setObjectName(QStringLiteral("kind_%1").arg(QLatin1String(kind_name(all_problem_kinds[i]))));
        box->setChecked(has(chosen.kinds, all_problem_kinds[i]));
        kinds_layout->addWidget(box);
        kinds_.push_back(box);
    }
    auto *relations = new QGroupBox(text(relations_title), this);
    auto *relations_layout = new QGridLayout(relations);
    for (std::size_t i = 0; i < std::size(relation_captions); ++i) {
        auto *box = new QCheckBox(text(relation_captions[i]), relations);
        box->setObjectName(QStringLiteral("relation_%1").arg(QLatin1String(relation_names[i])));
        box->setChecked(has(chosen.relations, static_cast<Relation>(i)));
        // "=" alone on the first row, then the inequalities two by two
        const int row = i == 0 ? 0 : static_cast<int>(i + 1) / 2;
        const int column = i == 0 ? 0 : static_cast<int>(i + 1) % 2;
        relations_layout->addWidget(box, row, column);
        relations_.push_back(box);
    }

    key_ = new QCheckBox(text(key_caption), this);
    key_->setObjectName(QStringLiteral("key"));
    key_->setChecked(chosen.key);
    steps_ = new QCheckBox(text(steps_caption), this);
    steps_->setObjectName(QStringLiteral("steps"));
    steps_->setChecked(chosen.steps);
    steps_->setEnabled(chosen.key);
    connect(key_, &QCheckBox::toggled, steps_, &QCheckBox::setEnabled);
    auto *steps_row = new QHBoxLayout;
    steps_row->addSpacing(20);
    steps_row->addWidget(steps_);

    auto *options_column = new QVBoxLayout;
    options_column->addLayout(form);
    options_column->addWidget(kinds);
    options_column->addWidget(relations);
    options_column->addWidget(key_);
    options_column->addLayout(steps_row);
    options_column->addStretch(1);

    preview_ = new QTextBrowser(this);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setOpenLinks(false);
    auto *preview_caption = new QLabel(text(preview_label), this);
    preview_caption->setBuddy(preview_);
    auto *preview_column = new QVBoxLayout;
    preview_column->addWidget(preview_caption);
    preview_column->addWidget(preview_, 1);

    auto *columns = new QHBoxLayout;
    columns->addLayout(options_column);
    columns->addLayout(preview_column, 1);

    save_pdf_ = new QPushButton(text(save_pdf_caption), this);
    save_pdf_->setObjectName(QStringLiteral("savePdf"));
    save_rtf_ = new QPushButton(text(save_rtf_caption), this);
    save_rtf_->setObjectName(QStringLiteral("saveRtf"));
    print_ = new QPushButton(text(print_caption), this);
    print_->setObjectName(QStringLiteral("print"));
    auto *close = new QPushButton(text(close_caption), this);
    close->setObjectName(QStringLiteral("close"));
    // Enter in the number field does nothing of its own; Esc closes.
    for (QPushButton *button : {save_pdf_, save_rtf_, print_, close})
        button->setAutoDefault(false);
    connect(save_pdf_, &QPushButton::clicked, this, &WorksheetDialog::save_pdf);
    connect(save_rtf_, &QPushButton::clicked, this, &WorksheetDialog::save_rtf);
    connect(print_, &QPushButton::clicked, this, &WorksheetDialog::print);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(save_pdf_);
    buttons->addWidget(save_rtf_);
    buttons->addWidget(print_);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    // The keyboard goes down the options, then to the preview and the buttons.
    std::vector<QWidget *> order{count_, difficulty_, number_, new_number};
    order.insert(order.end(), kinds_.begin(), kinds_.end());
    order.insert(order.end(), relations_.begin(), relations_.end());
    order.insert(order.end(), {key_, steps_, preview_, save_pdf_, save_rtf_, print_, close});
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(count_, &QSpinBox::valueChanged, this, &WorksheetDialog::update_preview);
    connect(difficulty_, &QComboBox::currentIndexChanged, this, &WorksheetDialog::update_preview);
    connect(number_, &QLineEdit::textChanged, this, &WorksheetDialog::update_preview);
    for (QCheckBox *box : kinds_)
        connect(box, &QCheckBox::toggled, this, &WorksheetDialog::update_preview);
    for (QCheckBox *box : relations_)
        connect(box, &QCheckBox::toggled, this, &WorksheetDialog::update_preview);
    connect(key_, &QCheckBox::toggled, this, &WorksheetDialog::update_preview);
    connect(steps_, &QCheckBox::toggled, this, &WorksheetDialog::update_preview);

    resize(980, 680);
    count_->setFocus(Qt::OtherFocusReason);
}

std::optional<WorksheetOptions> WorksheetDialog::options() const
{
    WorksheetOptions options;
    options.count = count_->value();
    for (std::size_t i = 0; i < kinds_.size(); ++i)
        if (kinds_[i]->isChecked())
            options.generator.kinds.push_back(all_problem_kinds[i]);
    for (std::size_t i = 0; i < relations_.size(); ++i)
        if (relations_[i]->isChecked())
            options.generator.relations.push_back(static_cast<Relation>(i));
    // The generator takes an empty list for all of them; here it means none.
    if (options.generator.kinds.empty() || options.generator.relations.empty())
        return std::nullopt;
    options.generator.difficulty = difficulty_->currentIndex() == 1 ? Difficulty::Large : Difficulty::Small;
    const QByteArray digits = number_->text().toLatin1();
    const auto [end, error] = std::from_chars(digits.constData(), digits.constData() + digits.size(), options.seed);
    if (digits.isEmpty() || error != std::errc() || end != digits.constData() + digits.size())
        return std::nullopt;
    options.key = key_->isChecked();
    options.steps = options.key && steps_->isChecked();
    options.date = date_;
    options.separator = separator_;
    return options;
}

WorksheetChoices WorksheetDialog::choices() const
{
    WorksheetChoices chosen;
    chosen.count = count_->value();
    for (std::size_t i = 0; i < kinds_.size(); ++i)
        if (kinds_[i]->isChecked())
            chosen.kinds.push_back(all_problem_kinds[i]);
    for (std::size_t i = 0; i < relations_.size(); ++i)
        if (relations_[i]->isChecked())
            chosen.relations.push_back(static_cast<Relation>(i));
    chosen.difficulty = difficulty_->currentIndex() == 1 ? Difficulty::Large : Difficulty::Small;
    chosen.key = key_->isChecked();
    chosen.steps = steps_->isChecked();
    return chosen;
}

void WorksheetDialog::done(int result)
{
    if (!choices_path_.empty()) {
        try {
            write_worksheet_choices(choices_path_, choices());
        } catch (const Failure &) {
            // Not worth a message: the sheet is made, only the next run
            // opens on the defaults.
        }
    }
    QDialog::done(result);
}

void WorksheetDialog::update_preview()
{
    run_handler([this] {
        const std::optional<WorksheetOptions> chosen = options();
        sheet_.reset();
        if (chosen)
            sheet_ = build_worksheet(*chosen);
        for (QPushButton *button : {save_pdf_, save_rtf_, print_})
            button->setEnabled(sheet_.has_value());
        if (sheet_) {
            preview_->setHtml(QString::fromStdString(worksheet_html(*sheet_)));
            finish_sheet_document(*preview_->document());
            return;
        }
        const bool kind = std::any_of(kinds_.begin(), kinds_.end(), [](QCheckBox *box) { return box->isChecked(); });
        const bool relation =
            std::any_of(relations_.begin(), relations_.end(), [](QCheckBox *box) { return box->isChecked(); });
        preview_->setPlainText(text(!kind ? no_kind : !relation ? no_relation : no_number));
    });
}

void WorksheetDialog::save(const QString &filter, const QString &suffix, const std::function<std::string()> &content)
{
    if (!sheet_)
        return;
    const QString shown = QDir(save_folder()).filePath(QLatin1String(default_file_name) + QString::number(sheet_->number) + suffix);
    const auto &choose = file_dialog_seam.installed();
    const std::optional<QString> chosen = choose ? choose(this, shown, filter) : run_file_dialog(this, shown, filter);
    if (!chosen)
        return;
    remember_save_folder(*chosen);
    const QString target = target_name(*chosen, suffix);
    try {
        save_new_file(target, content);
    } catch (const FileCreateError &failure) {
        const std::string reason = failure.error() != 0 ? czech_reason(failure.error()) : failure.message();
        throw Failure(save_failed, write_failure_detail(QFile::encodeName(target).toStdString(), reason));
    } catch (const StreamWriteError &failure) {
        throw Failure(save_failed, failure.detail());
    }
}

void WorksheetDialog::save_pdf()
{
    run_handler([this] {
        save(text(pdf_filter), QStringLiteral(".pdf"), [this] {
            const QByteArray pdf = html_pdf(QString::fromStdString(worksheet_html(*sheet_)),
                                            QString::fromStdString(sheet_->title));
            if (pdf.isEmpty())
                throw Failure(pdf_failed, pdf_failed_detail);
            return pdf.toStdString();
        });
    });
}

void WorksheetDialog::save_rtf()
{
    run_handler([this] { save(text(rtf_filter), QStringLiteral(".rtf"), [this] { return worksheet_rtf(*sheet_); }); });
}

void WorksheetDialog::print()
{
    run_handler([this] {
        if (!sheet_)
            return;
        // A copy: the events that run while the print service is asked may
        // change the options.
        const Worksheet sheet = *sheet_;
        try {
            print_command_.run(this, [&sheet](QPdfWriter &writer) {
                writer.setTitle(QString::fromUtf8(worksheet_texts::number.data(),
                                                  static_cast<qsizetype>(worksheet_texts::number.size()))
                                + QString::number(sheet.number));
                draw_html_pages(QString::fromStdString(worksheet_html(sheet)), writer);
            });
        } catch (const PrintServiceSilent &) {
            throw; // already in Czech, with what to check
        } catch (const PrintJobUnfinished &) {
            throw;
        } catch (const Failure &failure) {
            throw Failure(print_failed, print_failure_detail(failure));
        }
    });
}

void run_worksheet_dialog(QWidget *parent, char separator, PrintCommand &print_command)
{
    WorksheetDialog dialog(separator, print_command, parent);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.exec();
}

} // namespace parvolin
