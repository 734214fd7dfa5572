#pragma once
// Artwork is looked up by its resource name (S_START, TBBK, BACK, ...). Each picture is
// stored once under :/art/ as NAME.svg (drawn at its declared pixel size, and sharp at
// any other size for printing) or NAME.png.

#include <QImage>
#include <QSize>
#include <QString>

namespace pendra2::ui {

// The picture at its own pixel size; a null image when no artwork has that name.
QImage LoadBitmap(const QString& name);

// The picture drawn at another pixel size (print resolution); vector art stays crisp.
QImage LoadBitmap(const QString& name, QSize pixels);

// The picture's own pixel size; empty when no artwork has that name.
QSize BitmapSize(const QString& name);

}  // namespace pendra2::ui
