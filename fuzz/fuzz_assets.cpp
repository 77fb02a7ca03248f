// Fuzzes the asset decoders over any bytes under each entry name: nothing
// may read outside them (the input is copied into a buffer of exactly its
// size, so AddressSanitizer sees the end), every picture handed back must
// be whole, every refusal must say why and hand back no pixels, and the
// pictures together stay within the decoders' bound for the entry's size.
// The first decoded picture also goes through the PNG writer.
#include "asset_decode.h"
#include "asset_names.h"
#include "fuzz_common.h"
#include "png_export.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

using namespace vantor;
using namespace vantor::fuzz;

namespace {

void CheckImage(const CIndexedImage& image)
{
    if (!image.IsOk()) {
        Require(image.pixels.empty(), "a refused picture handed back pixels");
        Require(!image.reason.empty(), "a refused picture without a reason");
        return;
    }
    Require(image.nWidth >= 1 && image.nWidth <= kMaxImageSide && image.nHeight >= 1 &&
                image.nHeight <= kMaxImageSide,
            "a picture of a size the decoders refuse");
    Require(image.pixels.size() == static_cast<std::size_t>(image.nWidth) * static_cast<std::size_t>(image.nHeight),
            "a picture whose pixels are not width × height");
    Require(image.nTransparentIndex >= -1 && image.nTransparentIndex <= 255, "a transparent index outside 0-255");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize == 0)
        return 0;
    const char* name = kAssetNames[pData[0] % kAssetNames.size()];
    const std::size_t nBytes = nSize - 1;
    const auto bytes = std::make_unique<std::uint8_t[]>(nBytes);
    for (std::size_t i = 0; i < nBytes; ++i)
        bytes[i] = pData[i + 1];

    const CAssetDecode decode = DecodeAsset(name, std::span<const std::uint8_t>(bytes.get(), nBytes));
    if (!decode.bRecognised) {
        Require(decode.images.empty() && decode.formatName.empty(), "an unrecognised entry handed back pictures");
        return 0;
    }
    Require(!decode.formatName.empty(), "a recognised entry without a format name");
    if (!decode.IsOk()) {
        Require(decode.images.empty(), "a refused entry handed back pictures");
        Require(!decode.reason.empty(), "a refused entry without a reason");
        return 0;
    }
    Require(!decode.bNotQuake1, "another engine's format decoded");
    Require(decode.images.size() <= kMaxImagesListed, "more pictures listed than the limit");
    Require(decode.bContainer || decode.images.size() == 1, "a lone picture that is not one picture");
    std::uint64_t nPixels = 0;
    for (const CIndexedImage& image : decode.images) {
        CheckImage(image);
        nPixels += image.pixels.size();
    }
    Require(nPixels <= kMaxDecodedFactor * nBytes, "more pixels than the bound for the entry's size");

    for (const CIndexedImage& image : decode.images) {
        if (!image.IsOk()) continue;
        std::vector<std::uint8_t> png;
        CPngResult result;
        Require(EncodeIndexedPng(image, decode.palette.value_or(CPalette()), png, result) && png.size() > 8,
                "a decoded picture the PNG writer refused");
        break;
    }
    return 0;
}
