#pragma once

// Worksheet pages drawn by Qt's text layout, on a printer or into a PDF file.
// Qt Gui alone, no widgets: the command line's PDF module is built from this
// file too, so that a sheet saved from the window and one written by the
// command line come out the same.

#include <QByteArray>
#include <QSizeF>
#include <QString>

class QPagedPaintDevice;
class QTextDocument;

namespace parvolin {

// What the sheet's HTML cannot say itself, done on the document it gave:
// the line that follows an indented table keeps the table's indent.
void finish_sheet_document(QTextDocument &document);

// Lays `document` out on pages of `page` (in the units of its layout's paint
// device) with margins of 20 mm, and moves every table that would be cut by
// a page's end to the next page whole, with the line that introduces it; a
// table taller than a page is left to be cut. Returns the number of pages.
int lay_out_pages(QTextDocument &document, QSizeF page);

// `document` holding `html` (worksheet_html) laid out for `device` by
// finish_sheet_document and lay_out_pages, in the sheet's default font; the
// number of pages.
int set_sheet_pages(QTextDocument &document, const QString &html, QPagedPaintDevice &device);

// Draws `html` (worksheet_html) on `device` page after page: the layout of
// set_sheet_pages, the page breaks the HTML asks for and the page numbers.
// Says nothing of a device that would not start: a printer then tells it by
// its state.
void draw_html_pages(const QString &html, QPagedPaintDevice &device);

// The bytes of an A4 PDF file of `html`, titled `title`; empty when Qt could
// not draw it.
QByteArray html_pdf(const QString &html, const QString &title);

} // namespace parvolin
