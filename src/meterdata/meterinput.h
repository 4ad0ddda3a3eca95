#pragma once
// A stream of bytes read front to back in bounded memory: a plain file or an
// entry of a zip archive, with line splitting (LF or CRLF) and a peek at the
// start for telling the formats apart.

#include <QByteArray>
#include <QString>
#include <memory>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `max` bytes; 0 at the end. Throws MeterDataError on a read fault.
    virtual qint64 Read(char* buffer, qint64 max) = 0;
};

// Opens a plain file for reading; throws MeterDataError when it cannot.
std::unique_ptr<ByteSource> OpenFileSource(const QString& path);

class MeterInput {
public:
    // `name` is the file (or "archive.zip: entry") that messages name.
    MeterInput(std::unique_ptr<ByteSource> source, QString name);

    const QString& Name() const { return name_; }
    // The first bytes (up to `count`), without consuming them.
    QByteArray Peek(qint64 count);
    // The next line without its line end; false at the end. A line longer than
    // MaxLine is refused.
    bool ReadLine(const char*& begin, const char*& end);
    // The line number of the last line ReadLine returned.
    int Line() const { return line_; }
    // The next chunk of raw bytes; empty at the end.
    QByteArray ReadChunk();
    // "<name>, line <n>: <reason>" as an error.
    [[noreturn]] void Fail(const QString& reason) const;

    static constexpr qint64 MaxLine = 1 << 20;

private:
    bool Fill();

    std::unique_ptr<ByteSource> source_;
    QString name_;
    QByteArray buffer_;
    qint64 pos_ = 0;
    bool atEnd_ = false;
    int line_ = 0;
};
