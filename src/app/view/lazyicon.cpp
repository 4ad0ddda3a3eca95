#include "app/view/lazyicon.h"

#include <QFileInfo>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <utility>

namespace {

class LazyIconEngine : public QIconEngine {
public:
    LazyIconEngine(QString fileName, QSize fullSize)
        : fileName_(std::move(fileName)), fullSize_(fullSize) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const QSize wanted = fullSize_.scaled(size.boundedTo(fullSize_), Qt::KeepAspectRatio);
        const QString key = QStringLiteral("lazyicon:%1:%2x%3")
                                .arg(fileName_)
                                .arg(wanted.width())
                                .arg(wanted.height());
        QPixmap cached;
        if (QPixmapCache::find(key, &cached)) {
            return cached;
        }
        // Read by its own suffix: left to guess, the reader loads every image
        // format plugin to ask whether it reads the file.
        QImageReader reader(fileName_, QFileInfo(fileName_).suffix().toLatin1());
        reader.setAutoDetectImageFormat(false);
        if (wanted != fullSize_) {
            reader.setScaledSize(wanted);
        }
        cached = QPixmap::fromImage(reader.read());
        QPixmapCache::insert(key, cached);
        return cached;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        return fullSize_.scaled(size.boundedTo(fullSize_), Qt::KeepAspectRatio);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {fullSize_}; }

    QIconEngine* clone() const override { return new LazyIconEngine(fileName_, fullSize_); }

    QString key() const override { return QStringLiteral("LazyIconEngine"); }

private:
    QString fileName_;
    QSize fullSize_;
};

} // namespace

QIcon LazyIcon(const QString& fileName, QSize fullSize) {
    return QIcon(new LazyIconEngine(fileName, fullSize));
}
