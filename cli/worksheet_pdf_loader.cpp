#include "cli/worksheet_pdf.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace parvolin::cli {

namespace {

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

std::string worksheet_pdf(const Worksheet &sheet, std::string &why)
{
    const std::string path = module_path();
    void *module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    // A file there that the loader refuses (a text, a library of another
    // machine, a damaged copy) is not "missing".
    const std::string not_a_module = "soubor " + path + " není modul pro PDF, nebo je poškozený";
    if (module == nullptr) {
        why = ::access(path.c_str(), F_OK) == 0 ? not_a_module : "chybí modul " + path;
        return {};
    }
    using Entry = decltype(&parvolin_html_to_pdf);
    const auto entry = reinterpret_cast<Entry>(::dlsym(module, "parvolin_html_to_pdf"));
    if (entry == nullptr) {
        why = not_a_module;
        return {};
    }
    std::string pdf;
    const std::string html = worksheet_html(sheet);
    const auto sink = [](void *context, const char *data, unsigned long size) {
        static_cast<std::string *>(context)->append(data, size);
    };
    const int drawn = entry(html.data(), html.size(), sheet.title.c_str(), sink, &pdf);
    if (drawn != 0 || pdf.empty()) {
        why = drawn == 2 ? "v systému nejsou písma, která by šlo do PDF vložit" : "Qt nevykreslilo PDF";
        pdf.clear();
    }
    // The module stays loaded: Qt keeps threads and handlers of its own.
    return pdf;
}

} // namespace parvolin::cli
