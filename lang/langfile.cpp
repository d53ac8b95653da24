#include "langfile.h"

#include "ini/inifile.h"
#include "seam/filepath.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <filesystem>
#include <string_view>

namespace pellix {

namespace {

bool IsBlank(QChar c) {
    return c.unicode() <= 0x20;
}

QString Trimmed(const QString& s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && IsBlank(s[b])) {
        ++b;
    }
    while (e > b && IsBlank(s[e - 1])) {
        --e;
    }
    return s.mid(b, e - b);
}

QString Fold(const QString& s) {
    return Trimmed(s).toCaseFolded();
}

bool HasLineBreak(const QString& s) {
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

// Text with letters beyond ASCII that is valid UTF-8.
bool IsUtf8(const QByteArray& bytes) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; })) {
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// Code units of a stored text: bytes, or 16-bit units of either byte order.
struct TUnits {
    const QByteArray& Bytes;
    qsizetype Begin;
    int Size; // bytes per unit
    bool BigEndian;

    qsizetype Count() const { return (Bytes.size() - Begin) / Size; }
    char16_t At(qsizetype i) const {
        const qsizetype p = Begin + i * Size;
        const auto b0 = static_cast<unsigned char>(Bytes[p]);
        if (Size == 1) {
            return b0;
        }
        const auto b1 = static_cast<unsigned char>(Bytes[p + 1]);
        return static_cast<char16_t>(BigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
    }
    QByteArray Slice(qsizetype from, qsizetype count) const {
        return Bytes.mid(Begin + from * Size, count * Size);
    }
};

} // namespace

TLangFile::TLangFile(const QByteArray& bytes, QString fileName) : FFileName(std::move(fileName)) {
    Parse(bytes);
}

TLangFile TLangFile::Open(const QString& fileName) {
    const QFileInfo info(fileName);
    if (!info.exists() && !info.isSymLink()) {
        return TLangFile(QByteArray(), fileName);
    }
    QFile file(fileName);
    if (info.isFile() && file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError) {
            return TLangFile(bytes, fileName);
        }
    }
    TLangFile empty(QByteArray(), fileName);
    empty.FReadable = false;
    return empty;
}

void TLangFile::Parse(const QByteArray& bytes) {
    const auto starts = [&bytes](std::initializer_list<unsigned char> mark) {
        if (bytes.size() < qsizetype(mark.size())) {
            return false;
        }
        qsizetype i = 0;
        for (const unsigned char m : mark) {
            if (static_cast<unsigned char>(bytes[i++]) != m) {
                return false;
            }
        }
        return true;
    };
    if (starts({0xEF, 0xBB, 0xBF})) {
        FEncoding = TLangEncoding::Utf8;
        FBom = bytes.left(3);
    } else if (starts({0xFF, 0xFE})) {
        FEncoding = TLangEncoding::Utf16LE;
        FBom = bytes.left(2);
    } else if (starts({0xFE, 0xFF})) {
        FEncoding = TLangEncoding::Utf16BE;
        FBom = bytes.left(2);
    } else if (IsUtf8(bytes)) {
        // Files saved as UTF-8 without a mark read as what they are, also
        // where the system's 8-bit code page is another (Windows).
        FEncoding = TLangEncoding::Utf8;
    }
    const bool wide = FEncoding == TLangEncoding::Utf16LE || FEncoding == TLangEncoding::Utf16BE;
    const TUnits units{bytes, FBom.size(), wide ? 2 : 1, FEncoding == TLangEncoding::Utf16BE};
    const qsizetype count = units.Count();
    if (wide && (bytes.size() - FBom.size()) % 2 != 0) {
        FTail = bytes.right(1);
    }

    TSection* current = nullptr;
    qsizetype begin = 0;
    while (begin < count) {
        qsizetype end = begin;
        while (end < count && units.At(end) != u'\n' && units.At(end) != u'\r') {
            ++end;
        }
        qsizetype next = end;
        if (end < count) {
            next = (units.At(end) == u'\r' && end + 1 < count && units.At(end + 1) == u'\n')
                       ? end + 2
                       : end + 1;
        }
        TLine line;
        line.Raw = units.Slice(begin, end - begin);
        line.Eol = units.Slice(end, next - end);
        line.Text = Decode(line.Raw);
        const QString content = Trimmed(line.Text);
        if (content.isEmpty() || content.front() == QLatin1Char(';')) {
            // nothing
        } else if (content.size() >= 2 && content.front() == QLatin1Char('[') &&
                   content.back() == QLatin1Char(']')) {
            line.Kind = TKind::Section;
            line.Name = Trimmed(content.mid(1, content.size() - 2));
        } else if (const qsizetype eq = content.indexOf(QLatin1Char('=')); eq > 0) {
            line.Name = Trimmed(content.left(eq));
            line.Value = Trimmed(content.mid(eq + 1));
            line.Kind = line.Name.isEmpty() ? TKind::Other : TKind::Key;
        }
        if (FEol.isEmpty() && !line.Eol.isEmpty()) {
            FEol = line.Eol;
        }
        if (line.Kind == TKind::Section) {
            FSectionIndex[Fold(line.Name)].push_back(FSections.size());
            FSections.push_back(TSection{std::move(line), {}, {}, false});
            current = &FSections.back();
        } else if (current != nullptr) {
            current->Lines.push_back(std::move(line));
        } else {
            FPreamble.push_back(std::move(line));
        }
        begin = next;
    }
    if (FEol.isEmpty()) {
        FEol = Encode(QStringLiteral("\r\n"));
    }
}

