#include "inidocument.h"

#include "base/utf8.h"
#include "ininotation.h"

#include <cstring>

namespace pellix {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

bool IsEolChar(char c) {
    return c == '\n' || c == '\r';
}

bool HasLineBreak(std::string_view s) {
    return s.find('\n') != std::string_view::npos || s.find('\r') != std::string_view::npos;
}

enum class TLineKind : std::uint8_t { Other, Section, Key };

// One physical line of the text and what it holds.
struct TLine {
    std::size_t Begin = 0; // first byte
    std::size_t End = 0;   // end of the content (before CR LF or LF)
    std::size_t Next = 0;  // first byte of the next line
    TLineKind Kind = TLineKind::Other;
    std::string_view Name;    // section or key name, trimmed
    std::size_t ValuePos = 0; // key lines: where the value begins (after '=' and blanks)
    std::string_view Value;   // key lines: the trimmed value
};

// Walks the lines of a text. Each line is looked at in O(its length).
class TLineReader {
public:
    // Lines of text[begin, end); end must be a line start or the text's end.
    TLineReader(std::string_view text, std::size_t begin, std::size_t end)
        : FText(text.substr(0, end)), FPos(begin) {}

    // Reads the next line; key lines are only recognised when withKeys is set
    // (lines outside the wanted section need no more than a look for '[').
    bool Next(TLine& line, bool withKeys) {
        if (FPos >= FText.size())
            return false;
        line = TLine{};
        line.Begin = FPos;
        const std::size_t at = EolAt(FPos);
        if (at < FText.size()) {
            line.End = at;
            line.Next =
                at + 1 + (FText[at] == '\r' && at + 1 < FText.size() && FText[at + 1] == '\n');
        } else {
            line.End = FText.size();
            line.Next = FText.size();
        }
        FPos = line.Next;
        Classify(line, withKeys);
        return true;
    }

private:
    // The first CR or LF at or after pos, or the text's size. The next LF is
    // remembered, so that a text of lone CRs is not searched to its end for
    // every line.
    std::size_t EolAt(std::size_t pos) {
        if (FLf < pos || FLf == NotSearched) {
            const void* lf = std::memchr(FText.data() + pos, '\n', FText.size() - pos);
            FLf = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - FText.data())
                     : FText.size();
        }
        const void* cr = std::memchr(FText.data() + pos, '\r', FLf - pos);
        return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - FText.data()) : FLf;
    }

    void Classify(TLine& line, bool withKeys) const {
        const std::string_view raw = FText.substr(line.Begin, line.End - line.Begin);
        const std::string_view content = Trim(raw);
        if (content.empty() || content.front() == ';' || content.front() == '#')
            return;
        if (content.front() == '[') {
            const std::size_t close = content.find(']');
            if (close != std::string_view::npos) {
                line.Kind = TLineKind::Section;
                line.Name = Trim(content.substr(1, close - 1));
            }
            return;
        }
        if (!withKeys)
            return;
        const std::size_t eq = raw.find('=');
        if (eq == std::string_view::npos)
            return;
        const std::string_view name = Trim(raw.substr(0, eq));
        if (name.empty())
            return;
        std::size_t valuePos = eq + 1;
        while (valuePos < raw.size() && IsBlank(raw[valuePos]))
            ++valuePos;
        line.Kind = TLineKind::Key;
        line.Name = name;
        line.ValuePos = line.Begin + valuePos;
        line.Value = Trim(raw.substr(valuePos));
    }

    static constexpr std::size_t NotSearched = static_cast<std::size_t>(-1);

    std::string_view FText;
    std::size_t FPos = 0;
    std::size_t FLf = NotSearched; // the next LF at or after FPos, or the text's size
};

} // namespace

struct TIniDocument::TKeyHit {
    bool SectionFound = false;
    bool KeyFound = false;
    TLine Key;                 // the key line, when found
    std::size_t InsertPos = 0; // after the last key line (or the header) of the first section
};

TIniDocument::TIniDocument(std::string bytes) {
    TDecodedText decoded = DecodeText(std::move(bytes));
    FText = std::move(decoded.Text);
    FForm = std::move(decoded.Form);
}

std::string TIniDocument::Text() const {
    return EncodeText(FText, FForm);
}

