// The decoders of each format and the checks they share; used by
// DecodeAsset only.
#pragma once

#include "asset_decode.h"
#include "byte_reader.h"

#include <cstdint>
#include <span>
#include <string>

namespace vantor {

// How many more pixels an entry's pictures may take: a multiple of the
// entry's size, so entries whose records share bytes cannot make the
// decoders allocate without bound.
class CPixelBudget {
public:
    explicit CPixelBudget(std::uint64_t nLimit) : m_nLeft(nLimit) {}
    bool Take(std::uint64_t nCount)
    {
        if (nCount > m_nLeft) return false;
        m_nLeft -= nCount;
        return true;
    }

private:
    std::uint64_t m_nLeft;
};

// Marks a picture or an entry refused; returns false for the caller's return.
bool Refuse(CIndexedImage& image, AssetFault fault, std::string reason);
bool Refuse(CAssetDecode& decode, AssetFault fault, std::string reason);

// Sides read from a header: neither negative, zero nor over kMaxImageSide.
bool CheckSides(std::int64_t nWidth, std::int64_t nHeight, CIndexedImage& image);
// Checks the sides, then takes width × height indices from the reader into
// image (within the budget).
bool ReadPixels(CByteReader& reader, std::int64_t nWidth, std::int64_t nHeight, CPixelBudget& budget,
                CIndexedImage& image);
// False (and the rest counted as left out) once a container lists
// kMaxImagesListed pictures.
bool HasRoomForImage(CAssetDecode& decode, std::size_t nRest);

// A texture's name decides its transparency, sky and animation group.
void ApplyTextureName(CIndexedImage& image);

// Lone pictures.
CIndexedImage DecodeQpic(std::span<const std::uint8_t> bytes, CPixelBudget& budget);
CIndexedImage DecodeConchars(std::span<const std::uint8_t> bytes, CPixelBudget& budget);
// The 256 indices as a 16 × 16 picture; palette receives the colours.
CIndexedImage DecodePalette(std::span<const std::uint8_t> bytes, CPalette& palette);
// levels × 256 picture, one row per light level.
CIndexedImage DecodeColormap(std::span<const std::uint8_t> bytes, CPixelBudget& budget);
// bytes start at the miptex header and end with its lump.
CIndexedImage DecodeMiptex(std::span<const std::uint8_t> bytes, CPixelBudget& budget);

// Containers: fill decode.images (or refuse the whole entry).
void DecodeWad(std::span<const std::uint8_t> bytes, CAssetDecode& decode, CPixelBudget& budget);
void DecodeBspTextures(std::span<const std::uint8_t> bytes, CAssetDecode& decode, CPixelBudget& budget);
void DecodeModelSkins(std::span<const std::uint8_t> bytes, CAssetDecode& decode, CPixelBudget& budget);
void DecodeSpriteFrames(std::span<const std::uint8_t> bytes, CAssetDecode& decode, CPixelBudget& budget);

}  // namespace vantor
