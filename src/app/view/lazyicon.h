#pragma once
// An icon read from one picture file only when a size of it is asked for, at
// that size: a window manager that never asks (or the offscreen platform)
// costs nothing, and one that asks for 32 pixels is not handed 256.

#include <QIcon>
#include <QSize>
#include <QString>

// `fileName` is a picture of `fullSize` pixels (the largest size offered).
QIcon LazyIcon(const QString& fileName, QSize fullSize);
