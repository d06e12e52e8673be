#pragma once

// Whole files read and written in one go, to set up and to check what the
// program finds and leaves on disk.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <string_view>

namespace parvolin {

// Everything the file holds; nothing when it cannot be read.
inline QByteArray file_contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Puts `bytes` in place of whatever the file held.
inline void write_file(const QString &path, std::string_view bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
}

} // namespace parvolin
