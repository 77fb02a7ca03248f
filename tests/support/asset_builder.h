// Writes Quake 1 asset files in code (qpic, palette, colour map, conchars,
// WAD2, BSP 29/BSP2, MDL, SPR) and the header of other engines' variants,
// recording where each header field lies so that a test can forge any of
// them by name. The decoders' tests, the fuzz seeds and the benchmarks use
// it; no asset file is committed.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::test {

struct BuiltAsset {
    std::string bytes;
    // Field name to the offset of its 32-bit value: "width", "lump 1 size",
    // "texture 0 offset", "skin 2 count", "frame 1 width" …
    std::map<std::string, std::size_t> fields;

    // Overwrites a recorded field (little-endian); fails the test on an
    // unknown name.
    void Put(const std::string& field, std::int32_t value);
    std::int32_t Get(const std::string& field) const;
};

// The pixel at (x, y) of the picture numbered seed: every index occurs,
// 0 and 255 included.
std::uint8_t PatternIndex(int x, int y, int seed);
std::string PatternPixels(int width, int height, int seed);

BuiltAsset BuildQpic(int width, int height, int seed = 0);
BuiltAsset BuildPalette();  // colour i is (i, 255 - i, i / 2)
BuiltAsset BuildColormap(int levels);
BuiltAsset BuildConchars();

class WadBuilder {
public:
    static constexpr std::uint8_t kPalette = 0x40;
    static constexpr std::uint8_t kQpic = 0x42;
    static constexpr std::uint8_t kMiptex = 0x44;
    static constexpr std::uint8_t kSound = 0x43;

    WadBuilder& Lump(std::string_view name, std::uint8_t type, std::string data);
    WadBuilder& Qpic(std::string_view name, int width, int height);
    WadBuilder& Miptex(std::string_view name, int width, int height);
    // The lump table follows the data; fields "lump count", "table at",
    // "lump N position", "lump N size", "lump N full size", and for miptex
    // lumps "lump N width", "lump N height", "lump N pixels at". The
    // compression byte is at "lump N compression" (one byte, not 32 bits:
    // change bytes directly).
    BuiltAsset Build(std::string_view magic = "WAD2") const;

private:
    struct CLump {
        std::string name;
        std::uint8_t type = 0;
        std::string data;
        bool bMiptex = false;
    };
    std::vector<CLump> m_lumps;
};

// A miptex: 40-byte header and four mip levels.
std::string MiptexBytes(std::string_view name, int width, int height, int seed);

class BspBuilder {
public:
    BspBuilder& Texture(std::string_view name, int width, int height);
    BspBuilder& Missing();  // a -1 slot
    // version 29 or 30, or the magic "BSP2"; the other 14 lumps are empty
    // and lie after the textures. Fields "version", "texture lump at",
    // "texture lump length", "texture count", "texture N offset",
    // "texture N width", "texture N height", "texture N pixels at".
    BuiltAsset Build(std::string_view version = "29") const;

private:
    struct CTexture {
        std::string name;
        int nWidth = 0;
        int nHeight = 0;
        bool bMissing = false;
    };
    std::vector<CTexture> m_textures;
};

class MdlBuilder {
public:
    MdlBuilder(int width, int height) : m_nWidth(width), m_nHeight(height) {}
    MdlBuilder& Skin();
    MdlBuilder& SkinGroup(int count);
    // Fields "version", "skin count", "skin width", "skin height",
    // "skin N type", "skin N count" (groups). Only the skins follow the
    // header: the decoders read nothing else.
    BuiltAsset Build() const;

private:
    int m_nWidth;
    int m_nHeight;
    std::vector<int> m_skins;  // 0 for a single skin, else the group's count
};

class SprBuilder {
public:
    SprBuilder& Frame(int width, int height);
    SprBuilder& Group(int count, int width, int height);
    SprBuilder& Angled(int width, int height);  // 8 pictures
    // Fields "version", "frame count", "frame N type", "frame N count",
    // "frame N width", "frame N height" (single frames), "frame N.M width",
    // "frame N.M height" (the pictures of groups).
    BuiltAsset Build() const;

private:
    struct CFrame {
        int nType = 0;
        int nCount = 1;
        int nWidth = 0;
        int nHeight = 0;
    };
    std::vector<CFrame> m_frames;
};

// The first bytes of another engine's variant, enough to be named:
// "bsp30", "wad3", "spr2", "spr32", "hlmdl".
std::string ForeignHeader(std::string_view variant);

}  // namespace vantor::test
