#pragma once
// The input rules of the numeric fields: which typed characters they take, and
// how a step button reads and rewrites a whole number.

#include <QChar>
#include <QString>
#include <functional>
#include <optional>

// Digits, the decimal separator (the locale's, "." by default) and the control
// codes 3, 8, 22, 24 and 26 (copy, backspace, paste, cut, undo). Nothing else.
bool IsNumericKey(QChar key, QChar decimalSeparator = QChar('.'));

// Text committed by an input method (Japanese or Chinese input, compose
// sequences, on-screen keyboards), kept character by character as `keyPress`
// keeps typed keys: it may drop a character (false) or replace it. A character
// outside the Basic Multilingual Plane is judged by its first half and kept or
// dropped whole. Control codes pass the key filter as editing commands, but
// committed text never carries commands, so they are never kept.
QString FilterCommittedText(const QString& text, const std::function<bool(QChar&)>& keyPress);

// A signed 32-bit whole number after blanks and control characters are trimmed
// from both ends: decimal digits after an optional sign, or hexadecimal after
// "$", "x" or "0x". No value for anything else or outside the 32-bit range.
std::optional<qint32> ReadWholeNumber(const QString& text);

enum class StepDirection { Up, Down };

// The field's new text after one step, or no value when nothing changes: down
// on an empty text, a text that is not a whole number, up on the largest value.
std::optional<QString> SteppedText(const QString& text, StepDirection direction);
