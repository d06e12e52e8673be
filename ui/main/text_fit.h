#pragma once

#include <functional>

class QFont;
class QLabel;
class QTabWidget;
class QWidget;

namespace parvolin {

// Gives `widget` the first font in which `needed_width` is at most `room`:
// its own font, then the same size in a narrow face (Liberation Sans Narrow,
// of the fonts the program depends on), then that face half a point smaller
// at a time, down to 6 points. The positions and sizes stay as the layout
// has them; only the letters get narrower. Nothing changes when the own font
// fits.
void fit_font(QWidget *widget, int room, const std::function<int(const QFont &font)> &needed_width);

// The captions of all pages side by side, none elided.
void fit_tab_captions(QTabWidget *tabs);

// A one-line label's text inside its width.
void fit_label(QLabel *label);

} // namespace parvolin
