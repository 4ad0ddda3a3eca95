#include "mylib/dialogtexts.h"

QString DialogMessageText(const QString& headline, const QString& detail) {
    if (detail.isEmpty()) {
        return headline;
    }
    return headline + QStringLiteral("\r\r") + detail;
}

bool TaskDialogsAvailable() {
    return false;
}
