#include "mylib/blanks.h"

TextRange TrimmedRange(QStringView text) {
    TextRange r{0, text.size()};
    while (r.begin < r.end && IsBlankOrControl(text.at(r.begin))) {
        ++r.begin;
    }
    while (r.end > r.begin && IsBlankOrControl(text.at(r.end - 1))) {
        --r.end;
    }
    return r;
}

QString TrimBlanks(QStringView text) {
    const TextRange r = TrimmedRange(text);
    return text.sliced(r.begin, r.end - r.begin).toString();
}

bool IsBlank(QStringView text) {
    const TextRange r = TrimmedRange(text);
    return r.begin == r.end;
}
