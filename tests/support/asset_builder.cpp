#include "asset_builder.h"

#include <algorithm>
#include <stdexcept>

namespace vantor::test {

namespace {

void AppendI32(std::string& bytes, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((u >> shift) & 0xff));
}

// Appends a value and records where it lies.
void AppendField(BuiltAsset& asset, const std::string& field, std::int32_t value)
{
    asset.fields[field] = asset.bytes.size();
    AppendI32(asset.bytes, value);
}

void AppendName(std::string& bytes, std::string_view name, std::size_t field)
{
    std::string padded(name.substr(0, field));
    padded.resize(field, '\0');
    bytes += padded;
}

void AppendFloat(std::string& bytes)
{
    AppendI32(bytes, 0x3f800000);  // 1.0
}

void PutI32(std::string& bytes, std::size_t at, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes.at(at + static_cast<std::size_t>(i)) = static_cast<char>((u >> (8 * i)) & 0xff);
}

}  // namespace

void BuiltAsset::Put(const std::string& field, std::int32_t value)
{
    const auto found = fields.find(field);
    if (found == fields.end()) throw std::runtime_error("no field named " + field);
    PutI32(bytes, found->second, value);
}

std::int32_t BuiltAsset::Get(const std::string& field) const
{
    const std::size_t at = fields.at(field);
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= std::uint32_t(static_cast<std::uint8_t>(bytes.at(at + static_cast<std::size_t>(i)))) << (8 * i);
    return static_cast<std::int32_t>(u);
}

std::uint8_t PatternIndex(int x, int y, int seed)
{
    return static_cast<std::uint8_t>(x * 7 + y * 13 + seed * 31);
}

std::string PatternPixels(int width, int height, int seed)
{
    std::string pixels;
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(static_cast<char>(PatternIndex(x, y, seed)));
    return pixels;
}

BuiltAsset BuildQpic(int width, int height, int seed)
{
    BuiltAsset asset;
    AppendField(asset, "width", width);
    AppendField(asset, "height", height);
    asset.bytes += PatternPixels(width, height, seed);
    return asset;
}

BuiltAsset BuildPalette()
{
    BuiltAsset asset;
    for (int i = 0; i < 256; ++i) {
        asset.bytes.push_back(static_cast<char>(i));
        asset.bytes.push_back(static_cast<char>(255 - i));
        asset.bytes.push_back(static_cast<char>(i / 2));
    }
    return asset;
}

BuiltAsset BuildColormap(int levels)
{
    BuiltAsset asset;
    asset.bytes = PatternPixels(256, levels, 3);
    asset.bytes.push_back('\0');
    return asset;
}

BuiltAsset BuildConchars()
{
    BuiltAsset asset;
    asset.bytes = PatternPixels(128, 128, 5);
    return asset;
}

std::string MiptexBytes(std::string_view name, int width, int height, int seed)
{
    std::string bytes;
    AppendName(bytes, name, 16);
    AppendI32(bytes, width);
    AppendI32(bytes, height);
    std::int32_t at = 40;
    for (int level = 0; level < 4; ++level) {
        AppendI32(bytes, at);
        at += (width >> level) * (height >> level);
    }
    for (int level = 0; level < 4; ++level)
        bytes += PatternPixels(width >> level, height >> level, seed + level);
    return bytes;
}

WadBuilder& WadBuilder::Lump(std::string_view name, std::uint8_t type, std::string data)
{
    m_lumps.push_back({std::string(name), type, std::move(data), false});
    return *this;
}

WadBuilder& WadBuilder::Qpic(std::string_view name, int width, int height)
{
    return Lump(name, kQpic, BuildQpic(width, height, static_cast<int>(m_lumps.size())).bytes);
}

WadBuilder& WadBuilder::Miptex(std::string_view name, int width, int height)
{
    Lump(name, kMiptex, MiptexBytes(name, width, height, static_cast<int>(m_lumps.size())));
    m_lumps.back().bMiptex = true;
    return *this;
}

