#pragma once

// What the widget tests of the main window share: the program's seams
// replaced for a while, controls found by object name, a message box read and
// closed, and a fixture with a window on a settings file of its own.

#include "ui/main/error_display.h"
#include "ui/main/main_window.h"

#include "tests/ui/scoped_variable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace parvolin {

// Installs a replacement in one of the program's seams (the error display,
// the save and print dialogs, the shell) and puts the previous one back at
// the end of its scope.
template <typename Seam>
class ReplacedSeam {
public:
    ReplacedSeam(Seam (*install)(Seam), Seam replacement)
        : install_(install), previous_(install(std::move(replacement)))
    {
    }
    ~ReplacedSeam() { install_(std::move(previous_)); }
    ReplacedSeam(const ReplacedSeam &) = delete;
    ReplacedSeam &operator=(const ReplacedSeam &) = delete;

private:
    Seam (*install_)(Seam);
    Seam previous_;
};

// A control by its object name; missing, it fails the test.
template <typename Widget>
Widget *child(const QObject *parent, const char *name)
{
    auto *widget = parent->findChild<Widget *>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// A left click at `at`, pressed and released as the mouse does it.
inline void click_with_mouse(QWidget *widget, QPointF at)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at.toPoint());
}

// Looks for a shown message box every `interval_ms` from the event loop,
// the box's own modal loop included; the first one found is read, then
// closed with its OK button, as the pupil who read it would close it.
class MessageBoxReader {
public:
    MessageBoxReader(int interval_ms, std::function<void(const QMessageBox &box)> read)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this, read = std::move(read)] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                auto *box = qobject_cast<QMessageBox *>(widget);
                if (box != nullptr && box->isVisible()) {
                    read(*box);
                    timer_.stop();
                    box->button(QMessageBox::Ok)->click();
                }
            }
        });
        timer_.start(interval_ms);
    }

private:
    QTimer timer_;
};

// A main window on a settings file in a folder of the test's own; the
// messages it would show are recorded in failures_ instead.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
    // The window goes first: closing it may still have a message to show.
    void TearDown() override { window_.reset(); }

    QString path(const char *name) const { return folder_.filePath(QString::fromUtf8(name)); }
    QString settings_path() const { return path("parvolin.ini"); }

    void open(const QString &settings, bool shown = true)
    {
        window_ = std::make_unique<MainWindow>(RegionalSettings{}, settings.toStdString());
        if (shown) {
            window_->show();
            QCoreApplication::processEvents();
        }
    }
    void open() { open(settings_path()); }

    template <typename Widget>
    Widget *find(const char *name)
    {
        return child<Widget>(window_.get(), name);
    }

    void resize_outer(QSize outer)
    {
        window_->resize(outer - (window_->frameGeometry().size() - window_->size()));
        QCoreApplication::processEvents();
    }

    void solve() { find<QAbstractButton>("BitBtnVyresit")->click(); }

    QTemporaryDir folder_;
    // What the window keeps in the user's configuration folder stays in the test's.
    ScopedVariable configuration_{"XDG_CONFIG_HOME", QFile::encodeName(folder_.filePath(QStringLiteral("config")))};
    std::vector<QString> failures_;
    std::vector<QString> details_; // of each failure, in the same order
    ReplacedSeam<FailureDisplay> display_{set_failure_display, [this](const QString &text, const QString &detail) {
                                              failures_.push_back(text);
                                              details_.push_back(detail);
                                          }};
    std::unique_ptr<MainWindow> window_;
};

} // namespace parvolin
