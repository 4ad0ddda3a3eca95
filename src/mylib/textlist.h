#pragma once

#include <QString>
#include <QStringList>

// True at the first entry equal to the text (letter case counts).
bool InStringList(const QString& text, const QStringList& list);
