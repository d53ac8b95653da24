#pragma once

#include <QString>

namespace pellix {

// The text rules of language files.

// The outer-quote rule: when v begins with a double quote and its last double
// quote stands at least two characters after the first, the text between the
// first and the last double quote; otherwise v unchanged. So "" (two double
// quotes) stays two double quotes, and what follows the last quote is dropped.
QString OuterQuote(const QString& v);

// The standard quoted-string rule of lists. Quoting: a double quote at each end
// and every inner double quote doubled. Extracting: a value that begins with a
// double quote is taken up to its closing double quote (the rest of the value
// when there is none), doubled double quotes turned back into one; any other
// value is taken unchanged.
QString QuotedStr(const QString& s);
QString ExtractQuotedStr(const QString& v);

// Line breaks of stored texts. A stored text carries each line break as the
// four characters "/r/n". EncodeLineBreaks turns CR LF, and a lone CR or LF
// too, into "/r/n" (a raw line break would split the entry's line). Decoding
// puts lineBreak in place of every "/r/n": CR LF for texts of MakeText, LF for
// the texts of widgets, which is Qt's line break.
QString EncodeLineBreaks(const QString& s);
QString DecodeLineBreaks(const QString& s, const QString& lineBreak);

// Values stored as they are: a line break, which cannot be part of an entry
// line, becomes one blank.
QString OneLine(const QString& s);

} // namespace pellix
