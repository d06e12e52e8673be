// The JPEG loader and the pictures compiled into the program.
//
// tests/ui/data holds two small JPEGs written by make_jpegs.sh there: a grey
// one and a progressive one, both made of flat blocks so their colours are known.

#include "ui/main/jpeg_image.h"

#include "tests/ui/test_files.h"
#include "tests/test_rows.h"

#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <vector>

namespace parvolin {
namespace {

QString test_data(const char *name)
{
    return QStringLiteral(PARVOLIN_UI_TEST_DATA "/") + QLatin1String(name);
}

// Where the frame header (SOFn) of a JPEG starts, walking the marker segments
// that precede the first scan.
std::optional<qsizetype> frame_header(const QByteArray &jpeg)
{
    qsizetype pos = 2;
    while (pos + 4 <= jpeg.size() && uchar(jpeg[pos]) == 0xFF) {
        const uchar marker = uchar(jpeg[pos + 1]);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return pos;
        if (marker == 0xDA)
            break;
        pos += 2 + (uchar(jpeg[pos + 2]) << 8 | uchar(jpeg[pos + 3]));
    }
    return std::nullopt;
}

struct Probe {
    int x;
    int y;
    QRgb colour;
};

struct GoodJpeg {
    const char *name;
    QString path;
    QSize size;
    std::vector<Probe> probes;
};

class DecodesPicture : public ::testing::TestWithParam<GoodJpeg> { };

TEST_P(DecodesPicture, ToItsSizeAndColours)
{
    const GoodJpeg &c = GetParam();
    const QImage image = load_jpeg(c.path);
    ASSERT_FALSE(image.isNull()) << c.path.toStdString();
    EXPECT_EQ(image.size(), c.size);
    EXPECT_EQ(image.format(), QImage::Format_RGB888);
    for (const Probe &p : c.probes) {
        const QRgb got = image.pixel(p.x, p.y);
        // JPEG is lossy; the probes sit in flat areas, where it stays close.
        EXPECT_LE(std::abs(qRed(got) - qRed(p.colour)), 12) << "at " << p.x << "," << p.y;
        EXPECT_LE(std::abs(qGreen(got) - qGreen(p.colour)), 12) << "at " << p.x << "," << p.y;
        EXPECT_LE(std::abs(qBlue(got) - qBlue(p.colour)), 12) << "at " << p.x << "," << p.y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Jpeg, DecodesPicture,
    ::testing::Values(
        GoodJpeg{"banner_from_resources", QStringLiteral(":/assets/banner.jpg"), {315, 65},
                 {{300, 8, qRgb(254, 254, 255)},    // background, right end of the gradient
                  {10, 50, qRgb(0x1f, 0x4e, 0x8c)}, // blue panel behind the parabola
                  {24, 47, qRgb(0xff, 0xd2, 0x3f)}, // the yellow parabola
                  {200, 63, qRgb(0x1f, 0x4e, 0x8c)}}}, // bottom rule
        GoodJpeg{"greyscale", test_data("grey.jpg"), {32, 16},
                 {{4, 8, qRgb(40, 40, 40)}, {27, 8, qRgb(200, 200, 200)}}},
        GoodJpeg{"progressive", test_data("progressive.jpg"), {32, 32},
                 {{8, 8, qRgb(220, 40, 40)}, {24, 8, qRgb(40, 180, 60)},
                  {8, 24, qRgb(40, 60, 200)}, {24, 24, qRgb(255, 255, 255)}}}),
    row_name);

// Bad input: each row must give a null image, and nothing may end the process.
struct BadJpeg {
    const char *name;
    QByteArray (*make)();
};

QByteArray banner() { return file_contents(QStringLiteral(":/assets/banner.jpg")); }

QByteArray with_frame_header_bytes(qsizetype offset, QByteArray bytes)
{
    QByteArray jpeg = banner();
    jpeg.replace(*frame_header(jpeg) + offset, bytes.size(), bytes);
    return jpeg;
}

class RefusesData : public ::testing::TestWithParam<BadJpeg> { };

TEST_P(RefusesData, WithNullImage)
{
    const QByteArray data = GetParam().make();
    EXPECT_TRUE(decode_jpeg(data).isNull());
}

INSTANTIATE_TEST_SUITE_P(
    Jpeg, RefusesData,
    ::testing::Values(
        BadJpeg{"empty", [] { return QByteArray(); }},
        BadJpeg{"plain_text", [] { return QByteArray("ax^2 + bx + c = 0"); }},
        BadJpeg{"start_marker_only", [] { return QByteArray("\xFF\xD8", 2); }},
        BadJpeg{"png_file", [] { return file_contents(QStringLiteral(":/assets/logo.png")); }},
        BadJpeg{"cut_inside_headers", [] { return banner().left(100); }},
        BadJpeg{"cut_inside_scan", [] { return banner().left(banner().size() / 2); }},
        BadJpeg{"end_marker_missing", [] { return banner().chopped(2); }},
        BadJpeg{"zero_height", [] { return with_frame_header_bytes(5, QByteArray(2, '\0')); }},
        BadJpeg{"twelve_bit_samples", [] { return with_frame_header_bytes(4, QByteArray(1, 12)); }},
        BadJpeg{"forged_huge_size", [] { return with_frame_header_bytes(5, QByteArray("\xFF\xDC\xFF\xDC", 4)); }},
        BadJpeg{"huffman_tables_dropped",
                [] {
                    // Turned into comment segments, so the scan refers to tables never defined.
                    QByteArray jpeg = banner();
                    return jpeg.replace(QByteArray("\xFF\xC4", 2), QByteArray("\xFF\xFE", 2));
                }}),
    row_name);

TEST(Jpeg, EveryTruncationIsRefused)
{
    for (const char *name : {"grey.jpg", "progressive.jpg"}) {
        const QByteArray jpeg = file_contents(test_data(name));
        ASSERT_FALSE(jpeg.isEmpty()) << name;
        for (qsizetype length = 1; length < jpeg.size(); ++length)
            EXPECT_TRUE(decode_jpeg(jpeg.left(length)).isNull()) << name << " cut to " << length << " bytes";
    }
}

// Damage libjpeg may or may not notice; either way the result is a whole
// picture or none, and the process survives (the sanitizer build checks memory).
TEST(Jpeg, DamagedBytesNeverCrash)
{
    const QByteArray jpeg = file_contents(test_data("progressive.jpg"));
    ASSERT_FALSE(jpeg.isEmpty());
    for (qsizetype at = 0; at < jpeg.size(); ++at) {
        QByteArray damaged = jpeg;
        damaged[at] = char(damaged[at] ^ 0x5A);
        const QImage image = decode_jpeg(damaged);
        if (!image.isNull()) {
            EXPECT_EQ(image.format(), QImage::Format_RGB888) << "byte " << at;
        }
    }
}

TEST(Jpeg, UnreadablePathsGiveNullImage)
{
    EXPECT_TRUE(load_jpeg(test_data("no_such_file.jpg")).isNull());
    EXPECT_TRUE(load_jpeg(QStringLiteral(":/assets/no_such_picture.jpg")).isNull());
    EXPECT_TRUE(load_jpeg(test_data("")).isNull()); // the folder itself
}

// The pictures the main window asks for by these exact paths.
struct Asset {
    const char *name;
    const char *path;
    QSize size;
    bool transparent;
};

class ShipsAsset : public ::testing::TestWithParam<Asset> { };

TEST_P(ShipsAsset, WithItsSize)
{
    const Asset &a = GetParam();
    const QString path = QString::fromLatin1(a.path);
    const QImage image = path.endsWith(QLatin1String(".jpg")) ? load_jpeg(path) : QImage(path);
    ASSERT_FALSE(image.isNull()) << a.path;
    EXPECT_EQ(image.size(), a.size);
    EXPECT_EQ(image.hasAlphaChannel(), a.transparent);
}

INSTANTIATE_TEST_SUITE_P(
    Assets, ShipsAsset,
    ::testing::Values(Asset{"banner", ":/assets/banner.jpg", {315, 65}, false},
                      Asset{"logo", ":/assets/logo.png", {109, 106}, false},
                      Asset{"mascot", ":/assets/mascot.png", {50, 50}, false},
                      Asset{"window_icon", ":/assets/parvolin.png", {64, 64}, true},
                      Asset{"theory", ":/assets/icons/theory.png", {16, 16}, true},
                      Asset{"computation", ":/assets/icons/computation.png", {16, 16}, true},
                      Asset{"print", ":/assets/icons/print.png", {16, 16}, true},
                      Asset{"exit", ":/assets/icons/exit.png", {16, 16}, true},
                      Asset{"save", ":/assets/icons/save.png", {16, 16}, true},
                      Asset{"theory_32", ":/assets/icons/32/theory.png", {32, 32}, true},
                      Asset{"computation_32", ":/assets/icons/32/computation.png", {32, 32}, true},
                      Asset{"print_32", ":/assets/icons/32/print.png", {32, 32}, true},
                      Asset{"exit_32", ":/assets/icons/32/exit.png", {32, 32}, true},
                      Asset{"save_32", ":/assets/icons/32/save.png", {32, 32}, true}),
    row_name);

TEST(Assets, BannerIsBaselineWithThreeEightBitComponents)
{
    const QByteArray jpeg = banner();
    const std::optional<qsizetype> sof = frame_header(jpeg);
    ASSERT_TRUE(sof.has_value());
    EXPECT_EQ(uchar(jpeg[*sof + 1]), 0xC0); // SOF0: baseline
    EXPECT_EQ(uchar(jpeg[*sof + 4]), 8);    // bits per sample
    EXPECT_EQ(uchar(jpeg[*sof + 9]), 3);    // components
}

} // namespace
} // namespace parvolin
