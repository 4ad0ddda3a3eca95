#pragma once

#include "elements/component.h"

#include <QString>

// "RRGGBB" (optionally after one "$"; "#" is not dropped) to a colour value.
// Throws EVoltiskError for anything that is not six hexadecimal digits.
TColor HtmlHexToColour(const QString& text);
