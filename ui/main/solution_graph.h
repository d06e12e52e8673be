#pragma once

#include "ui/main/graph_picture.h"

#include "solver/problem.h"
#include "solver/solution.h"

#include <QRectF>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>
#include <optional>

class QAction;
class QImage;
class QPainter;

namespace parvolin {

// The save dialog for a picture: returns the chosen path, or an empty string
// when cancelled. Tests install their own, so that no modal window opens; an
// empty function stands for the real dialog.
using PictureFileDialog = std::function<QString(QWidget *parent, const QString &shown_path,
                                                const QString &filter, const QString &suffix)>;

// Installs `dialog` and returns the one installed before.
PictureFileDialog set_picture_file_dialog(PictureFileDialog dialog);

// The picture of the last solved problem beside the computation view: the
// curve, the axes and the solution set on the x-axis. Empty until a problem
// is shown and after clear(). Ctrl+C copies it; its context menu also saves
// it as PNG or SVG.
class SolutionGraph : public QWidget {
    Q_OBJECT

public:
    explicit SolutionGraph(QWidget *parent = nullptr);

    // `solution` is the analysis of `problem` that the sentences were made of.
    // `caption`, when not empty, stands under the picture in place of its own
    // note: where the exact result differs from the report, the window says
    // so under the picture as it does above the report.
    void show_solution(const Problem &problem, const Solution &solution, char decimal_separator,
                       const std::string &caption = {});
    void clear();
    bool is_empty() const { return !shown_.has_value(); }

    // The picture as the widget shows it, at `scale` times its size in pixels.
    QImage picture(qreal scale) const;
    // Its layout in `area`, in the widget's font; nothing while empty.
    std::optional<GraphPicture> laid_out(const QRectF &area) const;

    // Write the picture; a file of that name is replaced. Throw
    // FileCreateError when the file cannot be created and StreamWriteError
    // when writing it fails; nothing is left behind then.
    void save_png(const QString &path) const;
    void save_svg(const QString &path) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    enum class Format { Png, Svg };

    void create_actions();
    void update_actions();
    void paint_picture(QPainter &painter, const QRectF &area) const;
    void copy_picture();
    void save_picture(Format format);

    struct Shown {
        Problem problem;
        Solution solution;
        char separator;
        std::string caption;
    };
    std::optional<Shown> shown_;
    QAction *copy_action_ = nullptr;
    QAction *save_png_action_ = nullptr;
    QAction *save_svg_action_ = nullptr;
    QString last_path_; // the dialog opens where the last picture went
};

} // namespace parvolin
