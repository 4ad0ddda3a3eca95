#include "meterdata/meterinput.h"

#include "meterdata/meterday.h"

#include <QFile>
#include <cstring>

namespace {

constexpr qint64 ChunkSize = 1 << 16;

class FileSource : public ByteSource {
public:
    explicit FileSource(const QString& path) : file_(path) {
        if (!file_.open(QIODevice::ReadOnly)) {
            throw MeterDataError(
                QStringLiteral("%1: cannot be read (%2)").arg(path, file_.errorString()));
        }
    }
    qint64 Read(char* buffer, qint64 max) override {
        const qint64 n = file_.read(buffer, max);
        if (n < 0) {
            throw MeterDataError(QStringLiteral("%1: cannot be read (%2)")
                                     .arg(file_.fileName(), file_.errorString()));
        }
        return n;
    }

private:
    QFile file_;
};

} // namespace

std::unique_ptr<ByteSource> OpenFileSource(const QString& path) {
    return std::make_unique<FileSource>(path);
}

MeterInput::MeterInput(std::unique_ptr<ByteSource> source, QString name)
    : source_(std::move(source)), name_(std::move(name)) {}

bool MeterInput::Fill() {
    if (atEnd_) {
        return false;
    }
    if (pos_ > 0) {
        buffer_.remove(0, pos_);
        pos_ = 0;
    }
    const qsizetype old = buffer_.size();
    buffer_.resize(old + ChunkSize);
    const qint64 n = source_->Read(buffer_.data() + old, ChunkSize);
    buffer_.resize(old + n);
    if (n == 0) {
        atEnd_ = true;
    }
    return n > 0;
}

QByteArray MeterInput::Peek(qint64 count) {
    while (buffer_.size() - pos_ < count && Fill()) {
    }
    return buffer_.mid(pos_, count);
}

bool MeterInput::ReadLine(const char*& begin, const char*& end) {
    qint64 searched = 0;
    for (;;) {
        const char* start = buffer_.constData() + pos_;
        const qint64 available = buffer_.size() - pos_;
        const void* nl = std::memchr(start + searched, '\n', available - searched);
        if (nl != nullptr || (atEnd_ && available > 0)) {
            const char* stop = nl != nullptr ? static_cast<const char*>(nl) : start + available;
            begin = start;
            end = stop;
            if (end > begin && end[-1] == '\r') {
                --end;
            }
            pos_ += (stop - start) + (nl != nullptr ? 1 : 0);
            ++line_;
            if (end - begin > MaxLine) {
                Fail(QStringLiteral("the line is too long"));
            }
            return true;
        }
        if (available > MaxLine) {
            ++line_;
            Fail(QStringLiteral("the line is too long"));
        }
        searched = available;
        if (!Fill()) {
            if (buffer_.size() - pos_ == 0) {
                return false;
            }
        }
    }
}

QByteArray MeterInput::ReadChunk() {
    if (buffer_.size() == pos_) {
        Fill();
    }
    QByteArray chunk = buffer_.mid(pos_);
    buffer_.clear();
    pos_ = 0;
    return chunk;
}

void MeterInput::Fail(const QString& reason) const {
    throw MeterDataError(QStringLiteral("%1, line %2: %3").arg(name_).arg(line_).arg(reason));
}
