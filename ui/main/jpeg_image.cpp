#include "ui/main/jpeg_image.h"

#include <QFile>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared before it

#include <jpeglib.h>

namespace parvolin {

namespace {

// libjpeg reports failures by calling error_exit, which must not return.
// Throwing a C++ exception through libjpeg's C frames is undefined, so we
// leave through longjmp to the setjmp in read_into(), whose frame holds
// nothing with a destructor.
struct ErrorManager {
    jpeg_error_mgr base; // first member: libjpeg hands back &base as cinfo->err
    std::jmp_buf escape;
};

[[noreturn]] void leave_decoder(j_common_ptr info)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    std::longjmp(errors->escape, 1);
}

// A warning means libjpeg patched over damaged data: a truncated stream is
// padded with grey, bad Huffman codes are skipped. A half-grey picture is
// worse than none, so every warning ends the decoding like an error. Trace
// messages (level 1 and up) are dropped; nothing is written to stderr.
void treat_warnings_as_errors(j_common_ptr info, int level)
{
    if (level < 0)
        leave_decoder(info);
}

void discard_message(j_common_ptr) { }

// Far above anything we show; keeps a forged header from making libjpeg or
// QImage reserve gigabytes.
constexpr unsigned long long max_pixels = 1ull << 26;

struct Decompressor {
    jpeg_decompress_struct info {};
    ErrorManager errors {};

    Decompressor()
    {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = leave_decoder;
        errors.base.emit_message = treat_warnings_as_errors;
        errors.base.output_message = discard_message;
    }
    // Safe also when creation failed half-way: the zeroed struct has no
    // memory manager, and libjpeg then frees nothing.
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;
};

// Decodes into `image`; false when libjpeg gave up. Everything that can reach
// leave_decoder() runs after the setjmp below, and this frame keeps no local
// that changes after it, so nothing is clobbered or skipped by the jump.
bool read_into(Decompressor &d, const QByteArray &data, QImage &image)
{
    if (setjmp(d.errors.escape) != 0)
        return false;

    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char *>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d.info, TRUE);

    // Grey pictures are decoded as grey and widened by the caller: not every
    // libjpeg converts grey to RGB itself.
    const bool grey = d.info.jpeg_color_space == JCS_GRAYSCALE;
    d.info.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    if (static_cast<unsigned long long>(d.info.image_width) * d.info.image_height > max_pixels)
        return false;

    jpeg_start_decompress(&d.info);
    image = QImage(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height),
                   grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (image.isNull())
        return false;

    // QImage rows are 32-bit aligned, libjpeg writes exactly width × components
    // bytes per row, so each row can go straight into the image.
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(d.info.output_scanline));
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1)
            return false;
    }
    // Reads up to the end marker, so a stream cut after the last row still fails.
    jpeg_finish_decompress(&d.info);
    return true;
}

} // namespace

QImage decode_jpeg(const QByteArray &data)
{
    if (data.isEmpty())
        return {};
    Decompressor decompressor;
    QImage image;
    if (!read_into(decompressor, data, image))
        return {};
    if (image.format() == QImage::Format_Grayscale8)
        image.convertTo(QImage::Format_RGB888);
    return image;
}

QImage load_jpeg(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decode_jpeg(file.readAll());
}

} // namespace parvolin
