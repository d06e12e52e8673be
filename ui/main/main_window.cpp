#include "ui/main/main_window.h"

#include "ui/aux/about_window.h"
#include "ui/aux/centred.h"
#include "ui/aux/help_pages.h"
#include "ui/aux/shell_links.h"
#include "ui/aux/splash_window.h"
#include "ui/main/coefficient_filter.h"
#include "ui/main/error_display.h"
#include "ui/main/group_box_style.h"
#include "ui/main/jpeg_image.h"
#include "ui/main/memo_rows.h"
#include "ui/main/practice_view.h"
#include "ui/main/print_document.h"
#include "ui/main/save_document.h"
#include "ui/main/settings_file.h"
#include "ui/main/stale_cover.h"
#include "ui/main/steps_view.h"
#include "ui/main/document_attachment.h"
#include "ui/main/text_fit.h"
#include "ui/main/views_layout.h"
#include "ui/main/window_geometry.h"
#include "ui/main/worksheet_dialog.h"
#include "ui_main_window.h"

#include "solver/date_time_text.h"
#include "solver/disagreement_line.h"
#include "solver/entry_help.h"
#include "solver/report.h"
#include "solver/solution.h"
#include "solver/steps.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QGroupBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QTextDocument>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace parvolin {

namespace {

constexpr QSize tool_button_size{89, 36};
constexpr int tool_separator_width = 8;
constexpr int clock_interval_ms = 1000;

// Status panel widths: the date and time panels keep theirs, the view panel
// takes the rest of the status bar.
constexpr int date_panel_width = 120;
constexpr int time_panel_width = 100;

// ScrollBox1 follows the outer window size, less these margins.
constexpr int scroll_box_width_margin = 30;
constexpr int scroll_box_height_margin = 120;

// Closing the side panel gives the window this outer width, whatever it was.
constexpr int width_without_side_panel = 490;

// Ends the event loop once no modal box is open. A failure reported on the way
// out (the settings file could not be written) is shown after termination
// has been requested, and it must stay on screen until it has been read:
// quitting from inside its modal run would close it at once.
void quit_when_no_modal_window()
{
    if (QWidget *modal = QApplication::activeModalWidget()) {
        QObject::connect(modal, &QObject::destroyed, qApp, &quit_when_no_modal_window, Qt::QueuedConnection);
        return;
    }
    QCoreApplication::quit();
}

void request_termination()
{
    QMetaObject::invokeMethod(qApp, &quit_when_no_modal_window, Qt::QueuedConnection);
}

} // namespace

MainWindow::MainWindow(const RegionalSettings &regional, std::string settings_path, QWidget *parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::MainWindow>()), regional_(regional),
      settings_path_(std::move(settings_path))
{
    ui_->setupUi(this);
    // The scrolling area is a frame, not a stop of Tab: the keyboard passes
    // from the last control to the first field, not to an unmarked frame.
    // (Its widget set in setupUi gives it the strong focus; taken back here.)
    ui_->ScrollBox1->setFocusPolicy(Qt::NoFocus);
    memo_place_ = ui_->vypisreseni->geometry();
    panel_place_ = ui_->nastav->geometry();
    create_tool_buttons();
    create_status_panels();
    create_view_tabs();
    create_practice_view();
    fit_texts();
    load_pictures();
    connect_commands();
    attach_key_filters();
    start_clock();
    // A failure here is shown and skips the rest of the creation handler;
    // the window is built all the same.
    run_handler([this] { FormCreate(); });
}

MainWindow::~MainWindow() = default;

// --- Construction -----------------------------------------------------------

void MainWindow::create_tool_buttons()
{
    // The toolbar's buttons are those of the menu actions, so a button shows
    // its item's caption, tooltip, icon and enabled state and runs its command.
    const std::pair<QAction *, const char *> buttons[] = {
        {ui_->teorie, "ToolButtonteorie"},
        {ui_->vypocet, "ToolButtonvypocet"},
        {ui_->Ulozit, "ToolButtonuloz"},
        {ui_->tisk, "ToolButtontisk"},
    };
    // Each of the layout's size, or as wide as its own caption needs in our
    // font. Were all as wide as the widest caption ("Uložit do souboru"),
    // "Tisk" would slip behind the toolbar's overflow in a narrow window.
    for (const auto &[action, name] : buttons) {
        if (QWidget *button = ui_->ToolBar1->widgetForAction(action)) {
            button->setObjectName(QString::fromLatin1(name));
            button->setFixedSize(std::max(tool_button_size.width(), button->sizeHint().width()),
                                 tool_button_size.height());
        }
    }
    if (QWidget *separator = ui_->ToolBar1->widgetForAction(ui_->ToolButton1)) {
        separator->setObjectName(QStringLiteral("ToolButton1"));
        separator->setFixedWidth(tool_separator_width);
    }
}

