#include "solver/failure_reason.h"

#include <cerrno>
#include <iterator>
#include <system_error>

namespace parvolin {

namespace {

struct Reason {
    int error;
    const char *text;
};

// The C library's Czech catalogue is rarely installed and its wording is a
// translation of the English; these read as a Czech program says them.
constexpr Reason reasons[] = {
    {ENOSPC, "na disku není místo"},
    {EDQUOT, "byla překročena disková kvóta"},
    {EFBIG, "soubor by byl příliš velký"},
    {EACCES, "k zápisu nemáte oprávnění"},
    {EPERM, "operace není povolena"},
    {EROFS, "disk je určen jen pro čtení"},
    {EIO, "došlo k chybě při čtení nebo zápisu na disk"},
    {ELOOP, "cesta vede přes příliš mnoho symbolických odkazů"},
    {ENOENT, "složka nebo soubor neexistuje"},
    {ENOTDIR, "část cesty není složka"},
    {EISDIR, "na tomto místě je složka"},
    {ENAMETOOLONG, "název souboru je příliš dlouhý"},
    {EEXIST, "soubor tohoto názvu již existuje"},
    {EBUSY, "soubor právě používá jiný program"},
    {ETXTBSY, "soubor právě používá jiný program"},
    {ENOMEM, "nedostatek paměti"},
    {EMFILE, "program má otevřeno příliš mnoho souborů"},
    {ENFILE, "v systému je otevřeno příliš mnoho souborů"},
};

} // namespace

std::string czech_reason(int error)
{
    for (const Reason &reason : reasons) {
        if (reason.error == error)
            return reason.text;
    }
    // The C library's text, thread-safe and with no GNU-only call.
    return std::generic_category().message(error);
}

std::string write_failure_detail(std::string_view path, std::string_view reason)
{
    std::string detail = "Soubor ";
    detail += path;
    detail += " se nepodařilo zapsat: ";
    detail += reason;
    detail += '.';
    return detail;
}

} // namespace parvolin
