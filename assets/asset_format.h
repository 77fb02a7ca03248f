// The Quake 1 asset formats as stored: magic numbers, versions, header and
// record sizes, lump types. Every field is little-endian; the decoders read
// them one by one through CByteReader, never by copying structs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vantor::assetformat {

// qpic: int32 width, int32 height, then width × height indices.
inline constexpr std::size_t kQpicHeader = 8;

// palette.lmp: 256 × RGB. colormap.lmp: levels × 256 indices and one byte
// more (the level count is not stored).
inline constexpr std::size_t kColormapRow = 256;

// conchars: 128 × 128 indices with no header, index 0 transparent.
inline constexpr int kConcharsSide = 128;
inline constexpr std::size_t kConcharsBytes = 128 * 128;

// WAD2: "WAD2", int32 lump count, int32 offset of the lump table. Each
// record: int32 file position, int32 size on disk, int32 size, uint8 type,
// uint8 compression, 2 bytes padding, 16-byte name.
inline constexpr std::size_t kWadHeader = 12;
inline constexpr std::size_t kWadRecord = 32;
inline constexpr std::size_t kWadNameBytes = 16;
inline constexpr std::uint8_t kWadPalette = 0x40;
inline constexpr std::uint8_t kWadQpic = 0x42;
inline constexpr std::uint8_t kWadMiptex = 0x44;

// BSP 29 and BSP2: a version (29, or the magic "BSP2"/"2PSB") and 15 lumps
// of int32 offset and int32 length. Lump 2 holds the textures: int32 count,
// count int32 offsets from the lump's start (-1: no texture), then the
// textures.
inline constexpr std::int32_t kBsp29Version = 29;
inline constexpr std::int32_t kBsp30Version = 30;
inline constexpr std::size_t kBspLumpCount = 15;
inline constexpr std::size_t kBspHeader = 4 + kBspLumpCount * 8;
inline constexpr std::size_t kBspTextureLump = 2;

// miptex: 16-byte name, uint32 width, uint32 height, four uint32 offsets of
// the mip levels from the miptex's start. Sides are multiples of 16.
inline constexpr std::size_t kMiptexHeader = 40;
inline constexpr std::size_t kMiptexNameBytes = 16;
inline constexpr int kMiptexAlignment = 16;

// MDL: "IDPO", int32 version 6, scale[3], translate[3], radius, eye[3]
// (floats), then int32 skin count, skin width, skin height, vertex,
// triangle and frame counts, sync type, flags, and a float size. Skins
// follow: int32 type (0 single, 1 group); a group has int32 count, count
// float intervals, then count pictures.
inline constexpr std::int32_t kMdlVersion = 6;
inline constexpr std::size_t kMdlHeader = 84;
inline constexpr std::size_t kMdlSkinCountAt = 48;
inline constexpr std::int32_t kMdlSkinSingle = 0;
inline constexpr std::int32_t kMdlSkinGroup = 1;

// SPR: "IDSP", int32 version 1, type, float radius, int32 width, height,
// frame count, float beam length, int32 sync type. Frames: int32 type
// (0 single, 1 group, 2 angled); a group or angled frame has int32 count,
// count float intervals, then count pictures. A picture: int32 origin x, y,
// width, height, then its indices.
inline constexpr std::int32_t kSprVersion = 1;
inline constexpr std::int32_t kSprHalfLifeVersion = 2;
inline constexpr std::int32_t kSpr32Version = 32;
inline constexpr std::size_t kSprHeader = 36;
inline constexpr std::size_t kSprFrameCountAt = 24;
inline constexpr std::size_t kSprPictureHeader = 16;
inline constexpr std::int32_t kSprFrameSingle = 0;
inline constexpr std::int32_t kSprFrameGroup = 1;
inline constexpr std::int32_t kSprFrameAngled = 2;

// The index each picture kind draws as transparent.
inline constexpr int kQuakeTransparent = 255;
inline constexpr int kConcharsTransparent = 0;

}  // namespace vantor::assetformat
