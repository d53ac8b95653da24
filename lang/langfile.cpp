#include "langfile.h"

#include "ini/inifile.h"
#include "seam/filepath.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

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
    // Files saved as UTF-8 without a mark read as what they are, also where
    // the system's 8-bit code page is another (Windows).
    TDecodedText decoded =
        DecodeText(bytes.toStdString(), {.Utf8WithoutBom = true, .LineEnd = TLineEnd::CRLF});
    FForm = std::move(decoded.Form);
    const std::string_view text = decoded.Text;

    TSection* current = nullptr;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", begin), text.size());
        std::size_t next = end;
        if (end < text.size()) {
            next += text.substr(end, 2) == "\r\n" ? 2 : 1;
        }
        TLine line;
        line.Raw = text.substr(begin, end - begin);
        line.Eol = text.substr(end, next - end);
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
}

QString TLangFile::Decode(const std::string& raw) const {
    switch (FForm.Encoding) {
    case TTextEncoding::Utf8:
        return QString::fromStdString(raw);
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE:
        return QString::fromStdU16String(UnitsOfUtf8(raw));
    case TTextEncoding::Bytes:
        break;
    }
    return QString::fromLocal8Bit(QByteArrayView(raw));
}

std::string TLangFile::Encode(const QString& text) const {
    switch (FForm.Encoding) {
    case TTextEncoding::Utf8:
        return text.toStdString();
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE:
        return Utf8OfUnits(text.toStdU16String());
    case TTextEncoding::Bytes:
        break;
    }
    return text.toLocal8Bit().toStdString();
}

TLangFile::TLine TLangFile::MakeLine(const QString& text, const std::string& eol) const {
    TLine line;
    line.Text = text;
    line.Raw = Encode(text);
    line.Eol = eol;
    return line;
}

std::string TLangFile::StoredText() const {
    std::string out;
    const auto put = [&out](const TLine& line) { out.append(line.Raw).append(line.Eol); };
    for (const TLine& line : FPreamble) {
        put(line);
    }
    for (const TSection& s : FSections) {
        put(s.Header);
        for (const TLine& line : s.Lines) {
            put(line);
        }
    }
    return out;
}

QByteArray TLangFile::Bytes() const {
    return QByteArray::fromStdString(EncodeText(StoredText(), FForm));
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
        if (before.Eol.empty()) {
            before.Eol = Eol();
        }
        TLine line = MakeLine(k + QLatin1Char('=') + value, Eol());
        line.Kind = TKind::Key;
        line.Name = k;
        line.Value = Trimmed(value);
        s.Lines.insert(s.Lines.begin() + static_cast<std::ptrdiff_t>(pos), std::move(line));
        s.KeysValid = false;
        return true;
    }
    // A new section at the end, after a blank line.
    if (TLine* last = LastLine()) {
        if (last->Eol.empty()) {
            last->Eol = Eol();
        }
        if (!Trimmed(last->Text).isEmpty()) {
            if (FSections.empty()) {
                FPreamble.push_back(MakeLine(QString(), Eol()));
            } else {
                FSections.back().Lines.push_back(MakeLine(QString(), Eol()));
            }
        }
    }
    TSection s;
    s.Header = MakeLine(QLatin1Char('[') + name + QLatin1Char(']'), Eol());
    s.Header.Kind = TKind::Section;
    s.Header.Name = name;
    TLine line = MakeLine(k + QLatin1Char('=') + value, Eol());
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
    if (FFileName.isEmpty() ||
        !SaveIniFile(SystemPath(FFileName), EncodeText(StoredText(), FForm))) {
        throw ELangFileError("Cannot write the language file " + FFileName.toStdString());
    }
}

} // namespace pellix
