#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file's whole content: the bytes go to a temporary file in the
// same folder, which is then renamed over the target, so a crash never leaves
// a half-written file. No sync to disk: this runs on every keystroke, and the
// rename already guards against a crash of the program. A target that exists
// but is not writable is left alone. False when anything failed; the target
// then holds its earlier content.
bool ReplaceFileContents(const QString& path, const QByteArray& bytes);