const TIniDocument::TSectionBodies& TIniDocument::Bodies(std::string_view section) const {
    if (FBodies.Valid && SameName(FBodies.Name, section))
        return FBodies;
    FBodies.Name.assign(section);
    FBodies.Ranges.clear();
    bool inSection = false;
    TLineReader reader(FText, 0, FText.size());
    TLine line;
    while (reader.Next(line, false)) {
        if (line.Kind != TLineKind::Section)
            continue;
        if (inSection)
            FBodies.Ranges.back().second = line.Begin;
        inSection = SameName(line.Name, section);
        if (inSection)
            FBodies.Ranges.emplace_back(line.Next, FText.size());
    }
    FBodies.Valid = true;
    return FBodies;
}

void TIniDocument::Edited(std::size_t pos, std::size_t removed, std::size_t inserted) {
    // Edits never add or remove a section header inside the text, so the
    // known bodies only move or change their length.
    for (auto& [begin, end] : FBodies.Ranges) {
        if (begin > pos) {
            begin = begin - removed + inserted;
            end = end - removed + inserted;
        } else if (end >= pos) {
            end = end - removed + inserted;
        }
    }
}

TIniDocument::TKeyHit TIniDocument::Find(std::string_view section, std::string_view key) const {
    section = Trim(section);
    key = Trim(key);
    TKeyHit hit;
    const TSectionBodies& bodies = Bodies(section);
    for (std::size_t b = 0; b < bodies.Ranges.size(); ++b) {
        const auto [begin, end] = bodies.Ranges[b];
        if (b == 0) {
            hit.SectionFound = true;
            hit.InsertPos = begin;
        }
        TLineReader reader(FText, begin, end);
        TLine line;
        while (reader.Next(line, true)) {
            if (line.Kind != TLineKind::Key)
                continue;
            if (b == 0)
                hit.InsertPos = line.Next;
            if (SameName(line.Name, key)) {
                hit.KeyFound = true;
                hit.Key = line;
                return hit;
            }
        }
    }
    return hit;
}

std::optional<std::string> TIniDocument::ReadString(std::string_view section,
                                                    std::string_view key) const {
    if (Trim(key).empty())
        return std::nullopt;
    const TKeyHit hit = Find(section, key);
    if (!hit.KeyFound)
        return std::nullopt;
    return std::string(Utf8FirstChars(hit.Key.Value, MaxValueChars));
}

bool TIniDocument::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value) || section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';' ||
        key.front() == '#')
        return false;

    const TKeyHit hit = Find(section, key);
    if (hit.KeyFound) {
        const std::size_t pos = hit.Key.ValuePos;
        const std::size_t removed = hit.Key.End - pos;
        FText.replace(pos, removed, value);
        Edited(pos, removed, value.size());
        return true;
    }

    const std::string_view eol = LineEndText(FForm.LineEnd);
    std::string keyLine;
    keyLine.reserve(key.size() + value.size() + 4);
    if (hit.SectionFound) {
        // A last line without terminator gets one before the new key line.
        const std::size_t pos = hit.InsertPos;
        const bool unterminated = pos == FText.size() && pos > 0 && !IsEolChar(FText[pos - 1]);
        if (unterminated)
            keyLine.append(eol);
        keyLine.append(key).append("=").append(value);
        if (!unterminated)
            keyLine.append(eol);
        FText.insert(pos, keyLine);
        Edited(pos, 0, keyLine.size());
        return true;
    }

    if (!FText.empty() && !IsEolChar(FText.back()))
        FText += eol;
    if (!FText.empty()) {
        // Separate the new section by a blank line unless the last line is one.
        const std::size_t lastEnd = FText.ends_with("\r\n") ? FText.size() - 2 : FText.size() - 1;
        const std::size_t prevEol =
            lastEnd == 0 ? std::string::npos : FText.find_last_of("\r\n", lastEnd - 1);
        const std::size_t lastBegin = prevEol == std::string::npos ? 0 : prevEol + 1;
        if (!Trim(std::string_view(FText).substr(lastBegin, lastEnd - lastBegin)).empty())
            FText += eol;
    }
    FText.append("[").append(section).append("]").append(eol);
    const std::size_t bodyBegin = FText.size();
    FText.append(key).append("=").append(value).append(eol);
    // The new section is the only one of its name and ends the text.
    FBodies.Valid = true;
    FBodies.Name.assign(section);
    FBodies.Ranges.assign(1, {bodyBegin, FText.size()});
    return true;
}

void TIniDocument::WriteInteger(std::string_view section, std::string_view key,
                                std::int32_t value) {
    WriteString(section, key, IniIntegerText(value));
}

void TIniDocument::WriteFloat(std::string_view section, std::string_view key, double value,
                              std::string_view decimalSep) {
    WriteString(section, key, IniFloatText(value, decimalSep));
}

} // namespace pellix
