#include "app/inputrules.h"
#include "mylib/blanks.h"

#include <limits>

bool IsNumericKey(QChar key, QChar decimalSeparator) {
    const char16_t c = key.unicode();
    if (key == decimalSeparator) {
        return true;
    }
    if (c > 63) {
        return false;
    }
    return c == 3 || c == 8 || c == 22 || c == 24 || c == 26 || (c >= u'0' && c <= u'9');
}

std::optional<qint32> ReadWholeNumber(const QString& text) {
    const TextRange range = TrimmedRange(text);
    const int e = static_cast<int>(range.end);
    int i = static_cast<int>(range.begin);
    bool negative = false;
    if (i < e && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    int base = 10;
    if (i < e && text.at(i) == u'$') {
        base = 16;
        ++i;
    } else if (i < e && (text.at(i) == u'x' || text.at(i) == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < e && text.at(i) == u'0' &&
               (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= e) {
        return std::nullopt;
    }
    qint64 value = 0;
    const qint64 limit = negative ? -static_cast<qint64>(std::numeric_limits<qint32>::min())
                                  : std::numeric_limits<qint32>::max();
    for (; i < e; ++i) {
        const char16_t c = text.at(i).unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9') {
            digit = c - u'0';
        } else if (base == 16 && c >= u'a' && c <= u'f') {
            digit = c - u'a' + 10;
        } else if (base == 16 && c >= u'A' && c <= u'F') {
            digit = c - u'A' + 10;
        }
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<qint32>(negative ? -value : value);
}

std::optional<QString> SteppedText(const QString& text, StepDirection direction) {
    bool blank = true;
    for (QChar c : text) {
        if (c.unicode() > 32) {
            blank = false;
            break;
        }
    }
    if (blank) {
        return direction == StepDirection::Up ? std::optional<QString>(QStringLiteral("1"))
                                              : std::nullopt;
    }
    const auto n = ReadWholeNumber(text);
    if (!n) {
        return std::nullopt;
    }
    if (direction == StepDirection::Up) {
        if (*n == std::numeric_limits<qint32>::max()) {
            return std::nullopt;
        }
        return QString::number(*n + 1);
    }
    return QString::number(*n > 0 ? *n - 1 : *n);
}

QString FilterCommittedText(const QString& text, const std::function<bool(QChar&)>& keyPress) {
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        QChar c = text.at(i);
        const bool keep = keyPress(c) && !c.isNull() && c.unicode() >= 32 && c.unicode() != 127;
        if (keep && pair) {
            kept.append(text.at(i));
            kept.append(text.at(i + 1));
        } else if (keep) {
            kept.append(c);
        }
        i += pair ? 1 : 0;
    }
    return kept;
}
