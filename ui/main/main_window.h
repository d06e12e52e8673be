#pragma once

#include "solver/regional_settings.h"
#include "solver/report.h"
#include "solver/steps.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QTabBar;
class QTimer;

namespace Ui {
class MainWindow;
}

namespace parvolin {

class CoefficientKeyFilter;
class PracticeView;
class StaleCover;
class PrintCommand;
class SaveCommand;
struct DocumentAttachment;
struct ViewsLayout;
struct WindowSettings;

// The main window `TForm1`: the welcome, computation and practice views in a
// scrolling area, the menu and toolbar commands, the status bar with its
// clock, and the side panel with the separator choice and the notation
// legend. Its layout is main_window.ui; the code here only switches
// visibility, enabled states and texts, and hands the entries to the solver.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // `regional`: the regional settings loaded at start. `settings_path`: the
    // settings file read now and written when the program ends; empty means
    // the program's own file (settings_file_path).
    explicit MainWindow(const RegionalSettings &regional, std::string settings_path = {},
                        QWidget *parent = nullptr);
    ~MainWindow() override;

    const RegionalSettings &regional_settings() const { return regional_; }
    void set_regional_settings(const RegionalSettings &regional);

    const std::string &settings_path() const { return settings_path_; }

    // The two web addresses read at start (captions of Label19 and Label20).
    const std::string &first_address() const { return first_address_; }
    const std::string &second_address() const { return second_address_; }

    // The lines of the result document held in RichEdit1, one per paragraph,
    // as the last solve left them; empty before the first solve and after a
    // failed one.
    const std::vector<std::string> &document_lines() const { return document_lines_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void teorieClick();
    void vypocetClick();
    void procvicovaniClick();
    void Konec1Click();
    void Desetinnoddlova1Click();
    void Pouitznaen1Click();
    void aaa1Click();
    void Oprogramu1Click();
    void schovatnastavClick();
    void BitBtnVyresitClick();
    void BitBtnNoveClick();
    void Timer1Timer();
    void UlozitClick();
    void tiskClick();
    void PracovnilistClick();

private:
    // Construction steps.
    void create_tool_buttons();
    void create_status_panels();
    void create_view_tabs();
    void create_practice_view();
    void fit_texts();
    void load_pictures();
    void connect_commands();
    void attach_key_filters();
    void start_clock();

    void FormCreate();
    void FormResize();
    void FormClose();
    void read_settings();
    WindowSettings current_settings() const;

    void set_result_commands_enabled(bool enabled);
    void show_result_box(bool shown);
    void show_view(QAction *command, QWidget *shown);
    ViewsLayout views_layout() const;
    void lay_out_views();
    int needed_outer_width() const;
    void fit_width_to_views();
    void open_side_panel(QWidget *page);
    void set_document(const std::vector<std::string> &lines);
    void open_address(const std::string &address);
    char chosen_separator() const;
    void show_separator_agreement();
    void start_typing(QLineEdit *field);
    Problem parse_entries_or_point_at_field(const ProblemInput &input);
    std::optional<StepsResult> exact_steps(const ProblemInput &input) const;
    void show_disagreement(const std::string &line);
    void set_banner_text(bool with_link);
    void place_side_panel(bool beside_graph);
    QStringList task_entries() const;
    void mark_stale_views();
    std::optional<DocumentAttachment> document_attachment() const;

    // Outer (frame) sizes; the frame adds nothing until the window manager
    // has framed the window.
    void set_outer_height(int height);
    void set_outer_width(int width);
    bool fit_stored_outer_size();

    std::unique_ptr<Ui::MainWindow> ui_;
    QLabel *date_panel_ = nullptr;
    QLabel *time_panel_ = nullptr;
    QLabel *view_panel_ = nullptr;
    QTabBar *view_tabs_ = nullptr; // "Graf" and "Postup" on the graph box
    StaleCover *stale_cover_ = nullptr; // over both while they show a task since edited
    QStringList solved_task_;            // the entries of the last solve (task_entries)
    QRect memo_place_;  // vypisreseni where the layout has it; it gives room to the banner above it
    QRect panel_place_; // nastav where the layout has it, in the central widget's coordinates
    PracticeView *practice_ = nullptr;
    QTimer *clock_ = nullptr;
    CoefficientKeyFilter *key_filter_ = nullptr;
    std::unique_ptr<SaveCommand> save_command_;
    std::unique_ptr<PrintCommand> print_command_;

    RegionalSettings regional_;
    std::string settings_path_;
    std::string first_address_;
    std::string second_address_;
    std::vector<std::string> document_lines_;
    std::optional<QSize> stored_outer_size_; // from the settings file, until the frame is known
    std::optional<int> user_width_;          // the user's outer width while the window is wider for the views
    int automatic_width_ = -1;               // the outer width the program set last

    // The status panels' captions, "Datum:" and "Čas:", as the layout has them.
    QString date_caption_;
    QString time_caption_;

    bool centred_ = false;           // centred on the screen at the first show
    bool side_panel_sizing_ = false; // the window is kept wide enough for the side panel
    int width_before_panel_minimum_ = 0;
    bool ending_ = false;            // the settings have been written on the way out
    bool settings_ignored_ = false;  // the settings file was too large to read: it is not rewritten either
};

} // namespace parvolin
