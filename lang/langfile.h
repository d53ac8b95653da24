#pragma once

#include "base/encodedtext.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pellix {

// A language file could not be written (or was there but could not be read,
// so writing it would lose what it holds).
class ELangFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A language file held in memory whole, edited there and written back whole.
//
// Reading rules: every line is trimmed of blanks (characters up to U+0020);
// empty lines and lines beginning with ';' are skipped; a line beginning with
// '[' and ending with ']' opens a section named by the trimmed text between
// them; in any other line holding '=' the key and the value are the trimmed
// parts before and after the first '='. Lines before the first section, lines
// without '=' and lines with an empty key hold nothing. Section names and keys
// match without regard to letter case; the first occurrence of a key counts,
// and sections of one name count as one. Lines end at LF, CR LF or a lone CR.
//
// Every line keeps its stored bytes until it is edited, so the file is written
// back byte for byte (byte-order mark, line ends, comments, junk, bytes that
// do not decode) apart from the lines that were changed, added or removed.
// Added lines end like the file's first line, or with CR LF.
class TLangFile {
public:
    TLangFile() { Parse(QByteArray()); }
    // The file held in bytes; fileName is where UpdateFile writes it.
    explicit TLangFile(const QByteArray& bytes, QString fileName = {});

    // Reads a file. A missing file gives an empty one; a file that is there
    // but cannot be read gives an empty one that refuses to be written.
    static TLangFile Open(const QString& fileName);

    const QString& FileName() const { return FFileName; }
    // How the text is stored: a file that begins with a byte-order mark in
    // that Unicode encoding, one without that is valid UTF-8 beyond ASCII in
    // UTF-8, any other (Bytes) in the system's 8-bit code page.
    TTextEncoding Encoding() const { return FForm.Encoding; }
    bool Readable() const { return FReadable; }

    QByteArray Bytes() const;

    // The section names, and the keys of a section, in file order (first occurrences).
    QStringList Sections() const;
    QStringList SectionKeys(const QString& section) const;
    // Whether a section of that name holds at least one key.
    bool SectionHasKeys(const QString& section) const;
    // The trimmed value of a key, or nullopt when it is missing.
    std::optional<QString> Value(const QString& section, const QString& key) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;

    // Stores a value in memory. Returns false and changes nothing when the
    // entry cannot be written as one line that reads back under the same
    // names: an empty key, a line break anywhere, '=' in the key, or a key
    // beginning with '[' or ';'.
    bool WriteString(const QString& section, const QString& key, const QString& value);
    // Removes every line of that key in the section.
    void DeleteKey(const QString& section, const QString& key);

    // Writes the file to FileName, replacing it safely. Throws ELangFileError.
    void UpdateFile() const;

private:
    enum class TKind : std::uint8_t { Other, Section, Key };
    struct TLine {
        std::string Raw; // the content in the text DecodeText gives
        std::string Eol; // the line end there; empty for a last line without one
        QString Text;    // the decoded content
        TKind Kind = TKind::Other;
        QString Name;  // section name or key, trimmed
        QString Value; // key lines: the trimmed value
    };
    struct TSection {
        TLine Header;
        std::vector<TLine> Lines;
        mutable QHash<QString, std::size_t> Keys; // folded key -> first line holding it
        mutable bool KeysValid = false;
    };

    void Parse(const QByteArray& bytes);
    QString Decode(const std::string& raw) const;
    std::string Encode(const QString& text) const;
    std::string StoredText() const;
    TLine MakeLine(const QString& text, const std::string& eol) const;
    // The line end of added lines.
    std::string Eol() const { return std::string(LineEndText(FForm.LineEnd)); }
    const QHash<QString, std::size_t>& Keys(const TSection& s) const;
    TLine* LastLine();

    QString FFileName;
    TTextForm FForm;
    bool FReadable = true;
    std::vector<TLine> FPreamble;
    std::vector<TSection> FSections;
    QHash<QString, std::vector<std::size_t>> FSectionIndex; // folded name -> sections
};

} // namespace pellix