BuiltAsset WadBuilder::Build(std::string_view magic) const
{
    BuiltAsset asset;
    asset.bytes = std::string(magic.substr(0, 4));
    AppendField(asset, "lump count", static_cast<std::int32_t>(m_lumps.size()));
    AppendField(asset, "table at", 0);
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < m_lumps.size(); ++i) {
        positions.push_back(asset.bytes.size());
        if (m_lumps[i].bMiptex) {
            const std::string lump = "lump " + std::to_string(i);
            asset.fields[lump + " width"] = asset.bytes.size() + 16;
            asset.fields[lump + " height"] = asset.bytes.size() + 20;
            asset.fields[lump + " pixels at"] = asset.bytes.size() + 24;
        }
        asset.bytes += m_lumps[i].data;
        // Lumps start on 4-byte boundaries, as the game's tools write them.
        while (asset.bytes.size() % 4 != 0) asset.bytes.push_back('\0');
    }
    asset.Put("table at", static_cast<std::int32_t>(asset.bytes.size()));
    for (std::size_t i = 0; i < m_lumps.size(); ++i) {
        const std::string lump = "lump " + std::to_string(i);
        const auto size = static_cast<std::int32_t>(m_lumps[i].data.size());
        AppendField(asset, lump + " position", static_cast<std::int32_t>(positions[i]));
        AppendField(asset, lump + " size", size);
        AppendField(asset, lump + " full size", size);
        asset.fields[lump + " compression"] = asset.bytes.size() + 1;
        asset.bytes.push_back(static_cast<char>(m_lumps[i].type));
        asset.bytes += std::string(3, '\0');
        AppendName(asset.bytes, m_lumps[i].name, 16);
    }
    return asset;
}

BspBuilder& BspBuilder::Texture(std::string_view name, int width, int height)
{
    m_textures.push_back({std::string(name), width, height, false});
    return *this;
}

BspBuilder& BspBuilder::Missing()
{
    m_textures.push_back({std::string(), 0, 0, true});
    return *this;
}

BuiltAsset BspBuilder::Build(std::string_view version) const
{
    BuiltAsset asset;
    if (version == "29" || version == "30")
        AppendField(asset, "version", version == "29" ? 29 : 30);
    else
        asset.bytes += std::string(version.substr(0, 4));
    // Lumps 0 and 1 are empty, lump 2 follows the header, the rest after it.
    constexpr std::size_t kHeader = 4 + 15 * 8;
    for (int lump = 0; lump < 15; ++lump) {
        if (lump == 2) {
            AppendField(asset, "texture lump at", static_cast<std::int32_t>(kHeader));
            AppendField(asset, "texture lump length", 0);
        } else {
            AppendI32(asset.bytes, static_cast<std::int32_t>(kHeader));
            AppendI32(asset.bytes, 0);
        }
    }
    AppendField(asset, "texture count", static_cast<std::int32_t>(m_textures.size()));
    std::vector<std::size_t> slots;
    for (std::size_t i = 0; i < m_textures.size(); ++i) {
        slots.push_back(asset.bytes.size());
        AppendField(asset, "texture " + std::to_string(i) + " offset", -1);
    }
    for (std::size_t i = 0; i < m_textures.size(); ++i) {
        const CTexture& texture = m_textures[i];
        if (texture.bMissing) continue;
        const std::string prefix = "texture " + std::to_string(i);
        PutI32(asset.bytes, slots[i], static_cast<std::int32_t>(asset.bytes.size() - kHeader));
        asset.fields[prefix + " width"] = asset.bytes.size() + 16;
        asset.fields[prefix + " height"] = asset.bytes.size() + 20;
        asset.fields[prefix + " pixels at"] = asset.bytes.size() + 24;
        asset.bytes += MiptexBytes(texture.name, texture.nWidth, texture.nHeight, static_cast<int>(i));
    }
    const auto length = static_cast<std::int32_t>(asset.bytes.size() - kHeader);
    asset.Put("texture lump length", length);
    // The empty lumps lie at the end, where a real map's others would be.
    const auto end = static_cast<std::int32_t>(asset.bytes.size());
    for (int lump = 0; lump < 15; ++lump)
        if (lump != 2) PutI32(asset.bytes, 4 + static_cast<std::size_t>(lump) * 8, end);
    return asset;
}

MdlBuilder& MdlBuilder::Skin()
{
    m_skins.push_back(0);
    return *this;
}

MdlBuilder& MdlBuilder::SkinGroup(int count)
{
    m_skins.push_back(count);
    return *this;
}