// The picture and the working share the graph box: two tabs where its title
// would be, the one chosen shown in the box.
void MainWindow::create_view_tabs()
{
    view_tabs_ = new QTabBar(ui_->graphBox);
    view_tabs_->setObjectName(QStringLiteral("graphTabs"));
    view_tabs_->setDrawBase(false);
    view_tabs_->setExpanding(false);
    view_tabs_->addTab(QStringLiteral("Graf"));
    view_tabs_->addTab(QStringLiteral("Postup"));
    connect(view_tabs_, &QTabBar::currentChanged, this, [this](int index) {
        ui_->solutionGraph->setVisible(index == 0);
        ui_->stepsView->setVisible(index == 1);
        stale_cover_->raise();
    });
    stale_cover_ = new StaleCover(ui_->graphBox);
    connect(ui_->disagreementBanner, &QLabel::linkActivated, this, [this] { view_tabs_->setCurrentIndex(1); });
}

// Practice stands where the other two views do, and like them is hidden
// until its command shows it.
void MainWindow::create_practice_view()
{
    practice_ = new PracticeView([this] { return regional_.decimal_separator; }, ui_->ScrollBox1Contents);
    practice_->setGeometry(ui_->zadaniBox->geometry());
    practice_->hide();
}

// The desktop's font may be wider than the one the layout was drawn for;
// where a text would be cut, it gets narrower letters in the same place.
void MainWindow::fit_texts()
{
    // Only the group boxes themselves; a widget's style does not pass to
    // its children.
    auto *group_box_style = new GroupBoxStyle;
    group_box_style->setParent(this);
    for (QGroupBox *box : findChildren<QGroupBox *>())
        box->setStyle(group_box_style);
    fit_tab_captions(ui_->nastav);
    fit_label(ui_->desmistatext);
}

void MainWindow::create_status_panels()
{
    date_panel_ = ui_->StatusPanel0;
    time_panel_ = ui_->StatusPanel1;
    view_panel_ = ui_->StatusPanel2;
    // Until the first tick the clock panels show their captions alone.
    date_caption_ = date_panel_->text();
    time_caption_ = time_panel_->text();
}

void MainWindow::load_pictures()
{
    // The banner is a JPEG and goes through our own decoder; a missing or
    // unreadable picture leaves the frame empty.
    const QImage banner = load_jpeg(QStringLiteral(":/assets/banner.jpg"));
    if (!banner.isNull())
        ui_->Image1->setPixmap(QPixmap::fromImage(banner));
    // The standard glyphs: a check mark for solving, a turning arrow for a
    // new task.
    ui_->BitBtnVyresit->setIcon(
        QIcon::fromTheme(QStringLiteral("dialog-ok-apply"), style()->standardIcon(QStyle::SP_DialogApplyButton)));
    ui_->BitBtnNove->setIcon(
        QIcon::fromTheme(QStringLiteral("view-refresh"), style()->standardIcon(QStyle::SP_BrowserReload)));
}

void MainWindow::connect_commands()
{
    connect(ui_->teorie, &QAction::triggered, this, &MainWindow::teorieClick);
    connect(ui_->vypocet, &QAction::triggered, this, &MainWindow::vypocetClick);
    connect(ui_->procvicovani, &QAction::triggered, this, &MainWindow::procvicovaniClick);
    connect(ui_->Konec1, &QAction::triggered, this, &MainWindow::Konec1Click);
    connect(ui_->Desetinnoddlova1, &QAction::triggered, this, &MainWindow::Desetinnoddlova1Click);
    connect(ui_->Pouitznaen1, &QAction::triggered, this, &MainWindow::Pouitznaen1Click);
    connect(ui_->aaa1, &QAction::triggered, this, &MainWindow::aaa1Click);
    connect(ui_->Oprogramu1, &QAction::triggered, this, &MainWindow::Oprogramu1Click);
    connect(ui_->BitBtnVyresit, &QPushButton::clicked, this, &MainWindow::BitBtnVyresitClick);
    connect(ui_->BitBtnNove, &QPushButton::clicked, this, &MainWindow::BitBtnNoveClick);
    // ToolButtonuloz and ToolButtontisk are these actions' own buttons.
    save_command_ = std::make_unique<SaveCommand>();
    print_command_ = std::make_unique<PrintCommand>();
    connect(ui_->Ulozit, &QAction::triggered, this, &MainWindow::UlozitClick);
    connect(ui_->tisk, &QAction::triggered, this, &MainWindow::tiskClick);
    connect(ui_->Pracovnilist, &QAction::triggered, this, &MainWindow::PracovnilistClick);
    // Both buttons of the side panel close it.
    connect(ui_->schovatnastav, &QPushButton::clicked, this, &MainWindow::schovatnastavClick);
    connect(ui_->Button1, &QPushButton::clicked, this, &MainWindow::schovatnastavClick);

    // F10 opens the first menu, as on the desktops, so that the menu
    // commands without a shortcut of their own (Pracovní list…, Přiložit
    // postup a graf, the settings) are reached from the keyboard too.
    auto *menus = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menus, &QShortcut::activated, this, [this] {
        if (QAction *first = ui_->MainMenu1->actions().value(0))
            ui_->MainMenu1->setActiveAction(first);
    });

    // The banner and the two link labels are clicked like buttons.
    for (QWidget *link : {static_cast<QWidget *>(ui_->Image1), static_cast<QWidget *>(ui_->Label19),
                          static_cast<QWidget *>(ui_->Label20)})
        link->installEventFilter(this);
}

