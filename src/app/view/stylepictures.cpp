#include "app/view/stylepictures.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyle>

namespace {

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

void ReadStylePictures() {
    static bool read = false;
    if (read || QApplication::style()->name() != QLatin1String("fusion")) {
        return;
    }
    read = true;
    const QString frame =
        QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png");
    QImageReader reader(frame, "png");
    // Without this the reader asks every plugin whether it reads PNG.
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (!image.isNull()) {
        QPixmapCache::insert(PixmapLoadKey(frame), QPixmap::fromImage(image));
    }
}
