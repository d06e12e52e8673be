#include "cli/worksheet_pdf.h"

#include "solver/practice_texts.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace parvolin::cli {

namespace {

std::string escaped(const std::string &text)
{
    std::string out;
    for (char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += ch;
        }
    }
    return out;
}

std::string paragraph(const std::string &text, const char *style)
{
    return std::string("<p style=\"") + style + "\">" + escaped(text) + "</p>\n";
}

// In lib/parvolin when installed, beside the program in the build tree (or
// in its cli folder, for the benchmarks).
std::string module_path()
{
    char buffer[PATH_MAX];
    const ssize_t size = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (size <= 0)
        return "parvolin_pdf.so";
    std::string folder(buffer, static_cast<std::size_t>(size));
    folder.erase(folder.rfind('/') + 1);
    for (const char *place : {"../lib/parvolin/parvolin_pdf.so", "parvolin_pdf.so", "../cli/parvolin_pdf.so"}) {
        const std::string path = folder + place;
        if (::access(path.c_str(), R_OK) == 0)
            return path;
    }
    return folder + "parvolin_pdf.so";
}

} // namespace

std::string worksheet_html(const Worksheet &sheet)
{
    using namespace worksheet_texts;
    std::string html = "<html><body style=\"font-family: 'DejaVu Sans'; font-size: 11pt\">\n";
    html += paragraph(sheet.title, "font-size: 16pt; font-weight: bold; text-align: center");
    html += paragraph(std::string(number) + std::to_string(sheet.number), "text-align: center");
    html += paragraph(std::string(name) + "   " + std::string(form) + "   " + std::string(date) + sheet.date,
                      "margin-top: 12px; white-space: pre");
    html += paragraph(std::string(task), "margin-top: 12px; margin-bottom: 12px");
    for (std::size_t i = 0; i < sheet.entries.size(); ++i)
        html += paragraph(std::to_string(i + 1) + ")  " + sheet.entries[i].statement,
                          "font-size: 13pt; margin-bottom: 110px; white-space: pre");
    if (sheet.key) {
        html += paragraph(std::string(key_title) + std::to_string(sheet.number),
                          "page-break-before: always; font-size: 14pt; font-weight: bold; text-align: center");
        for (std::size_t i = 0; i < sheet.entries.size(); ++i) {
            const auto &entry = sheet.entries[i];
            html += paragraph(std::to_string(i + 1) + ")  " + entry.statement + ":   " + entry.answer,
                              entry.steps.empty() ? "white-space: pre" : "white-space: pre; font-weight: bold");
            // monospaced, so that the sign table's columns line up; long lines wrap
            for (const auto &line : entry.steps)
                html += paragraph("    " + line,
                                  "font-family: 'DejaVu Sans Mono'; font-size: 8pt; margin: 0; white-space: pre-wrap");
        }
    }
    html += "</body></html>";
    return html;
}

std::string worksheet_pdf(const Worksheet &sheet, std::string &why)
{
    const std::string path = module_path();
    void *module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        why = "chybí modul " + path;
        return {};
    }
    using Entry = decltype(&parvolin_html_to_pdf);
    const auto entry = reinterpret_cast<Entry>(::dlsym(module, "parvolin_html_to_pdf"));
    std::string pdf;
    const std::string html = worksheet_html(sheet);
    const auto sink = [](void *context, const char *data, unsigned long size) {
        static_cast<std::string *>(context)->append(data, size);
    };
    if (entry == nullptr || entry(html.data(), html.size(), sheet.title.c_str(), sink, &pdf) != 0 || pdf.empty()) {
        why = "Qt nevykreslilo PDF";
        pdf.clear();
    }
    // The module stays loaded: Qt keeps threads and handlers of its own.
    return pdf;
}

} // namespace parvolin::cli