void MainWindow::attach_key_filters()
{
    // The separator choice is read at each key, so a change in the side
    // panel applies to the next key typed. Enter runs the solve command, as
    // the window's default button would.
    key_filter_ = new CoefficientKeyFilter(
        [this] { return chosen_separator() == '.' ? ChosenSeparator::Dot : ChosenSeparator::Comma; },
        [this] { BitBtnVyresitClick(); }, this);
    for (QLineEdit *field : {ui_->kv_koef, ui_->lin_koef, ui_->abs_koef})
        key_filter_->attach(field);
    ui_->ListBox1->installEventFilter(this);
    ui_->desmista->installEventFilter(this);
    for (QLineEdit *field : {ui_->kv_koef, ui_->lin_koef, ui_->abs_koef})
        connect(field, &QLineEdit::textChanged, this, &MainWindow::mark_stale_views);
    for (QListWidget *list : {ui_->ListBox1, ui_->desmista})
        connect(list, &QListWidget::currentRowChanged, this, &MainWindow::mark_stale_views);
    for (QRadioButton *choice : {ui_->RadioButton1, ui_->RadioButton2})
        connect(choice, &QRadioButton::toggled, this, &MainWindow::show_separator_agreement);
    show_separator_agreement();
}

char MainWindow::chosen_separator() const
{
    return ui_->RadioButton2->isChecked() ? '.' : ',';
}

void MainWindow::set_regional_settings(const RegionalSettings &regional)
{
    regional_ = regional;
    show_separator_agreement();
}

// A line on the separator page while the choice and the system disagree.
void MainWindow::show_separator_agreement()
{
    const std::string line = separator_disagreement(chosen_separator(), regional_.decimal_separator);
    ui_->separatorWarning->setText(QString::fromStdString(line));
    ui_->separatorWarning->setVisible(!line.empty());
}

