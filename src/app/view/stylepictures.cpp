#include "app/view/stylepictures.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>
#include <QResource>
#include <QStyle>

namespace {

#include "fusiongroupboxframe.inc"

// QPixmap::load's cache key: its prefix, the file, its time and size, each
// number as the hex digits of its bytes in memory order, low digit first.
template <class T> QString HexBytes(T value) {
    static const char digits[] = "0123456789abcdef";
    QString s;
    const auto* c = reinterpret_cast<const unsigned char*>(&value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        s += QLatin1Char(digits[c[i] & 0xf]);
        s += QLatin1Char(digits[c[i] >> 4]);
    }
    return s;
}

QString PixmapLoadKey(const QString& fileName) {
    const QFileInfo info(fileName);
    const unsigned pixmapType = 0; // QPlatformPixmap::PixmapType
    return QStringLiteral("qt_pixmap") + info.absoluteFilePath() +
           HexBytes(static_cast<unsigned>(info.lastModified().toSecsSinceEpoch())) +
           HexBytes(static_cast<quint64>(info.size())) + HexBytes(pixmapType);
}

} // namespace

QImage BuiltGroupBoxFrame() {
    const QResource resource(QString::fromLatin1(kFusionGroupBoxFrame));
    if (!resource.isValid() || resource.size() != kFrameFileSize ||
        PictureHash(resource.data(), resource.size()) != kFrameFileHash) {
        return QImage();
    }
    return QImage(kFramePixels, kFrameWidth, kFrameHeight,
                  static_cast<QImage::Format>(kFrameFormat));
}

void ReadStylePictures() {
    static bool read = false;
    if (read || QApplication::style()->name() != QLatin1String("fusion")) {
        return;
    }
    read = true;
    const QString frame = QString::fromLatin1(kFusionGroupBoxFrame);
    QImage image = BuiltGroupBoxFrame();
    if (image.isNull()) {
        QImageReader reader(frame, "png");
        // Without this the reader asks every plugin whether it reads PNG.
        reader.setAutoDetectImageFormat(false);
        image = reader.read();
    }
    if (!image.isNull()) {
        QPixmapCache::insert(PixmapLoadKey(frame), QPixmap::fromImage(image));
    }
}
