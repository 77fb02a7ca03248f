// The skins of an MDL (IDPO version 6): single skins and skin groups. The
// rest of the model (vertices, frames) is not read.
#include "asset_format.h"
#include "asset_readers.h"

namespace vantor {

namespace fmt = assetformat;

void DecodeModelSkins(std::span<const std::uint8_t> bytes, CAssetDecode& decode, CPixelBudget& budget)
{
    CByteReader header(bytes, fmt::kMdlSkinCountAt);
    const std::int64_t nSkins = header.ReadI32();
    const std::int64_t nWidth = header.ReadI32();
    const std::int64_t nHeight = header.ReadI32();
    if (!header.Ok() || bytes.size() < fmt::kMdlHeader) {
        Refuse(decode, AssetFault::truncated,
               "The file ends inside its " + std::to_string(fmt::kMdlHeader) + "-byte header.");
        return;
    }
    if (nSkins < 0) {
        Refuse(decode, AssetFault::negativeSize, "The skin count " + std::to_string(nSkins) + " is negative.");
        return;
    }
    if (nSkins == 0)
        return;
    CIndexedImage sides;
    if (!CheckSides(nWidth, nHeight, sides)) {
        Refuse(decode, sides.fault, "Skins: " + sides.reason);
        return;
    }
    // Each skin takes at least its type and its pixels.
    const std::uint64_t nSkinBytes = static_cast<std::uint64_t>(nWidth) * static_cast<std::uint64_t>(nHeight);
    CByteReader reader(bytes, fmt::kMdlHeader);
    if (static_cast<std::uint64_t>(nSkins) > reader.Remaining() / (4 + nSkinBytes)) {
        Refuse(decode, AssetFault::countTooLarge,
               "The model claims " + std::to_string(nSkins) + " skins of " + std::to_string(nWidth) + "×" +
                   std::to_string(nHeight) + "; the file has room for " +
                   std::to_string(reader.Remaining() / (4 + nSkinBytes)) + ".");
        return;
    }
    for (std::int64_t nSkin = 0; nSkin < nSkins; ++nSkin) {
        const std::string skinName = "skin " + std::to_string(nSkin);
        const std::int32_t nType = reader.ReadI32();
        if (!HasRoomForImage(decode, static_cast<std::size_t>(nSkins - nSkin)))
            return;
        if (nType == fmt::kMdlSkinSingle) {
            CIndexedImage image;
            image.name = skinName;
            const bool bOk = ReadPixels(reader, nWidth, nHeight, budget, image);
            decode.images.push_back(std::move(image));
            if (!bOk) return;
            continue;
        }
        CIndexedImage failed;
        failed.name = skinName;
        if (nType != fmt::kMdlSkinGroup) {
            Refuse(failed, AssetFault::unsupported, "The skin's type " + std::to_string(nType) + " is unknown.");
            decode.images.push_back(std::move(failed));
            return;
        }
        const std::int64_t nFrames = reader.ReadI32();
        if (!reader.Ok() || nFrames <= 0 ||
            static_cast<std::uint64_t>(nFrames) > reader.Remaining() / (4 + nSkinBytes)) {
            if (!reader.Ok())
                Refuse(failed, AssetFault::truncated, "The file ends inside the skin group's header.");
            else if (nFrames < 0)
                Refuse(failed, AssetFault::negativeSize,
                       "The skin group's count " + std::to_string(nFrames) + " is negative.");
            else if (nFrames == 0)
                Refuse(failed, AssetFault::empty, "The skin group holds no skins.");
            else
                Refuse(failed, AssetFault::countTooLarge,
                       "The skin group claims " + std::to_string(nFrames) + " skins; the file has room for " +
                           std::to_string(reader.Remaining() / (4 + nSkinBytes)) + ".");
            decode.images.push_back(std::move(failed));
            return;
        }
        reader.Skip(static_cast<std::size_t>(nFrames) * 4);  // the intervals
        for (std::int64_t nFrame = 0; nFrame < nFrames; ++nFrame) {
            if (!HasRoomForImage(decode, static_cast<std::size_t>(nFrames - nFrame)))
                return;
            CIndexedImage image;
            image.name = skinName + ", frame " + std::to_string(nFrame);
            image.animationGroup = skinName;
            image.nAnimationFrame = static_cast<int>(nFrame);
            const bool bOk = ReadPixels(reader, nWidth, nHeight, budget, image);
            decode.images.push_back(std::move(image));
            if (!bOk) return;
        }
    }
}

}  // namespace vantor
