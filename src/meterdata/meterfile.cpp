#include "meterdata/meterfile.h"

#include "meterdata/greenbutton.h"
#include "meterdata/meterinput.h"
#include "meterdata/nem12reader.h"

#include "meterdata/zipfunctions.h"
#include "meterdata/ziploader.h"

#include <QFileInfo>

namespace {

class ZipEntrySource : public ByteSource {
public:
    ZipEntrySource(const ZipFunctions& zip, void* file, QString name, qint64 bound)
        : zip_(zip), file_(file), name_(std::move(name)), bound_(bound) {}
    ~ZipEntrySource() override { zip_.closeEntry(file_); }
    ZipEntrySource(const ZipEntrySource&) = delete;
    ZipEntrySource& operator=(const ZipEntrySource&) = delete;

    qint64 Read(char* buffer, qint64 max) override {
        const std::int64_t n = zip_.read(file_, buffer, static_cast<std::uint64_t>(max));
        if (n < 0) {
            throw MeterDataError(QStringLiteral("%1: the archive entry cannot be read (%2)")
                                     .arg(name_, QString::fromUtf8(zip_.entryError(file_))));
        }
        total_ += n;
        if (total_ > bound_) {
            throw MeterDataError(QStringLiteral("%1: the archive entry expands past %2 MB")
                                     .arg(name_)
                                     .arg(bound_ >> 20));
        }
        return n;
    }

private:
    const ZipFunctions& zip_;
    void* file_;
    QString name_;
    qint64 bound_;
    qint64 total_ = 0;
};

bool LooksBinary(const QByteArray& head) {
    for (char c : head) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != '\f') {
            return true;
        }
    }
    // Text in UTF-8 (these formats are plain ASCII); the last bytes may be a
    // character cut by the peek.
    return QString::fromUtf8(head.left(head.size() - 4)).contains(QChar::ReplacementCharacter);
}

void ReadZip(const QString& path, MeterSink& sink, const MeterReadOptions& options) {
    QString why;
    const ZipFunctions* functions = LoadZipModule(&why);
    if (functions == nullptr) {
        throw MeterDataError(
            QStringLiteral("%1: this installation cannot read zip files: %2").arg(path, why));
    }
    const ZipFunctions& zip = *functions;
    const auto closer = [&zip](void* archive) { zip.close(archive); };
    std::unique_ptr<void, decltype(closer)> archive(zip.open(QFile::encodeName(path).constData()),
                                                    closer);
    if (!archive) {
        throw MeterDataError(QStringLiteral("%1: the zip archive cannot be read").arg(path));
    }
    int used = 0;
    const std::int64_t count = zip.count(archive.get());
    for (std::int64_t i = 0; i < count; ++i) {
        const char* entryName = nullptr;
        std::uint64_t size = 0;
        bool sizeKnown = false;
        if (!zip.entry(archive.get(), static_cast<std::uint64_t>(i), &entryName, &size,
                       &sizeKnown)) {
            continue;
        }
        const QString entry = QString::fromUtf8(entryName);
        if (entry.endsWith(u'/')) {
            continue;
        }
        const QString name = QStringLiteral("%1: %2").arg(path, entry);
        if (sizeKnown && size > static_cast<std::uint64_t>(options.maxExpanded)) {
            throw MeterDataError(QStringLiteral("%1: the archive entry expands past %2 MB")
                                     .arg(name)
                                     .arg(options.maxExpanded >> 20));
        }
        void* file = zip.openEntry(archive.get(), static_cast<std::uint64_t>(i));
        if (file == nullptr) {
            throw MeterDataError(QStringLiteral("%1: the archive entry cannot be read").arg(name));
        }
        MeterInput input(std::make_unique<ZipEntrySource>(zip, file, name, options.maxExpanded),
                         name);
        const QByteArray head = input.Peek(4096);
        if (head.trimmed().isEmpty() || LooksBinary(head)) {
            continue; // not one of the text formats
        }
        ReadMeterStream(input, sink, options);
        ++used;
    }
    if (used == 0) {
        throw MeterDataError(
            QStringLiteral("%1: the zip archive holds no meter data file").arg(path));
    }
}

} // namespace

void ReadMeterStream(MeterInput& input, MeterSink& sink, const MeterReadOptions& options) {
    QByteArray head = input.Peek(4096);
    if (head.startsWith("\xEF\xBB\xBF")) {
        head.remove(0, 3);
    }
    const QByteArray start = head.trimmed();
    if (start.isEmpty()) {
        throw MeterDataError(QStringLiteral("%1: the file is empty").arg(input.Name()));
    }
    if (LooksBinary(head)) {
        throw MeterDataError(
            QStringLiteral("%1: the file holds binary data, not meter data").arg(input.Name()));
    }
    if (start.startsWith('<')) {
        ReadGreenButtonXml(input, sink, options.zone);
        return;
    }
    const QByteArray first = start.left(start.indexOf('\n')).trimmed();
    if (first.startsWith("100,NEM13") || first.startsWith("250,")) {
        throw MeterDataError(Nem13Refusal(input.Name()));
    }
    if (first.startsWith("100,") || first.startsWith("200,")) {
        ReadNem12(input, sink);
        return;
    }
    if (start.toUpper().contains("TYPE,DATE") || start.toUpper().contains("\"TYPE\",\"DATE\"")) {
        ReadGreenButtonCsv(input, sink, options.zone);
        return;
    }
    throw MeterDataError(QStringLiteral("%1: the file is neither NEM12 nor Green Button meter data")
                             .arg(input.Name()));
}

void ReadMeterFile(const QString& path, MeterSink& sink, const MeterReadOptions& options) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        throw MeterDataError(QStringLiteral("%1: is not a regular file").arg(path));
    }
    MeterInput input(OpenFileSource(path), path);
    const QByteArray head = input.Peek(4);
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06")) {
        ReadZip(path, sink, options);
        return;
    }
    ReadMeterStream(input, sink, options);
}
