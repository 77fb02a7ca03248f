// The textures of a BSP 29 or BSP2 map: its miptex lump. BSP2 changes the
// sizes of other lumps only, so one reader serves both.
#include "asset_format.h"
#include "asset_readers.h"

namespace vantor {

namespace fmt = assetformat;

void DecodeBspTextures(std::span<const std::uint8_t> bytes, CAssetDecode& decode, CPixelBudget& budget)
{
    if (bytes.size() < fmt::kBspHeader) {
        Refuse(decode, AssetFault::truncated,
               "The file ends inside its " + std::to_string(fmt::kBspHeader) + "-byte header.");
        return;
    }
    CByteReader header(bytes, 4 + fmt::kBspTextureLump * 8);
    const std::int64_t nLumpAt = header.ReadI32();
    const std::int64_t nLumpLength = header.ReadI32();
    if (nLumpAt < 0 || nLumpLength < 0) {
        Refuse(decode, AssetFault::negativeSize, "The texture lump's position or length is negative.");
        return;
    }
    if (static_cast<std::uint64_t>(nLumpAt) > bytes.size() ||
        static_cast<std::uint64_t>(nLumpLength) > bytes.size() - nLumpAt) {
        Refuse(decode, AssetFault::offsetOutside,
               "The texture lump's " + std::to_string(nLumpLength) + " bytes at " + std::to_string(nLumpAt) +
                   " run past the file's end.");
        return;
    }
    // A map without textures stores an empty lump.
    if (nLumpLength == 0)
        return;
    const auto lump = bytes.subspan(static_cast<std::size_t>(nLumpAt), static_cast<std::size_t>(nLumpLength));
    CByteReader table(lump);
    const std::int64_t nCount = table.ReadI32();
    if (!table.Ok()) {
        Refuse(decode, AssetFault::truncated, "The texture lump is too short for its texture count.");
        return;
    }
    if (nCount < 0) {
        Refuse(decode, AssetFault::negativeSize, "The texture count " + std::to_string(nCount) + " is negative.");
        return;
    }
    if (static_cast<std::uint64_t>(nCount) > table.Remaining() / 4) {
        Refuse(decode, AssetFault::countTooLarge,
               "The map claims " + std::to_string(nCount) + " textures; its texture lump has room for " +
                   std::to_string(table.Remaining() / 4) + " offsets.");
        return;
    }
    for (std::int64_t i = 0; i < nCount; ++i) {
        const std::int64_t nOffset = table.ReadI32();
        if (!HasRoomForImage(decode, static_cast<std::size_t>(nCount - i)))
            break;
        CIndexedImage image;
        if (nOffset == -1) {
            image.name = "texture " + std::to_string(i);
            Refuse(image, AssetFault::missing, "The map has no pixels for this texture.");
        } else if (nOffset < 0 || static_cast<std::uint64_t>(nOffset) >= lump.size()) {
            image.name = "texture " + std::to_string(i);
            Refuse(image, AssetFault::offsetOutside,
                   "The texture starts at " + std::to_string(nOffset) + ", outside the texture lump's " +
                       std::to_string(lump.size()) + " bytes.");
        } else {
            image = DecodeMiptex(lump.subspan(static_cast<std::size_t>(nOffset)), budget);
            if (image.name.empty())
                image.name = "texture " + std::to_string(i);
        }
        decode.images.push_back(std::move(image));
    }
}

}  // namespace vantor
