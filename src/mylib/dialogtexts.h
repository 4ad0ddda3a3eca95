#pragma once

#include <QString>

// The dialogs' message: the headline alone, or the headline, two carriage
// returns and the detail.
QString DialogMessageText(const QString& headline, const QString& detail);