BuiltAsset MdlBuilder::Build() const
{
    BuiltAsset asset;
    asset.bytes = "IDPO";
    AppendField(asset, "version", 6);
    for (int i = 0; i < 10; ++i) AppendFloat(asset.bytes);  // scale, translate, radius, eye
    AppendField(asset, "skin count", static_cast<std::int32_t>(m_skins.size()));
    AppendField(asset, "skin width", m_nWidth);
    AppendField(asset, "skin height", m_nHeight);
    for (int i = 0; i < 5; ++i) AppendI32(asset.bytes, 0);  // vertices, triangles, frames, sync, flags
    AppendFloat(asset.bytes);                              // size
    for (std::size_t i = 0; i < m_skins.size(); ++i) {
        const std::string skin = "skin " + std::to_string(i);
        const int count = m_skins[i];
        AppendField(asset, skin + " type", count == 0 ? 0 : 1);
        if (count == 0) {
            asset.bytes += PatternPixels(m_nWidth, m_nHeight, static_cast<int>(i));
            continue;
        }
        AppendField(asset, skin + " count", count);
        for (int frame = 0; frame < count; ++frame) AppendFloat(asset.bytes);
        for (int frame = 0; frame < count; ++frame)
            asset.bytes += PatternPixels(m_nWidth, m_nHeight, static_cast<int>(i) * 10 + frame);
    }
    return asset;
}

SprBuilder& SprBuilder::Frame(int width, int height)
{
    m_frames.push_back({0, 1, width, height});
    return *this;
}

SprBuilder& SprBuilder::Group(int count, int width, int height)
{
    m_frames.push_back({1, count, width, height});
    return *this;
}

SprBuilder& SprBuilder::Angled(int width, int height)
{
    m_frames.push_back({2, 8, width, height});
    return *this;
}

BuiltAsset SprBuilder::Build() const
{
    BuiltAsset asset;
    asset.bytes = "IDSP";
    AppendField(asset, "version", 1);
    AppendI32(asset.bytes, 2);  // type: facing upright
    AppendFloat(asset.bytes);   // radius
    int width = 0;
    int height = 0;
    for (const CFrame& frame : m_frames) {
        width = std::max(width, frame.nWidth);
        height = std::max(height, frame.nHeight);
    }
    AppendI32(asset.bytes, width);
    AppendI32(asset.bytes, height);
    AppendField(asset, "frame count", static_cast<std::int32_t>(m_frames.size()));
    AppendFloat(asset.bytes);   // beam length
    AppendI32(asset.bytes, 0);  // sync type
    for (std::size_t i = 0; i < m_frames.size(); ++i) {
        const CFrame& frame = m_frames[i];
        const std::string prefix = "frame " + std::to_string(i);
        AppendField(asset, prefix + " type", frame.nType);
        if (frame.nType != 0) {
            AppendField(asset, prefix + " count", frame.nCount);
            for (int n = 0; n < frame.nCount; ++n) AppendFloat(asset.bytes);
        }
        for (int n = 0; n < frame.nCount; ++n) {
            const std::string picture = frame.nType == 0 ? prefix : prefix + "." + std::to_string(n);
            AppendI32(asset.bytes, -frame.nWidth / 2);
            AppendI32(asset.bytes, frame.nHeight / 2);
            AppendField(asset, picture + " width", frame.nWidth);
            AppendField(asset, picture + " height", frame.nHeight);
            asset.bytes += PatternPixels(frame.nWidth, frame.nHeight, static_cast<int>(i) * 10 + n);
        }
    }
    return asset;
}

std::string ForeignHeader(std::string_view variant)
{
    std::string bytes;
    if (variant == "bsp30") {
        AppendI32(bytes, 30);
        bytes += std::string(15 * 8, '\0');
    } else if (variant == "wad3") {
        bytes = "WAD3";
        AppendI32(bytes, 0);
        AppendI32(bytes, 12);
    } else if (variant == "spr2" || variant == "spr32") {
        bytes = "IDSP";
        AppendI32(bytes, variant == "spr2" ? 2 : 32);
        bytes += std::string(32, '\0');
    } else if (variant == "hlmdl") {
        bytes = "IDST";
        AppendI32(bytes, 10);
        bytes += std::string(64, '\0');
    } else {
        throw std::runtime_error("no variant named " + std::string(variant));
    }
    return bytes;
}

}  // namespace vantor::test
