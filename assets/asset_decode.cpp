// Recognising an entry's format from its name and magic number, and
// handing it to that format's decoder.
#include "asset_decode.h"

#include "asset_format.h"
#include "asset_readers.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace vantor {

namespace fmt = assetformat;

const char* AssetFaultName(AssetFault fault)
{
    switch (fault) {
    case AssetFault::none: return "none";
    case AssetFault::truncated: return "truncated";
    case AssetFault::sizeMismatch: return "size-mismatch";
    case AssetFault::negativeSize: return "negative-size";
    case AssetFault::empty: return "empty";
    case AssetFault::sizeOverflow: return "size-overflow";
    case AssetFault::offsetOutside: return "offset-outside";
    case AssetFault::countTooLarge: return "count-too-large";
    case AssetFault::badAlignment: return "bad-alignment";
    case AssetFault::unsupported: return "unsupported";
    case AssetFault::notQuake1: return "not-quake1";
    case AssetFault::missing: return "missing";
    case AssetFault::tooMuchData: return "too-much-data";
    case AssetFault::tooBig: return "too-big";
    }
    return "unknown";
}

namespace {

enum class Kind {
    none,
    qpic,
    palette,
    colormap,
    conchars,
    wad,
    bsp,
    model,
    sprite,
    foreign,     // another engine's variant: named only
    badVersion,  // our magic number, a version no Quake 1 engine reads
};

struct CRecognised {
    Kind kind = Kind::none;
    const char* formatName = "";
};

std::string LowerLeaf(std::string_view name)
{
    const auto slash = name.find_last_of("/\\");
    std::string leaf(slash == std::string_view::npos ? name : name.substr(slash + 1));
    std::transform(leaf.begin(), leaf.end(), leaf.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return leaf;
}

bool EndsWith(const std::string& text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool HasMagic(std::span<const std::uint8_t> bytes, const char* magic)
{
    return bytes.size() >= 4 && std::memcmp(bytes.data(), magic, 4) == 0;
}

std::int32_t VersionAfterMagic(std::span<const std::uint8_t> bytes)
{
    CByteReader reader(bytes, 4);
    return reader.ReadI32();
}

CRecognised Recognise(const std::string& leaf, std::span<const std::uint8_t> bytes)
{
    if (HasMagic(bytes, "IDPO")) {
        if (VersionAfterMagic(bytes) == fmt::kMdlVersion) return {Kind::model, "Quake model (MDL)"};
        return {Kind::badVersion, "Quake model (MDL)"};
    }
    if (HasMagic(bytes, "IDST") || HasMagic(bytes, "IDSQ"))
        return {Kind::foreign, "Half-Life model (MDL)"};
    if (HasMagic(bytes, "IDSP")) {
        switch (VersionAfterMagic(bytes)) {
        case fmt::kSprVersion: return {Kind::sprite, "Quake sprite (SPR)"};
        case fmt::kSprHalfLifeVersion: return {Kind::foreign, "Half-Life sprite (SPR version 2)"};
        case fmt::kSpr32Version: return {Kind::foreign, "32-bit sprite (SPR32)"};
        default: return {Kind::badVersion, "Quake sprite (SPR)"};
        }
    }
    if (HasMagic(bytes, "WAD2")) return {Kind::wad, "WAD2 texture file"};
    if (HasMagic(bytes, "WAD3")) return {Kind::foreign, "Half-Life texture file (WAD3)"};
    if (HasMagic(bytes, "BSP2") || HasMagic(bytes, "2PSB")) return {Kind::bsp, "Quake map (BSP2)"};
    // BSP 29 has no magic, only a small version number: trusted under a
    // map's name only.
    if (EndsWith(leaf, ".bsp")) {
        CByteReader reader(bytes);
        const std::int32_t nVersion = reader.ReadI32();
        if (reader.Ok() && nVersion == fmt::kBsp29Version) return {Kind::bsp, "Quake map (BSP 29)"};
        if (reader.Ok() && nVersion == fmt::kBsp30Version) return {Kind::foreign, "Half-Life map (BSP 30)"};
        if (HasMagic(bytes, "IBSP")) return {Kind::foreign, "Quake II or III map (IBSP)"};
        return {Kind::badVersion, "Quake map (BSP)"};
    }
    if (leaf == "palette.lmp") return {Kind::palette, "Quake palette"};
    if (leaf == "colormap.lmp") return {Kind::colormap, "Quake colour map"};
    // conchars is a lump of gfx.wad; extracted it keeps its headerless form.
    if ((leaf == "conchars" || leaf == "conchars.lmp") && bytes.size() == fmt::kConcharsBytes)
        return {Kind::conchars, "Console characters"};
    if (EndsWith(leaf, ".lmp")) return {Kind::qpic, "Quake picture (qpic)"};
    if (EndsWith(leaf, ".wad")) return {Kind::badVersion, "WAD texture file"};
    if (EndsWith(leaf, ".mdl")) return {Kind::badVersion, "Quake model (MDL)"};
    if (EndsWith(leaf, ".spr")) return {Kind::badVersion, "Quake sprite (SPR)"};
    return {};
}

void AddLonePicture(CAssetDecode& decode, CIndexedImage image)
{
    if (!image.IsOk())
        Refuse(decode, image.fault, image.reason);
    else
        decode.images.push_back(std::move(image));
}

}  // namespace

bool IsAssetName(std::string_view name)
{
    const std::string leaf = LowerLeaf(name);
    for (const char* extension : {".lmp", ".wad", ".bsp", ".mdl", ".spr"})
        if (EndsWith(leaf, extension)) return true;
    return leaf == "conchars";
}

CAssetDecode DecodeAsset(std::string_view name, std::span<const std::uint8_t> bytes)
{
    CAssetDecode decode;
    const CRecognised recognised = Recognise(LowerLeaf(name), bytes);
    if (recognised.kind == Kind::none)
        return decode;
    decode.bRecognised = true;
    decode.formatName = recognised.formatName;
    decode.bContainer = recognised.kind == Kind::wad || recognised.kind == Kind::bsp ||
                        recognised.kind == Kind::model || recognised.kind == Kind::sprite;
    if (recognised.kind == Kind::foreign) {
        decode.bNotQuake1 = true;
        Refuse(decode, AssetFault::notQuake1, "It is not a Quake 1 format.");
        return decode;
    }
    if (recognised.kind == Kind::badVersion) {
        Refuse(decode, bytes.size() < 8 ? AssetFault::truncated : AssetFault::unsupported,
               bytes.size() < 8 ? "The file is too short for its magic number and version."
                                : "The file's magic number or version is not one a Quake 1 engine reads.");
        return decode;
    }
    if (bytes.size() > kMaxAssetBytes) {
        Refuse(decode, AssetFault::tooBig,
               "The file's " + std::to_string(bytes.size()) + " bytes are more than a preview decodes.");
        return decode;
    }
    CPixelBudget budget(kMaxDecodedFactor * bytes.size());
    switch (recognised.kind) {
    case Kind::qpic: AddLonePicture(decode, DecodeQpic(bytes, budget)); break;
    case Kind::conchars: AddLonePicture(decode, DecodeConchars(bytes, budget)); break;
    case Kind::colormap: AddLonePicture(decode, DecodeColormap(bytes, budget)); break;
    case Kind::palette: {
        CPalette palette;
        CIndexedImage image = DecodePalette(bytes, palette);
        if (image.IsOk()) decode.palette = palette;
        AddLonePicture(decode, std::move(image));
        break;
    }
    case Kind::wad: DecodeWad(bytes, decode, budget); break;
    case Kind::bsp: DecodeBspTextures(bytes, decode, budget); break;
    case Kind::model: DecodeModelSkins(bytes, decode, budget); break;
    case Kind::sprite: DecodeSpriteFrames(bytes, decode, budget); break;
    case Kind::none:
    case Kind::foreign:
    case Kind::badVersion: break;
    }
    return decode;
}

}  // namespace vantor
