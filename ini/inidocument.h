#pragma once

#include "base/encodedtext.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pellix {

// An INI file held as its exact bytes. Lookups and edits work on the text
// directly, so everything the program does not touch (unknown sections and
// keys, comments, blank lines, junk, NUL bytes, invalid UTF-8) is kept byte
// for byte, and an unmodified document serialises to the bytes it was made of.
//
// The text is UTF-8 or UTF-16 (either byte order) with a byte-order mark, or
// bytes without one (see base/encodedtext.h); it is written back in the
// encoding it was read in, byte-order mark included.
//
// Reading rules:
// - Lines end at LF, CR LF or a lone CR.
//   Section and key names and values are trimmed of blanks (space, tab, CR,
//   VT, FF).
// - A line whose first non-blank character is ';' or '#' is a comment.
// - A line beginning with '[' that holds a ']' is a section header; the name
//   is the text between '[' and the first ']'. A '[' without ']' is junk.
// - Any other line holding '=' with a non-empty name before it is a key line;
//   lines without '=' are junk and never match a key.
// - Section and key names match without regard to ASCII letter case. Where a
//   name occurs twice, the first occurrence wins.
// - Of a value, only the first MaxValueChars characters count (UTF-8
//   characters; a byte that does not form one counts as one character).
//
// Writing rules (WriteString):
// - A present key keeps its line up to and including the '=' and the blanks
//   after it; the rest of the line is replaced by the new value.
// - A missing key is inserted right after the last key line of its section
//   (after the header when the section has none), so the comments and blank
//   lines that trail a section stay in front of the next section.
// - A missing section is appended at the end of the file, after a blank line
//   when the file does not already end with one.
// - Added lines end like the file's first line (CRLF, LF or CR); a file
//   without any line end gets LF. A last line without terminator gets one before
//   anything is added after it.
class TIniDocument {
public:
    static constexpr std::size_t MaxValueChars = 2047;

    TIniDocument() = default;
    explicit TIniDocument(std::string bytes);

    // The serialised document: the file's bytes.
    std::string Text() const;
    TTextEncoding Encoding() const { return FForm.Encoding; }
    TLineEnd LineEnd() const { return FForm.LineEnd; }

    // The value of a key, or nullopt when the key (or its section) is missing.
    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;

    // Stores a value. Returns false and changes nothing when the names or the
    // value cannot be written as one line: an empty name, a line break
    // anywhere, '=' in the key, ']' in the section, or a key beginning with
    // '[', ';' or '#'.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Stores a value in a notation of the settings file (see ininotation.h).
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteFloat(std::string_view section, std::string_view key, double value,
                    std::string_view decimalSep);

private:
    struct TKeyHit;

    // Byte ranges of the bodies (the lines after the header up to the next
    // header) of every section with one name. Kept for the most recently used
    // name so that repeated lookups in a large file only scan that section.
    struct TSectionBodies {
        bool Valid = false;
        std::string Name;
        std::vector<std::pair<std::size_t, std::size_t>> Ranges;
    };

    const TSectionBodies& Bodies(std::string_view section) const;
    void Edited(std::size_t pos, std::size_t removed, std::size_t inserted);
    TKeyHit Find(std::string_view section, std::string_view key) const;

    std::string FText; // as UTF-8 when the file is UTF-16; without byte-order mark
    TTextForm FForm;
    mutable TSectionBodies FBodies; // a cache: const lookups are not thread-safe
};

} // namespace pellix
