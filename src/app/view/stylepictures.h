#pragma once
// Pictures the widget style paints with, read ahead by their known format.
// Qt's Fusion style reads its group box frame by file name alone; Qt then
// loads every image format plugin (and libjpeg behind one) to recognise a PNG.
// Put here once into the pixmap cache under the very key the style looks up,
// the style finds it there: the same pixels, no plugins loaded. The pixels
// come from the build (no PNG decoder at start-up) while Qt's picture is the
// one they were taken from, else from decoding it.

#include <QtGlobal>

inline constexpr char kFusionGroupBoxFrame[] =
    ":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png";

// FNV-1a of the picture file's bytes, to know it is the one the build saw.
constexpr quint64 PictureHash(const uchar* data, qint64 size) {
    quint64 h = 14695981039346656037ull;
    for (qint64 i = 0; i < size; ++i) {
        h = (h ^ data[i]) * 1099511628211ull;
    }
    return h;
}

// Safe to call more than once; does nothing under another style.
void ReadStylePictures();
// The frame as the build took it; null when Qt's picture is not that one.
class QImage;
QImage BuiltGroupBoxFrame();
