// The group box frame the window hands the style comes from the build; it
// must be Qt's own picture to the pixel, as a pixmap.
#include "app/view/stylepictures.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <gtest/gtest.h>

TEST(StylePictures, TheFrameFromTheBuildIsQtsPicture) {
    QImageReader reader(QString::fromLatin1(kFusionGroupBoxFrame), "png");
    reader.setAutoDetectImageFormat(false);
    const QImage decoded = reader.read();
    const QImage built = BuiltGroupBoxFrame();
    ASSERT_FALSE(decoded.isNull());
    ASSERT_FALSE(built.isNull());
    EXPECT_EQ(QPixmap::fromImage(built).toImage(), QPixmap::fromImage(decoded).toImage());
}
