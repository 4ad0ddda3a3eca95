#pragma once
// Pictures the widget style paints with, read ahead by their known format.
// Qt's Fusion style reads its group box frame by file name alone; Qt then
// loads every image format plugin (and libjpeg behind one) to recognise a PNG.
// Read here once as PNG into the pixmap cache under the very key the style
// looks up, the style finds it there: the same pixels, no plugins loaded.

// Safe to call more than once; does nothing under another style.
void ReadStylePictures();
