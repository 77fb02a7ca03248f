#include "indexed_image.h"

#include <QPainter>

#include <cstring>

namespace vantor {

QImage ToQImage(const CIndexedImage& picture, const CPalette& palette)
{
    const auto nPixels = static_cast<std::size_t>(picture.nWidth) * static_cast<std::size_t>(picture.nHeight);
    if (!picture.IsOk() || picture.nWidth <= 0 || picture.nHeight <= 0 || picture.pixels.size() < nPixels)
        return {};
    QImage image(picture.nWidth, picture.nHeight, QImage::Format_Indexed8);
    if (image.isNull())
        return {};
    QList<QRgb> colours(256);
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t* pRgb = &palette.rgb[static_cast<std::size_t>(i) * 3];
        colours[i] = qRgb(pRgb[0], pRgb[1], pRgb[2]);
    }
    if (picture.nTransparentIndex >= 0 && picture.nTransparentIndex < 256)
        colours[picture.nTransparentIndex] = qRgba(0, 0, 0, 0);
    image.setColorTable(colours);
    const std::uint8_t* pRow = picture.pixels.data();
    for (int y = 0; y < picture.nHeight; ++y, pRow += picture.nWidth)
        std::memcpy(image.scanLine(y), pRow, static_cast<std::size_t>(picture.nWidth));
    return image;
}

QPixmap CheckerboardTile(int nCell)
{
    QPixmap tile(nCell * 2, nCell * 2);
    tile.fill(QColor(0xFF, 0xFF, 0xFF));
    QPainter painter(&tile);
    const QColor grey(0xCC, 0xCC, 0xCC);
    painter.fillRect(0, 0, nCell, nCell, grey);
    painter.fillRect(nCell, nCell, nCell, nCell, grey);
    return tile;
}

}  // namespace vantor
