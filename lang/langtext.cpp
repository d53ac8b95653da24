#include "langtext.h"

namespace pellix {

namespace {

const QLatin1String StoredBreak("/r/n");

} // namespace

QString OuterQuote(const QString& v) {
    if (v.startsWith(QLatin1Char('"'))) {
        const qsizetype last = v.lastIndexOf(QLatin1Char('"'));
        if (last >= 2) {
            return v.mid(1, last - 1);
        }
    }
    return v;
}

QString QuotedStr(const QString& s) {
    QString out;
    out.reserve(s.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : s) {
        out += c;
        if (c == QLatin1Char('"')) {
            out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString ExtractQuotedStr(const QString& v) {
    if (!v.startsWith(QLatin1Char('"'))) {
        return v;
    }
    QString out;
    for (qsizetype i = 1; i < v.size(); ++i) {
        if (v[i] == QLatin1Char('"')) {
            if (i + 1 < v.size() && v[i + 1] == QLatin1Char('"')) {
                out += QLatin1Char('"');
                ++i;
                continue;
            }
            break;
        }
        out += v[i];
    }
    return out;
}

QString EncodeLineBreaks(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('\r')) {
            if (i + 1 < s.size() && s[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
            out += StoredBreak;
        } else if (c == QLatin1Char('\n')) {
            out += StoredBreak;
        } else {
            out += c;
        }
    }
    return out;
}

QString DecodeLineBreaks(const QString& s, const QString& lineBreak) {
    QString out = s;
    return out.replace(StoredBreak, lineBreak);
}

QString OneLine(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < s.size() && s[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
            out += QLatin1Char(' ');
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace pellix
