#pragma once

// An environment variable set for a scope (PATH, CUPS_SERVER, ...) and put
// back as it was at the end of it.

#include <QByteArray>
#include <QtGlobal>

namespace parvolin {

class ScopedVariable {
public:
    ScopedVariable(const char *name, const QByteArray &value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), previous_(qgetenv(name))
    {
        qputenv(name_, value);
    }
    ~ScopedVariable()
    {
        if (had_)
            qputenv(name_, previous_);
        else
            qunsetenv(name_);
    }
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    const char *name_;
    bool had_;
    QByteArray previous_;
};

} // namespace parvolin
