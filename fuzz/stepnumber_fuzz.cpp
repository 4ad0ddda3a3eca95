// libFuzzer target for the step buttons' whole-number reading: the input is a
// field text, read as a whole number and stepped up and down. Each result is
// compared with a reading built on std::from_chars, so a wrong value, a missed
// range check or a wrapped step aborts, besides the sanitizers' checks.

#include "app/inputrules.h"

#include <QString>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool IsBlankOrControl(QChar c) {
    return c.unicode() <= 32;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The field text as a signed 32-bit whole number: decimal digits after an
// optional sign, or hexadecimal after "$", "x" or "0x", blanks and control
// characters trimmed from both ends.
std::optional<qint32> Reference(const QString& text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && IsBlankOrControl(text.at(b))) {
        ++b;
    }
    while (e > b && IsBlankOrControl(text.at(e - 1))) {
        --e;
    }
    std::string s;
    for (qsizetype i = b; i < e; ++i) {
        if (text.at(i).unicode() >= 128) {
            return std::nullopt;
        }
        s.push_back(static_cast<char>(text.at(i).unicode()));
    }
    bool negative = false;
    size_t at = 0;
    if (at < s.size() && (s[at] == '+' || s[at] == '-')) {
        negative = s[at] == '-';
        ++at;
    }
    int base = 10;
    if (s.compare(at, 1, "$") == 0 || s.compare(at, 1, "x") == 0 || s.compare(at, 1, "X") == 0) {
        base = 16;
        at += 1;
    } else if (s.compare(at, 2, "0x") == 0 || s.compare(at, 2, "0X") == 0) {
        base = 16;
        at += 2;
    }
    if (at == s.size()) {
        return std::nullopt;
    }
    for (size_t i = at; i < s.size(); ++i) {
        const char c = s[i];
        if (!(base == 16 ? IsHexDigit(c) : (c >= '0' && c <= '9'))) {
            return std::nullopt;
        }
    }
    // Leading zeros never change the value; they only make the text long.
    const size_t first = s.find_first_not_of('0', at);
    if (first == std::string::npos) {
        return 0;
    }
    std::uint64_t magnitude = 0;
    const auto r = std::from_chars(s.data() + first, s.data() + s.size(), magnitude, base);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) {
        return std::nullopt; // more than 64 bits
    }
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    if (magnitude > limit) {
        return std::nullopt;
    }
    return static_cast<qint32>(negative ? -static_cast<qint64>(magnitude)
                                        : static_cast<qint64>(magnitude));
}

void CheckStep(const QString& text, StepDirection direction, const std::optional<qint32>& n) {
    const std::optional<QString> stepped = SteppedText(text, direction);
    bool blank = true;
    for (QChar c : text) {
        blank = blank && IsBlankOrControl(c);
    }
    const bool up = direction == StepDirection::Up;
    if (blank) {
        Check(up ? stepped == QStringLiteral("1") : !stepped.has_value());
        return;
    }
    if (!n || (up && *n == std::numeric_limits<qint32>::max())) {
        Check(!stepped.has_value());
        return;
    }
    Check(stepped.has_value());
    // The new text is a whole number in canonical form, one step away.
    const std::optional<qint32> m = ReadWholeNumber(*stepped);
    Check(m.has_value() && QString::number(*m) == *stepped);
    if (up) {
        Check(*m > *n && static_cast<qint64>(*m) == static_cast<qint64>(*n) + 1);
    } else {
        Check(*m == (*n > 0 ? *n - 1 : *n));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<qint32> n = ReadWholeNumber(text);
    Check(n == Reference(text));
    if (n) {
        // A value read back from its own decimal text is the same value.
        Check(ReadWholeNumber(QString::number(*n)) == n);
    }
    CheckStep(text, StepDirection::Up, n);
    CheckStep(text, StepDirection::Down, n);
    return 0;
}
