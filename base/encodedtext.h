#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pellix {

// How a text file's bytes encode its text. A byte-order mark tells UTF-8 or
// UTF-16 of either byte order; without one the bytes are the text (Bytes), or
// UTF-8 where the reader asks for it to be told (see TTextReading).
enum class TTextEncoding : std::uint8_t { Bytes, Utf8, Utf16LE, Utf16BE };

// Line terminator of lines added to a text.
enum class TLineEnd : std::uint8_t { LF, CRLF, CR };

// What a file holds besides its text, so that the text is written back in the
// file's own form.
struct TTextForm {
    TTextEncoding Encoding = TTextEncoding::Bytes;
    bool Bom = false;                // UTF-8: the file begins with a byte-order mark
    TLineEnd LineEnd = TLineEnd::LF; // the end of the file's first line
    std::string Tail;                // UTF-16: an odd last byte, kept aside
};

// What the readers of a file differ in.
struct TTextReading {
    // A file without byte-order mark that is valid UTF-8 holding more than
    // ASCII is read as UTF-8 rather than as Bytes (the text is the same; the
    // reader learns how to encode what it adds).
    bool Utf8WithoutBom = false;
    // The line end of a file without any.
    TLineEnd LineEnd = TLineEnd::LF;
};

// A file's text as UTF-8, and its form. The text is the file's bytes without
// byte-order mark, except for UTF-16: converted unit by unit, a lone surrogate
// becomes its three-byte form, so that EncodeText gives back the exact bytes
// of an unchanged text. Line ends stay in the text as they are.
struct TDecodedText {
    std::string Text;
    TTextForm Form;
};

TDecodedText DecodeText(std::string bytes, const TTextReading& reading = {});

// The bytes of text (UTF-8) in form, byte-order mark and tail included. In
// UTF-16, a byte that does not form a UTF-8 character becomes U+FFFD.
std::string EncodeText(std::string_view text, const TTextForm& form);

std::string_view LineEndText(TLineEnd end);

// UTF-16 units as UTF-8, a lone surrogate in its three-byte form; and back,
// every byte that does not form a UTF-8 character read as U+FFFD.
std::string Utf8OfUnits(std::u16string_view units);
std::u16string UnitsOfUtf8(std::string_view text);

} // namespace pellix
