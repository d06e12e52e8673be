#include "solver/rtf_writer.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

namespace parvolin {
namespace {

constexpr char header[] = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}\n"
                          "\\pard\\plain\\qc\\uc1\\f0\\fs28 ";

TEST(RtfDocument, WholeFile)
{
    const ResultDocument document{{"Datum:5.3.2024", " Řešení rovnice ", "x1= 2  x2= 1.", "K={ 2 ; 1 } \\", "",
                                   "ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ áčďéěíňóřšťúůýž \"Parvolin\" "}};
    const std::string expected =
        std::string(header) + "Datum:5.3.2024\\par\n"
        " \\u344\\'d8e\\u353\\'9aen\\u237\\'ed rovnice \\par\n"
        "x1= 2 {} x2= 1.\\par\n" // the empty group keeps LibreOffice from narrowing doubled blanks
        "K=\\{ 2 ; 1 \\} \\\\\\par\n"
        "\\par\n"
        "\\u193\\'c1\\u268\\'c8\\u270\\'cf\\u201\\'c9\\u282\\'cc\\u205\\'cd\\u327\\'d2\\u211\\'d3\\u344\\'d8"
        "\\u352\\'8a\\u356\\'8d\\u218\\'da\\u366\\'d9\\u221\\'dd\\u381\\'8e "
        "\\u225\\'e1\\u269\\'e8\\u271\\'ef\\u233\\'e9\\u283\\'ec\\u237\\'ed\\u328\\'f2\\u243\\'f3\\u345\\'f8"
        "\\u353\\'9a\\u357\\'9d\\u250\\'fa\\u367\\'f9\\u253\\'fd\\u382\\'9e \"Parvolin\" }\n";
    EXPECT_EQ(rtf_document(document), expected);
    EXPECT_EQ(rtf_document(ResultDocument{}), std::string(header) + "}\n");
}

struct TextRow : NamedRow {
    const char *line; // UTF-8
    const char *rtf;  // the paragraph's text as written
};

class RtfText : public ::testing::TestWithParam<TextRow> {};

TEST_P(RtfText, OneLine)
{
    EXPECT_EQ(rtf_document(ResultDocument{{GetParam().line}}), std::string(header) + GetParam().rtf + "}\n");
}

INSTANTIATE_TEST_SUITE_P(
    Characters, RtfText,
    ::testing::Values(TextRow{"euro_sign_above_0x2000", "5 €", "5 \\u8364\\'80"},
                      TextRow{"outside_the_code_page", "x → à", "x \\u8594? \\u224?"},
                      TextRow{"astral_as_surrogate_pair", "\xF0\x9F\x98\x80", "\\u-10179?\\u-8704?"},
                      TextRow{"malformed_utf8_replaced", "a\xE8z\xC0\xAF", "a\\u-3?z\\u-3?\\u-3?"},
                      TextRow{"run_of_blanks_at_both_ends", "   a  ", " {} {} a {} "},
                      TextRow{"tab_and_control_character", "a\tb\x01", "a\\tab b\\'01"}),
    row_name);

// The table against the C library's code page 1250: every defined byte's
// character maps back to that byte.
TEST(Cp1250, AgreesWithIconv)
{
    iconv_t decoder = iconv_open("UTF-32LE", "CP1250");
    ASSERT_NE(decoder, reinterpret_cast<iconv_t>(-1));
    int defined = 0;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        char in = static_cast<char>(byte);
        unsigned char out[4] = {};
        char *in_ptr = &in;
        char *out_ptr = reinterpret_cast<char *>(out);
        std::size_t in_left = 1;
        std::size_t out_left = sizeof out;
        if (iconv(decoder, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1))
            continue;
        ++defined;
        const char32_t character = out[0] | (out[1] << 8) | (out[2] << 16) | (char32_t{out[3]} << 24);
        EXPECT_EQ(cp1250_byte(character), static_cast<unsigned char>(byte)) << "byte " << byte;
    }
    iconv_close(decoder);
    EXPECT_EQ(defined, 123);
}

} // namespace
} // namespace parvolin
