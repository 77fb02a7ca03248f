// What every picture shares (side checks, taking pixels within the
// budget), and the two lone picture formats: qpic and conchars.
#include "asset_format.h"
#include "asset_readers.h"

namespace vantor {

namespace fmt = assetformat;

bool Refuse(CIndexedImage& image, AssetFault fault, std::string reason)
{
    image.fault = fault;
    image.reason = std::move(reason);
    image.pixels.clear();
    return false;
}

bool Refuse(CAssetDecode& decode, AssetFault fault, std::string reason)
{
    decode.fault = fault;
    decode.reason = std::move(reason);
    decode.images.clear();
    return false;
}

bool CheckSides(std::int64_t nWidth, std::int64_t nHeight, CIndexedImage& image)
{
    const std::string sides = std::to_string(nWidth) + "×" + std::to_string(nHeight);
    if (nWidth < 0 || nHeight < 0)
        return Refuse(image, AssetFault::negativeSize, "The picture's size " + sides + " is negative.");
    if (nWidth == 0 || nHeight == 0)
        return Refuse(image, AssetFault::empty, "The picture's size " + sides + " has no pixels.");
    if (nWidth > kMaxImageSide || nHeight > kMaxImageSide)
        return Refuse(image, AssetFault::sizeOverflow,
                      "The picture's size " + sides + " is larger than " + std::to_string(kMaxImageSide) +
                          " pixels on a side.");
    image.nWidth = static_cast<int>(nWidth);
    image.nHeight = static_cast<int>(nHeight);
    return true;
}

bool ReadPixels(CByteReader& reader, std::int64_t nWidth, std::int64_t nHeight, CPixelBudget& budget,
                CIndexedImage& image)
{
    if (!CheckSides(nWidth, nHeight, image))
        return false;
    const auto nCount = static_cast<std::uint64_t>(nWidth) * static_cast<std::uint64_t>(nHeight);
    if (nCount > reader.Remaining())
        return Refuse(image, AssetFault::truncated,
                      "The picture needs " + std::to_string(nCount) + " bytes of pixels; only " +
                          std::to_string(reader.Remaining()) + " remain.");
    if (!budget.Take(nCount))
        return Refuse(image, AssetFault::tooMuchData,
                      "The file's pictures add up to more pixels than its size can hold; they share bytes.");
    auto source = reader.ReadBytes(static_cast<std::size_t>(nCount));
    image.pixels.assign(source.begin(), source.end());
    return true;
}

bool HasRoomForImage(CAssetDecode& decode, std::size_t nRest)
{
    if (decode.images.size() < kMaxImagesListed)
        return true;
    decode.nLeftOut += nRest;
    return false;
}

CIndexedImage DecodeQpic(std::span<const std::uint8_t> bytes, CPixelBudget& budget)
{
    CIndexedImage image;
    image.nTransparentIndex = fmt::kQuakeTransparent;
    CByteReader reader(bytes);
    const std::int64_t nWidth = reader.ReadI32();
    const std::int64_t nHeight = reader.ReadI32();
    if (!reader.Ok()) {
        Refuse(image, AssetFault::truncated,
               "The file has " + std::to_string(bytes.size()) + " bytes, fewer than a picture's 8-byte header.");
        return image;
    }
    if (!CheckSides(nWidth, nHeight, image))
        return image;
    // A picture is exactly its header and its pixels; anything else is
    // some other lump that happens to be named .lmp.
    const std::uint64_t nExpected = fmt::kQpicHeader + static_cast<std::uint64_t>(nWidth) * nHeight;
    if (bytes.size() != nExpected) {
        Refuse(image, bytes.size() < nExpected ? AssetFault::truncated : AssetFault::sizeMismatch,
               "A picture of " + std::to_string(nWidth) + "×" + std::to_string(nHeight) + " takes " +
                   std::to_string(nExpected) + " bytes; there are " + std::to_string(bytes.size()) + ".");
        return image;
    }
    ReadPixels(reader, nWidth, nHeight, budget, image);
    return image;
}

CIndexedImage DecodeConchars(std::span<const std::uint8_t> bytes, CPixelBudget& budget)
{
    CIndexedImage image;
    image.nTransparentIndex = fmt::kConcharsTransparent;
    if (bytes.size() != fmt::kConcharsBytes) {
        Refuse(image, bytes.size() < fmt::kConcharsBytes ? AssetFault::truncated : AssetFault::sizeMismatch,
               "The console characters take " + std::to_string(fmt::kConcharsBytes) + " bytes; this has " +
                   std::to_string(bytes.size()) + ".");
        return image;
    }
    CByteReader reader(bytes);
    ReadPixels(reader, fmt::kConcharsSide, fmt::kConcharsSide, budget, image);
    return image;
}

}  // namespace vantor