QString TLangFile::Decode(const QByteArray& raw) const {
    switch (FEncoding) {
    case TLangEncoding::Utf8:
        return QString::fromUtf8(raw);
    case TLangEncoding::Utf16LE:
    case TLangEncoding::Utf16BE: {
        const TUnits units{raw, 0, 2, FEncoding == TLangEncoding::Utf16BE};
        QString out(units.Count(), Qt::Uninitialized);
        for (qsizetype i = 0; i < units.Count(); ++i) {
            out[i] = QChar(units.At(i));
        }
        return out;
    }
    case TLangEncoding::Ansi:
        break;
    }
    return QString::fromLocal8Bit(raw);
}

QByteArray TLangFile::Encode(const QString& text) const {
    switch (FEncoding) {
    case TLangEncoding::Utf8:
        return text.toUtf8();
    case TLangEncoding::Utf16LE:
    case TLangEncoding::Utf16BE: {
        QByteArray out;
        out.reserve(text.size() * 2);
        for (const QChar c : text) {
            const auto hi = static_cast<char>(c.unicode() >> 8);
            const auto lo = static_cast<char>(c.unicode() & 0xFF);
            if (FEncoding == TLangEncoding::Utf16BE) {
                out += hi;
                out += lo;
            } else {
                out += lo;
                out += hi;
            }
        }
        return out;
    }
    case TLangEncoding::Ansi:
        break;
    }
    return text.toLocal8Bit();
}

TLangFile::TLine TLangFile::MakeLine(const QString& text, const QByteArray& eol) const {
    TLine line;
    line.Text = text;
    line.Raw = Encode(text);
    line.Eol = eol;
    return line;
}

QByteArray TLangFile::Bytes() const {
    QByteArray out = FBom;
    const auto put = [&out](const TLine& line) {
        out += line.Raw;
        out += line.Eol;
    };
    for (const TLine& line : FPreamble) {
        put(line);
    }
    for (const TSection& s : FSections) {
        put(s.Header);
        for (const TLine& line : s.Lines) {
            put(line);
        }
    }
    out += FTail;
    return out;
}

const QHash<QString, std::size_t>& TLangFile::Keys(const TSection& s) const {
    if (!s.KeysValid) {
        s.Keys.clear();
        for (std::size_t i = 0; i < s.Lines.size(); ++i) {
            if (s.Lines[i].Kind == TKind::Key) {
                const QString k = s.Lines[i].Name.toCaseFolded();
                if (!s.Keys.contains(k)) {
                    s.Keys.insert(k, i);
                }
            }
        }
        s.KeysValid = true;
    }
    return s.Keys;
}

QStringList TLangFile::Sections() const {
    QStringList out;
    QSet<QString> seen;
    for (const TSection& s : FSections) {
        const QString folded = Fold(s.Header.Name);
        if (!seen.contains(folded)) {
            seen.insert(folded);
            out << s.Header.Name;
        }
    }
    return out;
}

QStringList TLangFile::SectionKeys(const QString& section) const {
    QStringList out;
    QSet<QString> seen;
    const auto it = FSectionIndex.constFind(Fold(section));
    if (it == FSectionIndex.constEnd()) {
        return out;
    }
    for (const std::size_t i : *it) {
        for (const TLine& line : FSections[i].Lines) {
            if (line.Kind == TKind::Key && !seen.contains(line.Name.toCaseFolded())) {
                seen.insert(line.Name.toCaseFolded());
                out << line.Name;
            }
        }
    }
    return out;
}

bool TLangFile::SectionHasKeys(const QString& section) const {
    const auto it = FSectionIndex.constFind(Fold(section));
    if (it == FSectionIndex.constEnd()) {
        return false;
    }
    for (const std::size_t i : *it) {
        if (!Keys(FSections[i]).isEmpty()) {
            return true;
        }
    }
    return false;
}

