#include "ui/aux/shell_links.h"

#include "solver/ascii.h"
#include "ui/aux/help_pages.h"
#include "ui/main/error_display.h"
#include "ui/main/seam.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <utility>

namespace parvolin {

namespace {

// A launcher that ends with an error within this time has opened nothing;
// one that ends later ran an application in the foreground and reports how
// that ended, which is not ours to show.
constexpr qint64 launcher_verdict_ms = 10000;

Seam<ShellOpener> shell_opener_seam;

// The address as the user knows it: a file by its path.
QString shown_address(const QUrl &url)
{
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

// xdg-open's exit codes, in the words of its manual.
std::string launcher_reason(int exit_code)
{
    switch (exit_code) {
    case 1: return "Spouštěč xdg-open adresu nepřijal.";
    case 2: return "Soubor neexistuje.";
    case 3: return "Chybí program, který spouštěč xdg-open potřebuje.";
    case 4: return "Pro tento druh adresy není nastavena žádná aplikace, nebo ta aplikace selhala.";
    default: return "Spouštěč xdg-open skončil s chybou " + integer_text(exit_code) + ".";
    }
}

void report_nothing_opened(const QUrl &url, const std::string &reason)
{
    const NothingOpened failure(url, reason);
    show_failure(failure.what(), failure.detail());
}

// Starts xdg-open on `url` and returns at once. Its verdict comes by signal;
// the process object is left to outlive the program when the launcher is
// still running then (an application it keeps in the foreground), since
// destroying it would kill that.
void launch(const QString &launcher, const QUrl &url)
{
    auto *process = new QProcess;
    process->setProgram(launcher);
    // One argument, the encoded address: it begins with its scheme, so it
    // is never read as an option.
    process->setArguments({QString::fromLatin1(url.toEncoded())});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    QObject::connect(process, &QProcess::errorOccurred, process, [process, url](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        report_nothing_opened(url, "Spouštěč " + process->program().toStdString()
                                       + " nelze spustit: " + process->errorString().toStdString());
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::finished, process,
                     [process, url, clock](int exit_code, QProcess::ExitStatus status) {
                         const bool early = clock.elapsed() < launcher_verdict_ms;
                         process->deleteLater();
                         if (!early || (status == QProcess::NormalExit && exit_code == 0))
                             return;
                         report_nothing_opened(url, status == QProcess::NormalExit
                                                        ? launcher_reason(exit_code)
                                                        : std::string("Spouštěč xdg-open byl ukončen."));
                     });
    process->start();
}

void open_on_desktop(const QUrl &url)
{
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!launcher.isEmpty()) {
        launch(launcher, url);
        return;
    }
    if (!QDesktopServices::openUrl(url))
        throw NothingOpened(url, "Není nainstalován spouštěč xdg-open ani webový prohlížeč, který by ji otevřel.");
}

bool is_web_or_mail(const QUrl &url)
{
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return !url.host().isEmpty();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    if (scheme == QLatin1String("file")) {
        const QString host = url.host();
        return (host.isEmpty() || host == QLatin1String("localhost")) && QDir::isAbsolutePath(url.path());
    }
    return false;
}

} // namespace

AddressRefused::AddressRefused(const std::string &address)
    : Failure("Adresu „" + address + "“ nelze otevřít",
              "Odkaz musí být webová adresa (http://, https://), adresa e-mailu (mailto:), adresa souboru "
              "(file://) nebo cesta k existujícímu souboru. Jiný text program prohlížeči nepředá; adresu lze "
              "opravit v souboru nastavení.")
{
}

NothingOpened::NothingOpened(const QUrl &url, const std::string &reason)
    : Failure("Nepodařilo se otevřít " + shown_address(url).toStdString(), reason)
{
}

ShellOpener set_shell_opener(ShellOpener opener)
{
    return shell_opener_seam.set(std::move(opener));
}

void shell_open(const QUrl &url)
{
    if (const ShellOpener &opener = shell_opener_seam.installed())
        opener(url);
    else
        open_on_desktop(url);
}

QUrl address_url(const std::string &address)
{
    return QUrl(QString::fromStdString(address), QUrl::TolerantMode);
}

std::optional<QUrl> openable_url(const std::string &address, const QString &current_folder)
{
    if (address.empty())
        return std::nullopt;
    const QUrl url = address_url(address);
    if (url.isValid() && is_web_or_mail(url))
        return url;
    const QFileInfo file(QDir(current_folder).absoluteFilePath(QString::fromStdString(address)));
    if (file.exists())
        return QUrl::fromLocalFile(file.absoluteFilePath());
    return std::nullopt;
}

void open_address(const std::string &address)
{
    const std::optional<QUrl> url = openable_url(address, QDir::currentPath());
    if (!url)
        throw AddressRefused(address);
    shell_open(*url);
}

void open_help_page()
{
    // The current directory is read at the moment of the command.
    shell_open(QUrl::fromLocalFile(resolve_help_page(QDir::currentPath(), shipped_help_folders())));
}

} // namespace parvolin
