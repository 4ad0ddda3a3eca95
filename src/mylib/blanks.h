#pragma once
// Blanks and control characters (every code point up to U+0020) do not count
// at either end of a typed or stored text: fields, numbers, CSV lines and
// settings values are all trimmed by this one rule.

#include <QString>
#include <QStringView>

constexpr bool IsBlankOrControl(QChar c) {
    return c.unicode() <= u' ';
}

// The part of `text` without blanks and control characters at either end, as
// the index of its first character and the index past its last.
struct TextRange {
    qsizetype begin = 0, end = 0;
};
TextRange TrimmedRange(QStringView text);

// `text` without blanks and control characters at either end.
QString TrimBlanks(QStringView text);

// True when `text` holds nothing but blanks and control characters (or nothing).
bool IsBlank(QStringView text);