std::optional<QString> TLangFile::Value(const QString& section, const QString& key) const {
    const auto it = FSectionIndex.constFind(Fold(section));
    if (it == FSectionIndex.constEnd()) {
        return std::nullopt;
    }
    const QString k = Fold(key);
    for (const std::size_t i : *it) {
        const auto& keys = Keys(FSections[i]);
        if (const auto hit = keys.constFind(k); hit != keys.constEnd()) {
            return FSections[i].Lines[*hit].Value;
        }
    }
    return std::nullopt;
}

QString TLangFile::ReadString(const QString& section, const QString& key,
                              const QString& def) const {
    return Value(section, key).value_or(def);
}

TLangFile::TLine* TLangFile::LastLine() {
    if (!FSections.empty()) {
        TSection& s = FSections.back();
        return s.Lines.empty() ? &s.Header : &s.Lines.back();
    }
    return FPreamble.empty() ? nullptr : &FPreamble.back();
}

bool TLangFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const QString name = Trimmed(section);
    const QString k = Trimmed(key);
    if (k.isEmpty() || HasLineBreak(name) || HasLineBreak(k) || HasLineBreak(value) ||
        k.contains(QLatin1Char('=')) || k.startsWith(QLatin1Char('[')) ||
        k.startsWith(QLatin1Char(';'))) {
        return false;
    }
    const QString folded = k.toCaseFolded();
    const auto it = FSectionIndex.find(Fold(name));
    if (it != FSectionIndex.end()) {
        for (const std::size_t i : *it) {
            TSection& s = FSections[i];
            const auto& keys = Keys(s);
            if (const auto hit = keys.constFind(folded); hit != keys.constEnd()) {
                TLine& line = s.Lines[*hit];
                qsizetype at = line.Text.indexOf(QLatin1Char('=')) + 1;
                while (at < line.Text.size() && IsBlank(line.Text[at])) {
                    ++at;
                }
                const QString text = line.Text.left(at) + value;
                line.Raw = Encode(text);
                line.Text = text;
                line.Value = Trimmed(value);
                return true;
            }
        }
        // A new key goes after the last key line of the first section of that
        // name, so the blank lines and comments that close it stay in place.
        TSection& s = FSections[it->front()];
        std::size_t pos = 0;
        for (std::size_t i = 0; i < s.Lines.size(); ++i) {
            if (s.Lines[i].Kind == TKind::Key) {
                pos = i + 1;
            }
        }
        TLine& before = pos == 0 ? s.Header : s.Lines[pos - 1];
        if (before.Eol.isEmpty()) {
            before.Eol = FEol;
        }
        TLine line = MakeLine(k + QLatin1Char('=') + value, FEol);
        line.Kind = TKind::Key;
        line.Name = k;
        line.Value = Trimmed(value);
        s.Lines.insert(s.Lines.begin() + static_cast<std::ptrdiff_t>(pos), std::move(line));
        s.KeysValid = false;
        return true;
    }
    // A new section at the end, after a blank line.
    if (TLine* last = LastLine()) {
        if (last->Eol.isEmpty()) {
            last->Eol = FEol;
        }
        if (!Trimmed(last->Text).isEmpty()) {
            if (FSections.empty()) {
                FPreamble.push_back(MakeLine(QString(), FEol));
            } else {
                FSections.back().Lines.push_back(MakeLine(QString(), FEol));
            }
        }
    }
    TSection s;
    s.Header = MakeLine(QLatin1Char('[') + name + QLatin1Char(']'), FEol);
    s.Header.Kind = TKind::Section;
    s.Header.Name = name;
    TLine line = MakeLine(k + QLatin1Char('=') + value, FEol);
    line.Kind = TKind::Key;
    line.Name = k;
    line.Value = Trimmed(value);
    s.Lines.push_back(std::move(line));
    FSectionIndex[Fold(name)].push_back(FSections.size());
    FSections.push_back(std::move(s));
    return true;
}

void TLangFile::DeleteKey(const QString& section, const QString& key) {
    const auto it = FSectionIndex.constFind(Fold(section));
    if (it == FSectionIndex.constEnd()) {
        return;
    }
    const QString folded = Fold(key);
    for (const std::size_t i : *it) {
        TSection& s = FSections[i];
        if (!Keys(s).contains(folded)) {
            continue;
        }
        std::erase_if(s.Lines, [&folded](const TLine& line) {
            return line.Kind == TKind::Key && line.Name.toCaseFolded() == folded;
        });
        s.KeysValid = false;
    }
}

void TLangFile::UpdateFile() const {
    if (!FReadable) {
        throw ELangFileError("The language file " + FFileName.toStdString() +
                             " could not be read and is not overwritten");
    }
    const QByteArray bytes = Bytes();
    if (FFileName.isEmpty() ||
        !SaveIniFile(SystemPath(FFileName),
                     std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        throw ELangFileError("Cannot write the language file " + FFileName.toStdString());
    }
}

} // namespace pellix
