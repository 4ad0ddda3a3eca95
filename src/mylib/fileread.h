#pragma once
// Reading a whole file that someone else may have put in the program's way.
// The path is opened without blocking (a FIFO at the path answers at once
// instead of waiting for a writer), only regular files are read, and never
// more than a given number of bytes, so a link to /dev/zero or a huge file
// costs neither a hang nor unbounded memory.

#include <QByteArray>
#include <QString>

struct FileReadResult {
    enum class Status {
        Ok,       // `bytes` holds the whole file
        Missing,  // nothing at the path (or a link to nothing)
        Failed,   // exists but could not be read; `reason` says why
        TooLarge, // a regular file of more than the limit
    };
    Status status = Status::Missing;
    QByteArray bytes;
    // The system's reason for Failed ("Permission denied", "Is a directory",
    // "Not a regular file"); empty otherwise.
    QString reason;
};

// Reads the regular file at `path` (links followed), at most `maxBytes`.
FileReadResult ReadFileBounded(const QString& path, qint64 maxBytes);
