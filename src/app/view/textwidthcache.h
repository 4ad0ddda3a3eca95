#pragma once
// The widths of label texts, measured once per font, pixel density and text.
// Every key asks for the width of every result text, most of them unchanged;
// a font is compared as a value (cheap), not turned into its description.

#include <QFont>
#include <QHash>
#include <QString>
#include <vector>

class QWidget;

class TextWidthCache {
public:
    // The advance of `text` in `widget`'s font, measured on the first ask.
    int Width(const QWidget& widget, const QString& text);

private:
    struct Widths {
        QFont font;
        int dpi = 0;
        QHash<QString, int> byText;
    };
    std::vector<Widths> fonts_;
};
