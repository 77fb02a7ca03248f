// What the asset decoders produce: pictures as palette indices, never as
// colours, so that a picture can be shown or written with the palette the
// game would use and no pixel moves into another colour on the way.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vantor {

// 256 colours, three bytes each (red, green, blue), as palette.lmp stores them.
inline constexpr std::size_t kPaletteBytes = 768;

struct CPalette {
    std::array<std::uint8_t, kPaletteBytes> rgb{};
};

// Why a picture or a whole entry could not be decoded. Every refusal has
// one; AssetFaultName gives its short name for reports and tests.
enum class AssetFault {
    none,
    truncated,      // the data ends inside a header or the pixels it announces
    sizeMismatch,   // the length is not the one the header makes it (qpic 8 + w·h, palette 768, …)
    negativeSize,   // a width, height or count below zero
    empty,          // a width, height or frame count of zero
    sizeOverflow,   // width × height beyond what a picture may hold (a side over kMaxImageSide)
    offsetOutside,  // an offset outside the lump or the file
    countTooLarge,  // a count larger than the data could hold
    badAlignment,   // a texture side that is not a multiple of 16
    unsupported,    // a compressed WAD lump, an unknown skin or frame type, a bad version
    notQuake1,      // another engine's variant of the format: named, never decoded
    missing,        // a map's texture slot marked -1
    tooMuchData,    // more decoded pixels than the entry's size allows (entries sharing bytes)
    tooBig,         // the entry is larger than kMaxAssetBytes
};

const char* AssetFaultName(AssetFault fault);

// The longest side a decoded picture may have.
inline constexpr int kMaxImageSide = 16384;

// A picture as palette indices.
struct CIndexedImage {
    // In a container, the lump, texture, skin or frame name ("+0lava",
    // "skin 1, frame 2"); empty for a lone picture.
    std::string name;
    int nWidth = 0;
    int nHeight = 0;
    // nWidth × nHeight indices, rows from the top; empty when the picture
    // was refused (fault says why).
    std::vector<std::uint8_t> pixels;
    // The index drawn as transparent: 255 for qpics, sprites and '{'
    // textures, 0 for conchars; -1 when every index is opaque.
    int nTransparentIndex = -1;
    // A sky texture: both halves belong to the picture, show it whole.
    bool bSky = false;
    // Pictures that animate together share a group: the texture name
    // without its "+N" ("lava" for "+0lava"; "+a".."+j" textures form the
    // alternate group "lava (alternate)"), a group skin, a sprite frame
    // group. Empty when the picture does not animate.
    std::string animationGroup;
    int nAnimationFrame = -1;  // its place in the group (0 for "+0", "+a")
    AssetFault fault = AssetFault::none;
    std::string reason;  // a sentence for the user when fault is not none

    bool IsOk() const { return fault == AssetFault::none; }
};

}  // namespace vantor
