#pragma once

#include <QString>

// The dialogs' message: the headline alone, or the headline, two carriage
// returns and the detail.
QString DialogMessageText(const QString& headline, const QString& detail);

// Whether the platform has task dialogs; on this desktop every dialog is a
// message box with the same texts, icon and buttons.
bool TaskDialogsAvailable();