void MainWindow::start_clock()
{
    clock_ = new QTimer(this);
    clock_->setObjectName(QStringLiteral("Timer1"));
    clock_->setInterval(clock_interval_ms);
    connect(clock_, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    clock_->start();
}

void MainWindow::FormCreate()
{
    ui_->teorie->setChecked(true);
    show_start_splash(this);
    ui_->ListBox1->setCurrentRow(0);
    ui_->desmista->setCurrentRow(0);
    read_settings();
}

void MainWindow::read_settings()
{
    if (settings_path_.empty())
        settings_path_ = settings_file_path(QCoreApplication::applicationFilePath().toStdString());
    // The program has no web site of its own; the two theory pages shipped
    // with it stand in for one, as file:// addresses, so the links work offline.
    WindowSettings defaults;
    defaults.first_address = equations_page_address();
    defaults.second_address = inequalities_page_address();
    const SettingsFile file(settings_path_);
    settings_ignored_ = file.oversized();
    const WindowSettings settings = settings_ignored_ ? defaults : read_window_settings(file, defaults);
    if (settings_ignored_)
        show_failure("Soubor nastavení je příliš velký, program ho nečte ani nepřepíše",
                     "Soubor " + settings_path_ +
                         " má víc než 64 KiB, nastavení programu přitom zabere jen pár set bajtů. "
                         "Platí výchozí nastavení a při zavření se do souboru nic nezapíše.");

    first_address_ = settings.first_address;
    second_address_ = settings.second_address;
    ui_->Label19->setText(QString::fromStdString(first_address_));
    ui_->Label20->setText(QString::fromStdString(second_address_));

    // Top and left are applied although the first show centres the window.
    // A size or place no screen shows (a file edited by hand, a window once
    // made larger than the screen) is brought within the screen's area.
    // A size too small to show the views (0, negative) gives the smallest
    // that shows them whole.
    const int frame = 2 * ui_->ScrollBox1->frameWidth();
    const QSize smallest = views_content_size + QSize(frame + scroll_box_width_margin, frame + scroll_box_height_margin);
    const QRect outer = fit_outer_geometry(settings.left, settings.top, settings.width, settings.height,
                                           available_screen_area(this), smallest);
    move(outer.topLeft());
    set_outer_height(outer.height());
    set_outer_width(outer.width());
    // Until the window is framed its frame adds nothing; the size is made
    // outer again once the frame is known (see fit_stored_outer_size).
    stored_outer_size_ = outer.size();
    if (settings.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        setWindowState(windowState() & ~Qt::WindowMaximized);

    if (settings.dot_separator)
        ui_->RadioButton2->setChecked(true);
    ui_->Prilozitpostup->setChecked(settings.attach_working);
}

WindowSettings MainWindow::current_settings() const
{
    // A maximized window gives its maximized bounds.
    const QRect outer = frameGeometry();
    WindowSettings settings;
    settings.first_address = first_address_;
    settings.second_address = second_address_;
    settings.top = outer.top();
    settings.left = outer.left();
    settings.height = outer.height();
    // Not the growth made for the picture or the panel: the user's own width.
    settings.width = isMaximized() ? outer.width() : user_width_.value_or(outer.width());
    settings.maximized = isMaximized();
    settings.dot_separator = ui_->RadioButton2->isChecked();
    settings.attach_working = ui_->Prilozitpostup->isChecked();
    return settings;
}

void MainWindow::set_outer_height(int height)
{
    resize(width(), height - (frameGeometry().height() - this->height()));
}

void MainWindow::set_outer_width(int width)
{
    resize(width - (frameGeometry().width() - this->width()), height());
}

// --- Window events ------------------------------------------------------------

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (centred_ || event->spontaneous())
        return;
    centred_ = true;
    // A window manager frames the window only once it is mapped; its frame
    // is known at the first exposure at the latest.
    if (!fit_stored_outer_size() && windowHandle() != nullptr)
        windowHandle()->installEventFilter(this);
    // Centred with the size it has now; this wins over the stored position.
    const QScreen *screen = this->screen();
    if (screen == nullptr || isMaximized())
        return;
    // The part of the screen free of panels, and the size with the frame.
    move(centred_in(screen->availableGeometry(), frameGeometry().size()));
}

bool MainWindow::fit_stored_outer_size()
{
    if (!stored_outer_size_)
        return true;
    const QSize frame = frameGeometry().size() - size();
    if (frame.isNull() && !isMaximized())
        return false;
    // The stored size is the outer size of the last run; without this, every
    // start would add the frame to the window once more.
    if (!isMaximized())
        resize(*stored_outer_size_ - frame);
    stored_outer_size_.reset();
    return true;
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // A width the program did not set is the user's own from now on.
    if (user_width_ && !isMaximized() && !isFullScreen() && frameGeometry().width() != automatic_width_)
        user_width_.reset();
    run_handler([this] { FormResize(); });
}

void MainWindow::FormResize()
{
    // The panels sit side by side from the left; the last one may reach past
    // the right end of the status bar, which then cuts it off.
    const int panel_height = ui_->StatusBar1->height();
    date_panel_->resize(date_panel_width, panel_height);
    time_panel_->resize(time_panel_width, panel_height);
    view_panel_->resize(ui_->StatusBar1->width() - date_panel_width - time_panel_width, panel_height);

    const QSize outer = frameGeometry().size();
    ui_->ScrollBox1->resize(outer.width() - scroll_box_width_margin, outer.height() - scroll_box_height_margin);
    lay_out_views();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Linux has no broadcast for a change of the user's regional settings.
    // The nearest thing is Qt's locale change, sent when the system or the
    // program's default locale changes; the record is read again then, so a
    // new separator applies from the next solve and the next clock tick.
    if (event->type() == QEvent::LocaleChange)
        run_handler([this] { set_regional_settings(load_regional_settings()); });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    // After "Konec" the window closes without writing again.
    if (!ending_)
        run_handler([this] { FormClose(); });
}

void MainWindow::FormClose()
{
    ending_ = true;
    SettingsFile file(settings_path_);
    const auto terminate = qScopeGuard(&request_termination);
    if (!settings_ignored_)
        write_settings_on_end(file, current_settings(), true);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && watched == static_cast<QObject *>(windowHandle())) {
        // Framed or not, the first exposure is the last chance to correct.
        fit_stored_outer_size();
        stored_outer_size_.reset();
        watched->removeEventFilter(this);
        return false;
    }
    if (event->type() == QEvent::KeyPress && (watched == ui_->ListBox1 || watched == ui_->desmista)) {
        if (is_enter_key(*static_cast<QKeyEvent *>(event))) {
            // As the window's default button would.
            BitBtnVyresitClick();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget != nullptr && mouse->button() == Qt::LeftButton
            && widget->rect().contains(mouse->position().toPoint())) {
            if (watched == ui_->Image1 || watched == ui_->Label19)
                open_address(first_address_);
            else if (watched == ui_->Label20)
                open_address(second_address_);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- Commands -----------------------------------------------------------------

void MainWindow::set_result_commands_enabled(bool enabled)
{
    // ToolButtonuloz and ToolButtontisk are the actions' own buttons and
    // follow them.
    ui_->Ulozit->setEnabled(enabled);
    ui_->tisk->setEnabled(enabled);
}

// The picture of the solution stands right of the computation view and
// comes and goes with the result box. The scrolling area's content widens to
// take it in, and a window too narrow to show it grows, as it does for the
// side panel, as far as the screen allows; once the picture goes, the window
// returns to the width the user gave it.
void MainWindow::show_result_box(bool shown)
{
    ui_->vysledekBox->setVisible(shown);
    ui_->graphBox->setVisible(shown);
    lay_out_views();
    mark_stale_views();
    fit_width_to_views();
}

ViewsLayout MainWindow::views_layout() const
{
    const QScrollArea *area = ui_->ScrollBox1;
    ViewsGeometry geometry;
    geometry.viewport = area->size() - QSize(2 * area->frameWidth(), 2 * area->frameWidth());
    geometry.scroll_bar = area->verticalScrollBar()->sizeHint().width();
    geometry.content_left = area->geometry().left() + area->frameWidth() + ui_->centralwidget->x();
    geometry.panel = panel_place_.translated(ui_->centralwidget->pos());
    geometry.graph_shown = ui_->graphBox->isVisibleTo(this);
    geometry.panel_open = ui_->nastav->isVisibleTo(this);
    return parvolin::lay_out_views(geometry);
}

void MainWindow::lay_out_views()
{
    const ViewsLayout layout = views_layout();
    ui_->ScrollBox1Contents->resize(layout.content);
    place_side_panel(!layout.graph_box.isEmpty());
    if (layout.graph_box.isEmpty())
        return;
    ui_->graphBox->setGeometry(layout.graph_box);
    // The picture fills its group box inside the frame and below the tabs,
    // which take their whole height in the desktop's font: the picture never
    // covers their captions.
    const int top = std::max(16, view_tabs_->sizeHint().height());
    const QRect inside = QRect(QPoint(0, 0), layout.graph_box.size()).adjusted(8, top, -8, -8);
    ui_->solutionGraph->setGeometry(inside);
    ui_->stepsView->setGeometry(inside);
    stale_cover_->setGeometry(inside);
    // The tabs stand on the box's top edge, where a title would.
    view_tabs_->setGeometry(inside.left(), 0, std::min(inside.width(), view_tabs_->sizeHint().width()), inside.top());
}

// While the picture is shown, the open side panel stands in the scrolled
// content, between the views and the picture, and scrolls with them: the
// layout keeps the picture right of it there, so a window too narrow for
// both shows a scroll bar and the picture never slides under the panel.
// Unscrolled it stands where it stood over the window. Without the picture
// it stands over the window where the layout has it, beyond the views.
void MainWindow::place_side_panel(bool beside_graph)
{
    QTabWidget *panel = ui_->nastav;
    const bool open = !panel->isHidden();
    const bool in_content = beside_graph && open;
    QWidget *parent = in_content ? ui_->ScrollBox1Contents : ui_->centralwidget;
    QRect place = panel_place_;
    const int frame = ui_->ScrollBox1->frameWidth();
    if (in_content) {
        place.translate(-(ui_->ScrollBox1->geometry().topLeft() + QPoint(frame, frame)));
        place.moveTop(std::max(0, place.top()));
    }
    // Automatic sizing keeps the panel whole on screen: over the window it
    // needs the window to reach its right edge, in the content the
    // scrolling area's viewport, less a scroll bar, does.
    if (side_panel_sizing_) {
        int minimum = panel_place_.translated(ui_->centralwidget->pos()).right() + 1;
        if (in_content)
            minimum += frame + ui_->ScrollBox1->verticalScrollBar()->sizeHint().width() + scroll_box_width_margin -
                       ui_->ScrollBox1->x() - (frameGeometry().width() - width());
        // A growth this makes is the program's, not the user's.
        if (width() < minimum && !isMaximized() && !isFullScreen()) {
            if (!user_width_)
                user_width_ = frameGeometry().width();
            automatic_width_ = minimum + frameGeometry().width() - width();
        }
        setMinimumWidth(minimum);
    }
    if (panel->parentWidget() != parent) {
        // A new parent hides the panel and takes the keyboard from it.
        QWidget *focused = QApplication::focusWidget();
        const bool had_focus = focused != nullptr && panel->isAncestorOf(focused);
        panel->setParent(parent);
        panel->setVisible(open);
        if (had_focus)
            focused->setFocus(Qt::OtherFocusReason);
    }
    panel->setGeometry(place);
    if (open)
        panel->raise();
}

// The outer width that shows the views, the picture and the side panel
// whole; 0 when nothing asks for more than the user's width.
int MainWindow::needed_outer_width() const
{
    const int frame = frameGeometry().width() - width();
    int needed = 0;
    if (ui_->graphBox->isVisibleTo(this))
        needed = views_layout().needed_viewport_width + 2 * ui_->ScrollBox1->frameWidth() + scroll_box_width_margin;
    if (ui_->nastav->isVisibleTo(this))
        needed = std::max(needed, panel_place_.translated(ui_->centralwidget->pos()).right() + 1 + frame);
    return needed;
}

// Grows the window to what the picture and the panel need, or takes back
// the growth once they need less; the user's own width is kept aside
// meanwhile (user_width_), and is what the settings file gets.
void MainWindow::fit_width_to_views()
{
    if (isMaximized() || isFullScreen())
        return;
    const QScreen *screen = this->screen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
    const int wanted = needed_outer_width();
    // As wide as the screen at most; a window wider than the screen and
    // still too narrow is brought to the screen's width.
    const int needed = screen != nullptr ? std::min(wanted, available.width()) : wanted;
    const QRect outer = frameGeometry();
    int target = outer.width();
    if (wanted > outer.width()) {
        if (!user_width_)
            user_width_ = outer.width();
        target = needed;
    } else if (user_width_) {
        target = std::max(*user_width_, needed);
    }
    if (user_width_ && target <= *user_width_)
        user_width_.reset();
    if (target == outer.width())
        return;
    automatic_width_ = target;
    set_outer_width(target);
    if (screen != nullptr && outer.left() + target > available.right() + 1)
        move(std::max(available.left(), available.right() + 1 - target), outer.top());
    lay_out_views();
}

// Switches to the view `shown` under `command`, hiding the others; any
// switch also hides the result of the last solve.
void MainWindow::show_view(QAction *command, QWidget *shown)
{
    set_result_commands_enabled(false);
    show_result_box(false);
    command->setChecked(true);
    for (QWidget *view : std::initializer_list<QWidget *>{ui_->TextTeorie, ui_->zadaniBox, practice_})
        if (view != shown)
            view->hide();
    shown->show();
    // The view panel names the view as its command does.
    view_panel_->setText(command->text());
}

void MainWindow::teorieClick()
{
    run_handler([this] { show_view(ui_->teorie, ui_->TextTeorie); });
}

void MainWindow::vypocetClick()
{
    run_handler([this] {
        show_view(ui_->vypocet, ui_->zadaniBox);
        start_typing(ui_->kv_koef);
    });
}

// The first opening of the view begins the sitting; it lasts while the
// program runs, so a look at Teorie or a solve in Výpočet costs neither the
// problem on screen nor the score.
void MainWindow::procvicovaniClick()
{
    run_handler([this] {
        if (!practice_->in_sitting())
            practice_->start_sitting();
        show_view(ui_->procvicovani, practice_);
        practice_->start_typing();
    });
}

void MainWindow::Konec1Click()
{
    run_handler([this] {
        // Quitting closes the window; that close must not write the settings
        // a second time, with the addresses.
        ending_ = true;
        SettingsFile file(settings_path_);
        const auto terminate = qScopeGuard(&request_termination);
        if (!settings_ignored_)
            write_settings_on_end(file, current_settings(), false);
    });
}

void MainWindow::Desetinnoddlova1Click()
{
    run_handler([this] { open_side_panel(ui_->oddelovac); });
}

void MainWindow::Pouitznaen1Click()
{
    run_handler([this] { open_side_panel(ui_->znaceni); });
}

void MainWindow::open_side_panel(QWidget *page)
{
    ui_->nastav->show();
    ui_->nastav->raise();
    ui_->nastav->setCurrentWidget(page);
    // Automatic sizing: the window grows to include the panel and cannot be
    // made narrower than that while the panel is open. A picture shown moves
    // right of the panel, and the window grows for both.
    if (!side_panel_sizing_)
        width_before_panel_minimum_ = minimumWidth();
    side_panel_sizing_ = true;
    const QRect panel = panel_place_.translated(ui_->centralwidget->pos());
    // The growth is the program's, not the user's.
    if (!user_width_ && width() < panel.right() + 1 && !isMaximized() && !isFullScreen()) {
        user_width_ = frameGeometry().width();
        automatic_width_ = panel.right() + 1 + frameGeometry().width() - width();
    }
    setMinimumWidth(panel.right() + 1);
    lay_out_views();
    fit_width_to_views();
}

void MainWindow::schovatnastavClick()
{
    run_handler([this] {
        ui_->nastav->hide();
        if (side_panel_sizing_) {
            side_panel_sizing_ = false;
            setMinimumWidth(width_before_panel_minimum_);
        }
        // Back to the narrow window; with a picture shown, back to the width
        // the window had before the panel opened.
        if (!ui_->graphBox->isVisibleTo(this)) {
            user_width_.reset();
            set_outer_width(width_without_side_panel);
        }
        lay_out_views();
        fit_width_to_views();
    });
}

void MainWindow::aaa1Click()
{
    run_handler([] { open_help_page(); });
}

void MainWindow::Oprogramu1Click()
{
    run_handler([this] { run_about_window(this); });
}

void MainWindow::open_address(const std::string &address)
{
    run_handler([&address] { parvolin::open_address(address); });
}

void MainWindow::BitBtnVyresitClick()
{
    run_handler([this] {
        // Everything up to showing the result box happens before any text is
        // read, so a failure below leaves an empty result that can still be
        // saved and printed.
        ui_->vypisreseni->clear();
        set_document({});
        ui_->solutionGraph->clear();
        ui_->stepsView->clear_working();
        show_disagreement({});
        set_result_commands_enabled(true);
        show_result_box(true);

        const std::string a = ui_->kv_koef->text().toStdString();
        const std::string b = ui_->lin_koef->text().toStdString();
        const std::string c = ui_->abs_koef->text().toStdString();
        const ProblemInput input{a, b, c, ui_->ListBox1->currentRow(), ui_->desmista->currentRow()};
        solved_task_ = task_entries();
        mark_stale_views();
        const Problem problem = parse_entries_or_point_at_field(input);
        // The exact working comes before the report's arithmetic, so that a
        // report that fails still leaves the exact result and its working
        // on screen beside the failure.
        const std::optional<StepsResult> steps = exact_steps(input);
        const std::string disagreement = steps ? disagreement_line(*steps) : std::string();
        if (steps)
            ui_->stepsView->show_working(steps->working);
        show_disagreement(disagreement);
        const Solution solution = analyse(problem);
        const Report report = build_report(problem, solution, regional_.decimal_separator);
        for (const std::string &line : report.lines)
            ui_->vypisreseni->appendPlainText(QString::fromStdString(line));
        // The picture is drawn from the same Solution as the sentences, so
        // the two cannot disagree; where both differ from the exact result,
        // its caption says so in the banner's words.
        ui_->solutionGraph->show_solution(problem, solution, regional_.decimal_separator, disagreement);

        // The document takes the report as the memo shows it, row by row.
        const std::string date = date_text(local_now(), regional_);
        set_document(build_document(date, display_rows(*ui_->vypisreseni)).lines);
    });
}

// What a solve reads: the three texts, the relation and the places.
QStringList MainWindow::task_entries() const
{
    return {ui_->kv_koef->text(), ui_->lin_koef->text(), ui_->abs_koef->text(),
            QString::number(ui_->ListBox1->currentRow()), QString::number(ui_->desmista->currentRow())};
}

// Once the task differs from the one solved, the graph and the working are
// paled and say so until the next solve; an edit undone takes the mark away.
void MainWindow::mark_stale_views()
{
    const bool stale = ui_->graphBox->isVisibleTo(this) && !solved_task_.isEmpty() && task_entries() != solved_task_;
    stale_cover_->setVisible(stale);
    if (stale)
        stale_cover_->raise();
    // The banner belongs to the solved task as the graph does: greyed with
    // it, its link too.
    ui_->disagreementBanner->setEnabled(!stale);
    set_banner_text(!stale);
}

// The banner's line (its accessible name) as its text; "záložka Postup" in
// it is a link while the banner is live.
void MainWindow::set_banner_text(bool with_link)
{
    QLabel *banner = ui_->disagreementBanner;
    QString html = banner->accessibleName().toHtmlEscaped();
    if (with_link) {
        const QString tab = QStringLiteral("záložka Postup");
        html.replace(tab, QStringLiteral("<a href=\"postup\">%1</a>").arg(tab));
    }
    banner->setText(html);
}

// The working beside the picture. A text too long to work out exactly gives
// no working; the report and the picture stand all the same.
std::optional<StepsResult> MainWindow::exact_steps(const ProblemInput &input) const
{
    try {
        return build_steps(input, regional_.decimal_separator);
    } catch (const Failure &) {
        return std::nullopt;
    }
}

// The line above the report where the exact result differs from it: the
// report's own lines stay as they are, the memo gives up the banner's height
// and scrolls. "záložka Postup" in it opens the working.
void MainWindow::show_disagreement(const std::string &line)
{
    QLabel *banner = ui_->disagreementBanner;
    const QString text = QString::fromStdString(line);
    banner->setAccessibleName(text);
    if (line.empty()) {
        banner->hide();
        banner->clear();
        ui_->vypisreseni->setGeometry(memo_place_);
        return;
    }
    set_banner_text(banner->isEnabled());
    const int height = std::min(banner->heightForWidth(memo_place_.width()), memo_place_.height() / 2);
    banner->setGeometry(memo_place_.left(), memo_place_.top(), memo_place_.width(), height);
    constexpr int gap = 4;
    ui_->vypisreseni->setGeometry(memo_place_.adjusted(0, height + gap, 0, 0));
    banner->show();
}

// A text that does not convert puts the keyboard on its field, text selected,
// before the failure is shown; the message box gives the focus back there.
Problem MainWindow::parse_entries_or_point_at_field(const ProblemInput &input)
{
    try {
        return parse_entries(input, chosen_separator(), regional_.decimal_separator);
    } catch (const CoefficientError &failure) {
        QLineEdit *const fields[] = {ui_->kv_koef, ui_->lin_koef, ui_->abs_koef};
        start_typing(fields[static_cast<int>(failure.coefficient())]);
        throw;
    }
}

void MainWindow::set_document(const std::vector<std::string> &lines)
{
    document_lines_ = lines;
    ui_->RichEdit1->clear();
    // One centred paragraph per line, in RichEdit1's own font.
    QTextCursor cursor(ui_->RichEdit1->document());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(centred);
        cursor.insertText(QString::fromStdString(lines[i]));
    }
}

void MainWindow::BitBtnNoveClick()
{
    run_handler([this] {
        set_result_commands_enabled(false);
        show_result_box(false);
        // The fields' text in the layout. The memo, the document and the
        // list selections stay until the next solve.
        for (QLineEdit *field : {ui_->kv_koef, ui_->lin_koef, ui_->abs_koef})
            field->setText(QStringLiteral("0"));
        start_typing(ui_->kv_koef);
    });
}

// The keyboard goes to `field`, its whole text selected, so that what is
// typed replaces it.
void MainWindow::start_typing(QLineEdit *field)
{
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

void MainWindow::Timer1Timer()
{
    run_handler([this] {
        const LocalDateTime now = local_now();
        time_panel_->setText(time_caption_ + QString::fromStdString(time_text(now, regional_)));
        date_panel_->setText(date_caption_ + QString::fromStdString(date_text(now, regional_)));
    });
}

void MainWindow::UlozitClick()
{
    run_handler([this] {
        const std::optional<DocumentAttachment> attachment = document_attachment();
        save_command_->run(this, ResultDocument{document_lines_}, attachment ? &*attachment : nullptr);
    });
}

void MainWindow::tiskClick()
{
    run_handler([this] {
        if (!ui_->Prilozitpostup->isChecked()) {
            print_command_->run(this, *ui_->RichEdit1->document());
            return;
        }
        const std::unique_ptr<QTextDocument> printed = printed_with_attachment(
            *ui_->RichEdit1->document(), ui_->stepsView->working(), graph_picture(*ui_->solutionGraph));
        print_command_->run(this, *printed);
    });
}

void MainWindow::PracovnilistClick()
{
    run_handler([this] { run_worksheet_dialog(this, chosen_separator(), *print_command_); });
}

// The steps and the picture for the saved document, when the command asks
// for them and the last solve gave them.
std::optional<DocumentAttachment> MainWindow::document_attachment() const
{
    if (!ui_->Prilozitpostup->isChecked())
        return std::nullopt;
    DocumentAttachment attachment;
    if (const auto &working = ui_->stepsView->working())
        attachment.working = *working;
    attachment.picture = graph_png(*ui_->solutionGraph);
    return attachment;
}

} // namespace parvolin
