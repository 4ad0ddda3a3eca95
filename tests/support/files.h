#pragma once
// Reading and writing whole files in tests.

#include <QByteArray>
#include <QString>

// The whole file; empty when it cannot be read.
QByteArray ReadBytes(const QString& path);
// Replaces the file with `bytes`; false when it could not be written in full.
bool WriteBytes(const QString& path, const QByteArray& bytes);
// An expected-output file from tests/data; a missing one fails the test.
QByteArray Golden(const char* name);
