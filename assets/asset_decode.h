// Recognising a pak entry as a Quake 1 asset and decoding its pictures:
// qpic, palette.lmp, colormap.lmp, conchars, WAD2, BSP 29 and BSP2 textures,
// MDL skins and SPR frames. Half-Life's variants (BSP 30, WAD3, sprite
// version 2) and 32-bit sprites are recognised and named, never decoded.
//
// The bytes are untrusted: every size is checked before it is used, nothing
// is read outside them, and the pictures together never take more than
// kMaxDecodedFactor times the entry's size. Nothing throws but
// std::bad_alloc when memory runs out.
#pragma once

#include "asset_image.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

// Entries larger than this are refused (tooBig) without being looked at;
// a caller should not read them into memory for decoding either.
inline constexpr std::uint64_t kMaxAssetBytes = 256ull << 20;
inline constexpr std::uint64_t kMaxDecodedFactor = 4;
// A container lists at most this many pictures; the rest are left out and
// counted in CAssetDecode::nLeftOut.
inline constexpr std::size_t kMaxImagesListed = 4096;

struct CAssetDecode {
    // False when the entry is none of the formats here (the caller shows
    // it as text or hex); everything below is then empty.
    bool bRecognised = false;
    // "Quake picture (qpic)", "WAD2 texture file", "Half-Life map (BSP 30)" …
    std::string formatName;
    // A file of several pictures (WAD, BSP, MDL, SPR): shown as named
    // thumbnails, even when it holds only one.
    bool bContainer = false;
    // Another engine's variant: named in formatName, nothing decoded,
    // fault notQuake1.
    bool bNotQuake1 = false;
    // The pictures in file order; a lone picture is one image without a
    // name. A container keeps the pictures that fail, each with its fault.
    std::vector<CIndexedImage> images;
    std::size_t nLeftOut = 0;
    // The palette the entry itself holds (palette.lmp, a WAD's palette
    // lump); a palette.lmp is best drawn with its own colours.
    std::optional<CPalette> palette;
    // Set when the entry as a whole cannot be shown; images is then empty.
    AssetFault fault = AssetFault::none;
    std::string reason;

    bool IsOk() const { return fault == AssetFault::none; }
};

// Whether a pak entry's name suggests one of the formats here (by its
// extension, or gfx.wad's conchars); DecodeAsset also recognises the
// formats by their magic numbers under any name.
bool IsAssetName(std::string_view name);

// Recognises and decodes one entry from its pak name (for the extension
// and the names palette.lmp, colormap.lmp, conchars) and its bytes.
CAssetDecode DecodeAsset(std::string_view name, std::span<const std::uint8_t> bytes);

}  // namespace vantor
