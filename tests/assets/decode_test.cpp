// The decoders on files the tests write: each format decoded whole, cut
// short at every byte, and with each size field lying; other engines'
// variants named and never decoded.
#include "asset_builder.h"
#include "asset_decode.h"

#include <gtest/gtest.h>

#include <functional>
#include <span>

using namespace vantor;
using namespace vantor::test;

namespace {

CAssetDecode Decode(std::string_view name, const std::string& bytes)
{
    return DecodeAsset(name, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// What one decoded picture must be; seed -1 skips the pixel comparison.
struct ExpectedImage {
    std::string name;
    int nWidth = 0;
    int nHeight = 0;
    int nTransparent = -1;
    int nSeed = -1;
    std::string group = {};
    int nFrame = -1;
    bool bSky = false;
};

struct ValidCase {
    const char* label;
    const char* entry;
    std::function<std::string()> build;
    const char* formatName;
    bool bContainer;
    std::vector<ExpectedImage> images;
};

std::string SpriteFile()
{
    return SprBuilder().Frame(8, 4).Group(2, 4, 4).Angled(2, 2).Build().bytes;
}

const std::vector<ValidCase>& ValidCases()
{
    static const std::vector<ValidCase> cases = {
        {"qpic", "gfx/qplaque.lmp", [] { return BuildQpic(32, 24).bytes; }, "Quake picture (qpic)", false,
         {{"", 32, 24, 255, 0}}},
        {"palette", "gfx/palette.lmp", [] { return BuildPalette().bytes; }, "Quake palette", false,
         {{"", 16, 16, -1, -1}}},
        {"colormap", "gfx/colormap.lmp", [] { return BuildColormap(4).bytes; }, "Quake colour map", false,
         {{"", 256, 4, -1, 3}}},
        {"conchars_extracted", "gfx/conchars.lmp", [] { return BuildConchars().bytes; }, "Console characters",
         false, {{"", 128, 128, 0, 5}}},
        {"wad2", "gfx.wad",
         [] {
             return WadBuilder()
                 .Lump("palette", WadBuilder::kPalette, BuildPalette().bytes)
                 .Lump("CONCHARS", WadBuilder::kMiptex, BuildConchars().bytes)
                 .Qpic("num_0", 24, 24)
                 .Lump("sound", WadBuilder::kSound, "not a picture")
                 .Miptex("+1slime", 16, 32)
                 .Build()
                 .bytes;
         },
         "WAD2 texture file", true,
         {{"palette", 16, 16, -1, -1},
          {"CONCHARS", 128, 128, 0, 5},
          {"num_0", 24, 24, 255, 2},
          {"+1slime", 16, 32, -1, 4, "slime", 1}}},
        {"bsp29", "maps/e1m1.bsp",
         [] {
             return BspBuilder()
                 .Texture("+0lava", 16, 16)
                 .Texture("+Alava", 16, 16)
                 .Missing()
                 .Texture("sky4", 32, 16)
                 .Texture("{grate", 16, 16)
                 .Texture("wall", 64, 32)
                 .Build()
                 .bytes;
         },
         "Quake map (BSP 29)", true,
         {{"+0lava", 16, 16, -1, 0, "lava", 0},
          {"+Alava", 16, 16, -1, 1, "lava (alternate)", 0},
          {"texture 2", 0, 0, -1, -1},
          {"sky4", 32, 16, -1, 3, "", -1, true},
          {"{grate", 16, 16, 255, 4},
          {"wall", 64, 32, -1, 5}}},
        {"bsp2", "maps/big.bsp", [] { return BspBuilder().Texture("metal", 16, 16).Build("BSP2").bytes; },
         "Quake map (BSP2)", true, {{"metal", 16, 16, -1, 0}}},
        {"bsp_without_textures", "maps/bare.bsp", [] { return BspBuilder().Build().bytes; }, "Quake map (BSP 29)",
         true, {}},
        {"mdl_skins", "progs/player.mdl", [] { return MdlBuilder(12, 8).Skin().SkinGroup(2).Build().bytes; },
         "Quake model (MDL)", true,
         {{"skin 0", 12, 8, -1, 0}, {"skin 1, frame 0", 12, 8, -1, 10, "skin 1", 0},
          {"skin 1, frame 1", 12, 8, -1, 11, "skin 1", 1}}},
        {"spr_frames", "progs/s_light.spr", SpriteFile, "Quake sprite (SPR)", true,
         [] {
             std::vector<ExpectedImage> images = {{"frame 0", 8, 4, 255, 0},
                                                  {"frame 1, picture 0", 4, 4, 255, 10, "frame 1", 0},
                                                  {"frame 1, picture 1", 4, 4, 255, 11, "frame 1", 1}};
             for (int angle = 0; angle < 8; ++angle)
                 images.push_back({"frame 2, angle " + std::to_string(angle), 2, 2, 255, 20 + angle});
             return images;
         }()},
    };
    return cases;
}

void PrintTo(const ValidCase& row, std::ostream* out) { *out << row.label; }

class ValidFile : public ::testing::TestWithParam<ValidCase> {};

TEST_P(ValidFile, DecodesEveryPictureWithItsIndices)
{
    const ValidCase& row = GetParam();
    const CAssetDecode decode = Decode(row.entry, row.build());
    ASSERT_TRUE(decode.bRecognised);
    EXPECT_EQ(decode.formatName, row.formatName);
    EXPECT_EQ(decode.bContainer, row.bContainer);
    EXPECT_FALSE(decode.bNotQuake1);
    ASSERT_TRUE(decode.IsOk()) << decode.reason;
    ASSERT_EQ(decode.images.size(), row.images.size());
    for (std::size_t i = 0; i < row.images.size(); ++i) {
        const ExpectedImage& want = row.images[i];
        const CIndexedImage& got = decode.images[i];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(got.name, want.name);
        if (want.nWidth == 0) {
            EXPECT_EQ(got.fault, AssetFault::missing);
            continue;
        }
        EXPECT_TRUE(got.IsOk()) << got.reason;
        EXPECT_EQ(got.nWidth, want.nWidth);
        EXPECT_EQ(got.nHeight, want.nHeight);
        EXPECT_EQ(got.nTransparentIndex, want.nTransparent);
        EXPECT_EQ(got.animationGroup, want.group);
        EXPECT_EQ(got.nAnimationFrame, want.nFrame);
        EXPECT_EQ(got.bSky, want.bSky);
        if (want.nSeed >= 0) {
            EXPECT_EQ(std::string(got.pixels.begin(), got.pixels.end()),
                      PatternPixels(want.nWidth, want.nHeight, want.nSeed));
        }
    }
}

// Whether a decode holds every picture of the whole file, unharmed.
bool IsComplete(const CAssetDecode& decode, const CAssetDecode& whole)
{
    if (!decode.IsOk() || decode.images.size() != whole.images.size())
        return false;
    for (std::size_t i = 0; i < decode.images.size(); ++i)
        if (decode.images[i].fault != whole.images[i].fault ||
            decode.images[i].nWidth != whole.images[i].nWidth ||
            decode.images[i].nHeight != whole.images[i].nHeight)
            return false;
    return true;
}

TEST_P(ValidFile, RefusesTheFileCutShortAtEveryByte)
{
    const ValidCase& row = GetParam();
    const std::string bytes = row.build();
    const CAssetDecode whole = Decode(row.entry, bytes);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const CAssetDecode cut = Decode(row.entry, bytes.substr(0, length));
        ASSERT_FALSE(IsComplete(cut, whole)) << "cut to " << length << " bytes";
        if (!cut.IsOk()) {
            ASSERT_FALSE(cut.reason.empty());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Assets, ValidFile, ::testing::ValuesIn(ValidCases()),
                         [](const auto& info) { return std::string(info.param.label); });

// A file with one size field lying: the whole entry refused, or its first
// failing picture, with the named fault.
struct LyingCase {
    const char* label;
    const char* entry;
    std::function<std::string()> build;
    AssetFault fault;
    bool bWholeEntry;
};

std::string Forged(BuiltAsset asset, std::initializer_list<std::pair<const char*, std::int32_t>> changes)
{
    for (const auto& [field, value] : changes)
        asset.Put(field, value);
    return asset.bytes;
}

BuiltAsset SampleWad()
{
    return WadBuilder().Qpic("pic", 8, 8).Miptex("tex", 16, 16).Build();
}

BuiltAsset SampleBsp()
{
    return BspBuilder().Texture("wall", 16, 16).Build();
}

BuiltAsset SampleMdl()
{
    return MdlBuilder(8, 8).Skin().SkinGroup(2).Build();
}

BuiltAsset SampleSpr()
{
    return SprBuilder().Frame(8, 8).Group(2, 4, 4).Build();
}

// Many records naming the same big picture.
std::string SharedWad()
{
    WadBuilder wad;
    for (int i = 0; i < 8; ++i)
        wad.Qpic("tiny" + std::to_string(i), 1, 1);
    wad.Qpic("big", 64, 64);
    BuiltAsset asset = wad.Build();
    for (int i = 0; i < 8; ++i) {
        asset.Put("lump " + std::to_string(i) + " position", asset.Get("lump 8 position"));
        asset.Put("lump " + std::to_string(i) + " size", asset.Get("lump 8 size"));
    }
    return asset.bytes;
}

std::string SharedBsp()
{
    BspBuilder bsp;
    bsp.Texture("big", 64, 64);
    for (int i = 0; i < 11; ++i) bsp.Missing();
    BuiltAsset asset = bsp.Build();
    for (int i = 1; i < 12; ++i)
        asset.Put("texture " + std::to_string(i) + " offset", asset.Get("texture 0 offset"));
    return asset.bytes;
}

const std::vector<LyingCase>& LyingCases()
{
    using F = AssetFault;
    static const std::vector<LyingCase> cases = {
        {"qpic_width_negative", "a.lmp", [] { return Forged(BuildQpic(8, 8), {{"width", -8}}); }, F::negativeSize,
         true},
        {"qpic_height_zero", "a.lmp", [] { return Forged(BuildQpic(8, 8), {{"height", 0}}); }, F::empty, true},
        {"qpic_width_over_max_side", "a.lmp", [] { return Forged(BuildQpic(8, 8), {{"width", 1 << 20}}); },
         F::sizeOverflow, true},
        {"qpic_area_overflows_32_bits", "a.lmp",
         [] { return Forged(BuildQpic(8, 8), {{"width", 65536}, {"height", 65536}}); }, F::sizeOverflow, true},
        {"qpic_height_past_end", "a.lmp", [] { return Forged(BuildQpic(8, 8), {{"height", 9}}); }, F::truncated, true},
        {"qpic_height_short_of_end", "a.lmp", [] { return Forged(BuildQpic(8, 8), {{"height", 7}}); }, F::sizeMismatch,
         true},
        {"palette_long", "gfx/palette.lmp", [] { return BuildPalette().bytes + "x"; }, F::sizeMismatch, true},
        {"colormap_without_last_byte", "gfx/colormap.lmp", [] { return BuildColormap(2).bytes.substr(0, 512); },
         F::sizeMismatch, true},
        {"wad_lump_count_negative", "x.wad", [] { return Forged(SampleWad(), {{"lump count", -1}}); }, F::negativeSize,
         true},
        {"wad_lump_count_past_table", "x.wad", [] { return Forged(SampleWad(), {{"lump count", 3}}); },
         F::countTooLarge, true},
        {"wad_table_outside", "x.wad", [] { return Forged(SampleWad(), {{"table at", 1 << 30}}); }, F::offsetOutside,
         true},
        {"wad_table_negative", "x.wad", [] { return Forged(SampleWad(), {{"table at", -4}}); }, F::offsetOutside, true},
        {"wad_lump_position_outside", "x.wad", [] { return Forged(SampleWad(), {{"lump 0 position", 1 << 30}}); },
         F::offsetOutside, false},
        {"wad_lump_size_negative", "x.wad", [] { return Forged(SampleWad(), {{"lump 0 size", -1}}); }, F::negativeSize,
         false},
        {"wad_lump_size_past_end", "x.wad", [] { return Forged(SampleWad(), {{"lump 0 size", 1 << 20}}); },
         F::offsetOutside, false},
        {"wad_lump_compressed", "x.wad",
         [] {
             BuiltAsset wad = SampleWad();
             wad.bytes[wad.fields.at("lump 0 compression")] = 1;
             return wad.bytes;
         },
         F::unsupported, false},
        {"wad_qpic_width_past_lump", "x.wad",
         [] {
             BuiltAsset wad = SampleWad();
             wad.Put("lump 0 size", wad.Get("lump 0 size") - 1);
             return wad.bytes;
         },
         F::truncated, false},
        {"wad_miptex_width_unaligned", "x.wad", [] { return Forged(SampleWad(), {{"lump 1 width", 17}}); },
         F::badAlignment, false},
        {"wad_miptex_pixels_outside", "x.wad", [] { return Forged(SampleWad(), {{"lump 1 pixels at", 1 << 20}}); },
         F::offsetOutside, false},
        {"wad_conchars_short", "gfx.wad",
         [] { return WadBuilder().Lump("conchars", 0x44, std::string(16383, 'c')).Build().bytes; }, F::truncated,
         false},
        {"wad_lumps_sharing_bytes", "x.wad", SharedWad, F::tooMuchData, false},
        {"bsp_texture_lump_negative", "m.bsp", [] { return Forged(SampleBsp(), {{"texture lump length", -1}}); },
         F::negativeSize, true},
        {"bsp_texture_lump_past_end", "m.bsp", [] { return Forged(SampleBsp(), {{"texture lump at", 1 << 24}}); },
         F::offsetOutside, true},
        {"bsp_texture_count_negative", "m.bsp", [] { return Forged(SampleBsp(), {{"texture count", -1}}); },
         F::negativeSize, true},
        {"bsp_texture_count_past_lump", "m.bsp", [] { return Forged(SampleBsp(), {{"texture count", 1 << 28}}); },
         F::countTooLarge, true},
        {"bsp_texture_offset_outside", "m.bsp", [] { return Forged(SampleBsp(), {{"texture 0 offset", 1 << 20}}); },
         F::offsetOutside, false},
        {"bsp_texture_offset_negative", "m.bsp", [] { return Forged(SampleBsp(), {{"texture 0 offset", -2}}); },
         F::offsetOutside, false},
        {"bsp_texture_missing", "m.bsp", [] { return BspBuilder().Missing().Build().bytes; }, F::missing, false},
        {"bsp_texture_width_negative", "m.bsp", [] { return Forged(SampleBsp(), {{"texture 0 width", -16}}); },
         F::negativeSize, false},
        {"bsp_texture_height_unaligned", "m.bsp", [] { return Forged(SampleBsp(), {{"texture 0 height", 24}}); },
         F::badAlignment, false},
        {"bsp_texture_width_over_max_side", "m.bsp", [] { return Forged(SampleBsp(), {{"texture 0 width", 1 << 16}}); },
         F::sizeOverflow, false},
        {"bsp_texture_pixels_outside", "m.bsp", [] { return Forged(SampleBsp(), {{"texture 0 pixels at", 1 << 20}}); },
         F::offsetOutside, false},
        {"bsp_texture_pixels_in_a_wad", "m.bsp", [] { return Forged(SampleBsp(), {{"texture 0 pixels at", 0}}); },
         F::unsupported, false},
        {"bsp_texture_pixels_past_lump", "m.bsp", [] { return Forged(SampleBsp(), {{"texture 0 height", 512}}); },
         F::truncated, false},
        {"bsp_textures_sharing_bytes", "m.bsp", SharedBsp, F::tooMuchData, false},
        {"mdl_version", "p.mdl", [] { return Forged(SampleMdl(), {{"version", 7}}); }, F::unsupported, true},
        {"mdl_skin_count_negative", "p.mdl", [] { return Forged(SampleMdl(), {{"skin count", -1}}); }, F::negativeSize,
         true},
        {"mdl_skin_count_past_end", "p.mdl", [] { return Forged(SampleMdl(), {{"skin count", 4}}); }, F::countTooLarge,
         true},
        {"mdl_skin_width_negative", "p.mdl", [] { return Forged(SampleMdl(), {{"skin width", -8}}); }, F::negativeSize,
         true},
        {"mdl_skin_height_zero", "p.mdl", [] { return Forged(SampleMdl(), {{"skin height", 0}}); }, F::empty, true},
        {"mdl_skin_over_max_side", "p.mdl", [] { return Forged(SampleMdl(), {{"skin width", 40000}}); },
         F::sizeOverflow, true},
        {"mdl_skin_area_past_end", "p.mdl",
         [] { return Forged(SampleMdl(), {{"skin width", 16384}, {"skin height", 16384}}); }, F::countTooLarge,
         true},
        {"mdl_skin_type_unknown", "p.mdl", [] { return Forged(SampleMdl(), {{"skin 1 type", 5}}); }, F::unsupported,
         false},
        {"mdl_skin_group_negative", "p.mdl", [] { return Forged(SampleMdl(), {{"skin 1 count", -2}}); },
         F::negativeSize, false},
        {"mdl_skin_group_empty", "p.mdl", [] { return Forged(SampleMdl(), {{"skin 1 count", 0}}); }, F::empty, false},
        {"mdl_skin_group_past_end", "p.mdl", [] { return Forged(SampleMdl(), {{"skin 1 count", 3}}); },
         F::countTooLarge, false},
        {"spr_version", "s.spr", [] { return Forged(SampleSpr(), {{"version", 3}}); }, F::unsupported, true},
        {"spr_frame_count_negative", "s.spr", [] { return Forged(SampleSpr(), {{"frame count", -1}}); },
         F::negativeSize, true},
        {"spr_frame_count_past_end", "s.spr", [] { return Forged(SampleSpr(), {{"frame count", 1 << 20}}); },
         F::countTooLarge, true},
        {"spr_frame_type_unknown", "s.spr", [] { return Forged(SampleSpr(), {{"frame 0 type", 9}}); }, F::unsupported,
         false},
        {"spr_frame_width_negative", "s.spr", [] { return Forged(SampleSpr(), {{"frame 0 width", -1}}); },
         F::negativeSize, false},
        {"spr_frame_over_max_side", "s.spr", [] { return Forged(SampleSpr(), {{"frame 0 height", 1 << 24}}); },
         F::sizeOverflow, false},
        {"spr_frame_height_past_end", "s.spr", [] { return Forged(SampleSpr(), {{"frame 0 height", 100}}); },
         F::truncated, false},
        {"spr_group_negative", "s.spr", [] { return Forged(SampleSpr(), {{"frame 1 count", -1}}); }, F::negativeSize,
         false},
        {"spr_group_empty", "s.spr", [] { return Forged(SampleSpr(), {{"frame 1 count", 0}}); }, F::empty, false},
        {"spr_group_past_end", "s.spr", [] { return Forged(SampleSpr(), {{"frame 1 count", 1000}}); }, F::countTooLarge,
         false},
        {"spr_group_picture_past_end", "s.spr", [] { return Forged(SampleSpr(), {{"frame 1.1 width", 64}}); },
         F::truncated, false},
    };
    return cases;
}

void PrintTo(const LyingCase& row, std::ostream* out) { *out << row.label; }

class LyingSize : public ::testing::TestWithParam<LyingCase> {};

TEST_P(LyingSize, IsRefusedWithItsNamedFault)
{
    const LyingCase& row = GetParam();
    const CAssetDecode decode = Decode(row.entry, row.build());
    ASSERT_TRUE(decode.bRecognised);
    if (row.bWholeEntry) {
        EXPECT_EQ(AssetFaultName(decode.fault), std::string(AssetFaultName(row.fault))) << decode.reason;
        EXPECT_FALSE(decode.reason.empty());
        EXPECT_TRUE(decode.images.empty());
        return;
    }
    ASSERT_TRUE(decode.IsOk()) << decode.reason;
    const auto failed = std::find_if(decode.images.begin(), decode.images.end(),
                                     [](const CIndexedImage& image) { return !image.IsOk(); });
    ASSERT_NE(failed, decode.images.end());
    EXPECT_EQ(AssetFaultName(failed->fault), std::string(AssetFaultName(row.fault))) << failed->reason;
    EXPECT_FALSE(failed->reason.empty());
    EXPECT_TRUE(failed->pixels.empty());
}

INSTANTIATE_TEST_SUITE_P(Assets, LyingSize, ::testing::ValuesIn(LyingCases()),
                         [](const auto& info) { return std::string(info.param.label); });

// Recognition by name and magic number, other engines' variants included.
struct RecognitionCase {
    const char* label;
    const char* entry;
    std::function<std::string()> build;
    bool bRecognised;
    const char* formatName;
    AssetFault fault;
};

const std::vector<RecognitionCase>& RecognitionCases()
{
    using F = AssetFault;
    static const std::vector<RecognitionCase> cases = {
        {"bsp30", "maps/c1a0.bsp", [] { return ForeignHeader("bsp30"); }, true, "Half-Life map (BSP 30)",
         F::notQuake1},
        {"wad3", "halflife.wad", [] { return ForeignHeader("wad3"); }, true, "Half-Life texture file (WAD3)",
         F::notQuake1},
        {"spr_version_2", "sprites/glow.spr", [] { return ForeignHeader("spr2"); }, true,
         "Half-Life sprite (SPR version 2)", F::notQuake1},
        {"spr32", "progs/flame.spr", [] { return ForeignHeader("spr32"); }, true, "32-bit sprite (SPR32)",
         F::notQuake1},
        {"half_life_model", "models/scientist.mdl", [] { return ForeignHeader("hlmdl"); }, true,
         "Half-Life model (MDL)", F::notQuake1},
        {"model_under_any_name", "progs/player.bin", [] { return MdlBuilder(8, 8).Skin().Build().bytes; }, true,
         "Quake model (MDL)", F::none},
        {"bsp_of_unknown_version", "maps/x.bsp", [] { return std::string("\x20\0\0\0", 4) + "xxxx"; }, true,
         "Quake map (BSP)", F::unsupported},
        {"empty_mdl", "progs/x.mdl", [] { return std::string(); }, true, "Quake model (MDL)", F::truncated},
        {"text", "autoexec.cfg", [] { return std::string("bind w +forward\n"); }, false, "", F::none},
        {"version_29_without_map_name", "data.bin", [] { return BspBuilder().Build().bytes; }, false, "", F::none},
    };
    return cases;
}

void PrintTo(const RecognitionCase& row, std::ostream* out) { *out << row.label; }

class Recognition : public ::testing::TestWithParam<RecognitionCase> {};

TEST_P(Recognition, NamesTheFormat)
{
    const RecognitionCase& row = GetParam();
    const CAssetDecode decode = Decode(row.entry, row.build());
    EXPECT_EQ(decode.bRecognised, row.bRecognised);
    EXPECT_EQ(decode.formatName, row.formatName);
    EXPECT_EQ(AssetFaultName(decode.fault), std::string(AssetFaultName(row.fault))) << decode.reason;
    EXPECT_EQ(decode.bNotQuake1, row.fault == AssetFault::notQuake1);
    if (row.fault == AssetFault::notQuake1) {
        EXPECT_TRUE(decode.images.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Assets, Recognition, ::testing::ValuesIn(RecognitionCases()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(AssetLimits, ListsNoMoreThanTheLimitAndCountsTheRest)
{
    BspBuilder bsp;
    for (std::size_t i = 0; i < kMaxImagesListed + 5; ++i) bsp.Missing();
    const CAssetDecode decode = Decode("maps/many.bsp", bsp.Build().bytes);
    ASSERT_TRUE(decode.IsOk()) << decode.reason;
    EXPECT_EQ(decode.images.size(), kMaxImagesListed);
    EXPECT_EQ(decode.nLeftOut, 5u);
}

TEST(PaletteEntry, CarriesItsColours)
{
    const std::string bytes = BuildPalette().bytes;
    const CAssetDecode decode = Decode("gfx/palette.lmp", bytes);
    ASSERT_TRUE(decode.palette.has_value());
    EXPECT_EQ(std::string(decode.palette->rgb.begin(), decode.palette->rgb.end()), bytes);
}

}  // namespace
