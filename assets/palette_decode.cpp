// palette.lmp and colormap.lmp, shown as pictures of their indices.
#include "asset_format.h"
#include "asset_readers.h"

#include <algorithm>

namespace vantor {

namespace fmt = assetformat;

CIndexedImage DecodePalette(std::span<const std::uint8_t> bytes, CPalette& palette)
{
    CIndexedImage image;
    if (bytes.size() != kPaletteBytes) {
        Refuse(image, bytes.size() < kPaletteBytes ? AssetFault::truncated : AssetFault::sizeMismatch,
               "A palette takes " + std::to_string(kPaletteBytes) + " bytes; this has " +
                   std::to_string(bytes.size()) + ".");
        return image;
    }
    std::copy(bytes.begin(), bytes.end(), palette.rgb.begin());
    image.nWidth = 16;
    image.nHeight = 16;
    image.pixels.resize(256);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<std::uint8_t>(i);
    return image;
}

CIndexedImage DecodeColormap(std::span<const std::uint8_t> bytes, CPixelBudget& budget)
{
    CIndexedImage image;
    if (bytes.size() <= fmt::kColormapRow || (bytes.size() - 1) % fmt::kColormapRow != 0) {
        Refuse(image, bytes.size() <= fmt::kColormapRow ? AssetFault::truncated : AssetFault::sizeMismatch,
               "A colour map is 256 bytes per light level and one more; this has " +
                   std::to_string(bytes.size()) + " bytes.");
        return image;
    }
    CByteReader reader(bytes);
    ReadPixels(reader, fmt::kColormapRow, static_cast<std::int64_t>((bytes.size() - 1) / fmt::kColormapRow),
               budget, image);
    return image;
}

}  // namespace vantor
