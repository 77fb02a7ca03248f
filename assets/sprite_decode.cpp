// The frames of an SPR (IDSP version 1): single frames, frame groups that
// animate, and angled frames (one picture per view angle).
#include "asset_format.h"
#include "asset_readers.h"

namespace vantor {

namespace fmt = assetformat;

namespace {

// One picture: its 16-byte header (origin, width, height) and indices.
bool ReadSpritePicture(CByteReader& reader, CPixelBudget& budget, CIndexedImage& image)
{
    image.nTransparentIndex = fmt::kQuakeTransparent;
    reader.Skip(8);  // the origin: where the picture hangs, not what it shows
    const std::int64_t nWidth = reader.ReadI32();
    const std::int64_t nHeight = reader.ReadI32();
    if (!reader.Ok())
        return Refuse(image, AssetFault::truncated, "The file ends inside the frame's 16-byte header.");
    return ReadPixels(reader, nWidth, nHeight, budget, image);
}

}  // namespace

void DecodeSpriteFrames(std::span<const std::uint8_t> bytes, CAssetDecode& decode, CPixelBudget& budget)
{
    CByteReader header(bytes, fmt::kSprFrameCountAt);
    const std::int64_t nFrames = header.ReadI32();
    if (!header.Ok() || bytes.size() < fmt::kSprHeader) {
        Refuse(decode, AssetFault::truncated,
               "The file ends inside its " + std::to_string(fmt::kSprHeader) + "-byte header.");
        return;
    }
    if (nFrames < 0) {
        Refuse(decode, AssetFault::negativeSize, "The frame count " + std::to_string(nFrames) + " is negative.");
        return;
    }
    // Each frame takes at least its type and a picture header.
    constexpr std::uint64_t nLeastFrame = 4 + fmt::kSprPictureHeader;
    CByteReader reader(bytes, fmt::kSprHeader);
    if (static_cast<std::uint64_t>(nFrames) > reader.Remaining() / nLeastFrame) {
        Refuse(decode, AssetFault::countTooLarge,
               "The sprite claims " + std::to_string(nFrames) + " frames; the file has room for " +
                   std::to_string(reader.Remaining() / nLeastFrame) + ".");
        return;
    }
    for (std::int64_t nFrame = 0; nFrame < nFrames; ++nFrame) {
        const std::string frameName = "frame " + std::to_string(nFrame);
        const std::int32_t nType = reader.ReadI32();
        if (!HasRoomForImage(decode, static_cast<std::size_t>(nFrames - nFrame)))
            return;
        if (nType == fmt::kSprFrameSingle) {
            CIndexedImage image;
            image.name = frameName;
            const bool bOk = ReadSpritePicture(reader, budget, image);
            decode.images.push_back(std::move(image));
            if (!bOk) return;
            continue;
        }
        CIndexedImage failed;
        failed.name = frameName;
        failed.nTransparentIndex = fmt::kQuakeTransparent;
        if (nType != fmt::kSprFrameGroup && nType != fmt::kSprFrameAngled) {
            Refuse(failed, AssetFault::unsupported, "The frame's type " + std::to_string(nType) + " is unknown.");
            decode.images.push_back(std::move(failed));
            return;
        }
        const bool bAngled = nType == fmt::kSprFrameAngled;
        const std::int64_t nPictures = reader.ReadI32();
        if (!reader.Ok() || nPictures <= 0 ||
            static_cast<std::uint64_t>(nPictures) > reader.Remaining() / (4 + fmt::kSprPictureHeader)) {
            if (!reader.Ok())
                Refuse(failed, AssetFault::truncated, "The file ends inside the frame group's header.");
            else if (nPictures < 0)
                Refuse(failed, AssetFault::negativeSize,
                       "The frame group's count " + std::to_string(nPictures) + " is negative.");
            else if (nPictures == 0)
                Refuse(failed, AssetFault::empty, "The frame group holds no pictures.");
            else
                Refuse(failed, AssetFault::countTooLarge,
                       "The frame group claims " + std::to_string(nPictures) + " pictures; the file has room for " +
                           std::to_string(reader.Remaining() / (4 + fmt::kSprPictureHeader)) + ".");
            decode.images.push_back(std::move(failed));
            return;
        }
        reader.Skip(static_cast<std::size_t>(nPictures) * 4);  // the intervals
        for (std::int64_t nPicture = 0; nPicture < nPictures; ++nPicture) {
            if (!HasRoomForImage(decode, static_cast<std::size_t>(nPictures - nPicture)))
                return;
            CIndexedImage image;
            image.name = frameName + (bAngled ? ", angle " : ", picture ") + std::to_string(nPicture);
            // The angles of one frame are views, not an animation.
            if (!bAngled) {
                image.animationGroup = frameName;
                image.nAnimationFrame = static_cast<int>(nPicture);
            }
            const bool bOk = ReadSpritePicture(reader, budget, image);
            decode.images.push_back(std::move(image));
            if (!bOk) return;
        }
    }
}

}  // namespace vantor
