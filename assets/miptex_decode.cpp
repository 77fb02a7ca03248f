// One miptex, as maps and WADs store textures: a 40-byte header, then four
// mip levels. Only the full-size level is decoded; the others are the
// engine's business.
#include "asset_format.h"
#include "asset_readers.h"

#include <cctype>

namespace vantor {

namespace fmt = assetformat;

namespace {

bool StartsWithIgnoringCase(const std::string& text, std::string_view prefix)
{
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    return true;
}

}  // namespace

void ApplyTextureName(CIndexedImage& image)
{
    const std::string& name = image.name;
    // The engines draw index 255 of '{' textures as holes (fences, grates).
    image.nTransparentIndex = !name.empty() && name[0] == '{' ? fmt::kQuakeTransparent : -1;
    image.bSky = StartsWithIgnoringCase(name, "sky");
    image.animationGroup.clear();
    image.nAnimationFrame = -1;
    // "+0".."+9" animate in turn; "+a".."+j" are the alternate animation a
    // trigger switches to.
    if (name.size() > 2 && name[0] == '+') {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(name[1])));
        if (c >= '0' && c <= '9') {
            image.animationGroup = name.substr(2);
            image.nAnimationFrame = c - '0';
        } else if (c >= 'a' && c <= 'j') {
            image.animationGroup = name.substr(2) + " (alternate)";
            image.nAnimationFrame = c - 'a';
        }
    }
}

CIndexedImage DecodeMiptex(std::span<const std::uint8_t> bytes, CPixelBudget& budget)
{
    CIndexedImage image;
    CByteReader header(bytes);
    image.name = header.ReadName(fmt::kMiptexNameBytes);
    // Stored unsigned; read as signed so that a huge side shows as what a
    // hostile file means by it.
    const std::int64_t nWidth = header.ReadI32();
    const std::int64_t nHeight = header.ReadI32();
    const std::uint32_t nPixelsAt = header.ReadU32();
    if (!header.Ok()) {
        Refuse(image, AssetFault::truncated,
               "The texture's header takes 40 bytes; only " + std::to_string(bytes.size()) + " remain.");
        return image;
    }
    ApplyTextureName(image);
    if (!CheckSides(nWidth, nHeight, image))
        return image;
    if (nWidth % fmt::kMiptexAlignment != 0 || nHeight % fmt::kMiptexAlignment != 0) {
        Refuse(image, AssetFault::badAlignment,
               "The texture's size " + std::to_string(nWidth) + "×" + std::to_string(nHeight) +
                   " is not a multiple of 16.");
        return image;
    }
    if (nPixelsAt == 0) {
        Refuse(image, AssetFault::unsupported, "The texture's pixels are not in the file (it names a WAD's).");
        return image;
    }
    if (nPixelsAt < fmt::kMiptexHeader || nPixelsAt >= bytes.size()) {
        Refuse(image, AssetFault::offsetOutside,
               "The texture's pixels start at " + std::to_string(nPixelsAt) + ", outside its " +
                   std::to_string(bytes.size()) + " bytes.");
        return image;
    }
    CByteReader pixels(bytes, nPixelsAt);
    ReadPixels(pixels, nWidth, nHeight, budget, image);
    return image;
}

}  // namespace vantor
