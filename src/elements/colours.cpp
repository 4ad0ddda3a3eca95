#include "elements/colours.h"

#include "mylib/errors.h"

TColor HtmlHexToColour(const QString& text) {
    const QString hex = text.startsWith(QLatin1Char('$')) ? text.mid(1) : text;
    auto pair = [&](int at) {
        bool ok = false;
        const QString part = hex.mid(at, 2);
        const uint v = part.size() == 2 ? part.toUInt(&ok, 16) : 0;
        if (!ok || part.startsWith(QLatin1Char('+')) || part.startsWith(QLatin1Char('-')) ||
            part.contains(QLatin1Char(' '))) {
            throw EVoltiskError(
                QStringLiteral("'%1' is not a valid integer value").arg(QLatin1Char('$') + part));
        }
        return v;
    };
    if (hex.size() != 6) {
        throw EVoltiskError(QStringLiteral("'%1' is not a valid HTML colour").arg(text));
    }
    return RGBColor(static_cast<int>(pair(0)), static_cast<int>(pair(2)),
                    static_cast<int>(pair(4)));
}
