// Decoded pictures as Qt images: QImage::Format_Indexed8 over the very same
// indices, the palette as the colour table, the transparent index clear.
#pragma once

#include "asset_image.h"

#include <QImage>
#include <QPixmap>

namespace vantor {

// A null image for a refused or empty picture.
QImage ToQImage(const CIndexedImage& picture, const CPalette& palette);

// A grey and white checkerboard of cells nCell pixels wide, drawn behind
// pictures with transparent pixels.
QPixmap CheckerboardTile(int nCell);

}  // namespace vantor
