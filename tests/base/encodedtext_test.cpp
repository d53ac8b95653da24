#include "base/encodedtext.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace pellix {
namespace {

using namespace std::string_literals;

constexpr TTextReading LangReading{.Utf8WithoutBom = true, .LineEnd = TLineEnd::CRLF};

struct TextCase {
    const char* Name;
    std::string Bytes;
    TTextReading Reading;
    std::string Text;
    TTextEncoding Encoding;
    bool Bom;
    TLineEnd LineEnd;
    // Parameters print by their name, never as raw bytes.
    friend std::ostream& operator<<(std::ostream& os, const TextCase& c) { return os << c.Name; }
};

class EncodedText : public ::testing::TestWithParam<TextCase> {};

TEST_P(EncodedText, DecodedAndEncodedBackToTheSameBytes) {
    const TextCase& c = GetParam();
    const TDecodedText d = DecodeText(c.Bytes, c.Reading);
    EXPECT_EQ(d.Text, c.Text);
    EXPECT_EQ(d.Form.Encoding, c.Encoding);
    EXPECT_EQ(d.Form.Bom, c.Bom);
    EXPECT_EQ(d.Form.LineEnd, c.LineEnd);
    EXPECT_EQ(EncodeText(d.Text, d.Form), c.Bytes);
}

using enum TTextEncoding;
using enum TLineEnd;

INSTANTIATE_TEST_SUITE_P(
    Table, EncodedText,
    ::testing::Values(
        TextCase{"Empty", "", {}, "", Bytes, false, LF},
        TextCase{"NoLineEndTakesTheReadersOwn", "a", LangReading, "a", Bytes, false, CRLF},
        TextCase{"InvalidUtf8StaysBytes", "[a]\r\n\x80\xFF=\xC3(\n", LangReading,
                 "[a]\r\n\x80\xFF=\xC3(\n", Bytes, false, CRLF},
        TextCase{"AsciiStaysBytes", "k=v\n", LangReading, "k=v\n", Bytes, false, LF},
        TextCase{"EncodedSurrogateIsNoUtf8", "k=\xED\xA0\x80\n", LangReading, "k=\xED\xA0\x80\n",
                 Bytes, false, LF},
        TextCase{"Utf8WithoutBomWhenAsked", "k=\xC3\xA4\r\r\n", LangReading, "k=\xC3\xA4\r\r\n",
                 Utf8, false, CR},
        TextCase{"Utf8WithoutBomNotAsked", "k=\xC3\xA4\n", {}, "k=\xC3\xA4\n", Bytes, false, LF},
        TextCase{
            "Utf8Bom", "\xEF\xBB\xBFk=\xC3\xA4\r\n\n", {}, "k=\xC3\xA4\r\n\n", Utf8, true, CRLF},
        TextCase{
            "Utf16LE", "\xFF\xFEk\0=\0\xE4\0\r\0\n\0"s, {}, "k=\xC3\xA4\r\n", Utf16LE, false, CRLF},
        TextCase{"Utf16BESurrogatePair", "\xFE\xFF\0k\0\r\xD8\x34\xDD\x1E\0\n"s, LangReading,
                 "k\r\xF0\x9D\x84\x9E\n", Utf16BE, false, CR},
        // lone surrogates keep their units, an odd last byte stays at the end
        TextCase{"Utf16LoneSurrogatesAndOddByte",
                 "\xFE\xFF\xDC\0\xD8\x3D\0\n\xD8\0x"s,
                 {},
                 "\xED\xB0\x80\xED\xA0\xBD\n\xED\xA0\x80",
                 Utf16BE,
                 false,
                 LF}),
    [](const auto& param) { return std::string(param.param.Name); });

TEST(EncodedText, BytesThatAreNoUtf8BecomeReplacementCharactersInUtf16) {
    TTextForm form;
    form.Encoding = Utf16LE;
    EXPECT_EQ(EncodeText("a\xFF", form), "\xFF\xFE\x61\0\xFD\xFF"s);
}

} // namespace
} // namespace pellix
