#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace parvolin {

// Decodes a baseline or progressive JPEG with libjpeg into an RGB image.
// Returns a null image for data that is not a JPEG libjpeg can read.
QImage decode_jpeg(const QByteArray &data);

// Reads a file or a Qt resource (":/...") and decodes it.
QImage load_jpeg(const QString &path);

} // namespace parvolin
