#pragma once

// Worksheet pages drawn by Qt's text layout, on a printer or into a PDF file.
// Qt Gui alone, no widgets: the command line's PDF module is built from this
// file too, so that a sheet saved from the window and one written by the
// command line come out the same.

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

namespace parvolin {

// Draws `html` (worksheet_html) on `device` page after page, with margins of
// 20 mm, the page breaks the HTML asks for and the page numbers. Says nothing
// of a device that would not start: a printer then tells it by its state.
void draw_html_pages(const QString &html, QPagedPaintDevice &device);

// The bytes of an A4 PDF file of `html`, titled `title`; empty when Qt could
// not draw it.
QByteArray html_pdf(const QString &html, const QString &title);

} // namespace parvolin
