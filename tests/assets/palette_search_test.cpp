// Where a picture's palette comes from: this pak, the other paks and loose
// files of its game folder in load order, id1, the user's file; built in a
// temporary game folder per row.
#include "asset_builder.h"
#include "pak_archive.h"
#include "pak_builder.h"
#include "palette_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace vantor;
using namespace vantor::test;

namespace {

// A palette whose first colour tells which copy was read.
std::string MarkedPalette(char mark)
{
    std::string bytes = BuildPalette().bytes;
    bytes[0] = mark;
    return bytes;
}

struct PlacedFile {
    std::string path;  // below the base folder
    char mark = 0;     // 0 for a pak without a palette
    std::size_t nLength = kPaletteBytes;
};

struct SearchCase {
    const char* label;
    std::vector<PlacedFile> files;
    std::string pak;              // the pak the picture is in, below the base
    bool bUserFile = false;       // a user palette marked 'u' exists
    bool bThroughOpenPak = false;
    GameProfile profile = GameProfile::classic;
    char expectedMark = 0;        // 0: none found
    std::string expectedSource;   // the description after "palette: ", or its start when none is found
};

const std::vector<SearchCase>& SearchCases()
{
    static const std::vector<SearchCase> cases = {
        {"this_pak_first", {{"mod/pak0.pak", 'a'}, {"id1/pak0.pak", 'i'}}, "mod/pak0.pak", true, false,
         GameProfile::classic, 'a', "mod/pak0.pak: gfx/palette.lmp"},
        {"this_pak_through_the_open_archive", {{"mod/pak0.pak", 'a'}}, "mod/pak0.pak", false, true,
         GameProfile::classic, 'a', "mod/pak0.pak: gfx/palette.lmp"},
        {"winning_pak_of_the_game_folder", {{"mod/pak0.pak", 'a'}, {"mod/pak1.pak"}, {"mod/pak2.pak", 'c'}},
         "mod/pak1.pak", false, false, GameProfile::classic, 'c', "mod/pak2.pak: gfx/palette.lmp"},
        {"pak_after_a_gap_is_not_loaded", {{"mod/pak0.pak", 'a'}, {"mod/pak1.pak"}, {"mod/pak3.pak", 'd'}},
         "mod/pak1.pak", false, false, GameProfile::classic, 'a', "mod/pak0.pak: gfx/palette.lmp"},
        {"darkplaces_loads_every_pak", {{"mod/pak0.pak", 'a'}, {"mod/pak1.pak"}, {"mod/zz.pak", 'z'}},
         "mod/pak1.pak", false, false, GameProfile::darkplaces, 'z', "mod/zz.pak: gfx/palette.lmp"},
        {"loose_file_of_the_game_folder", {{"mod/pak0.pak"}, {"mod/gfx/palette.lmp", 'l'}, {"id1/pak0.pak", 'i'}},
         "mod/pak0.pak", false, false, GameProfile::classic, 'l', "mod/gfx/palette.lmp"},
        {"id1_when_the_mod_has_none", {{"mod/pak0.pak"}, {"id1/pak0.pak", 'i'}, {"id1/pak1.pak", 'j'}},
         "mod/pak0.pak", true, false, GameProfile::classic, 'j', "id1/pak1.pak: gfx/palette.lmp"},
        {"short_copy_passed_over", {{"mod/pak0.pak", 'a', 767}, {"id1/pak0.pak", 'i'}}, "mod/pak0.pak", false,
         false, GameProfile::classic, 'i', "id1/pak0.pak: gfx/palette.lmp"},
        {"user_file_last", {{"mod/pak0.pak"}}, "mod/pak0.pak", true, false, GameProfile::classic, 'u',
         "(chosen in Options)"},
        {"none_found", {{"mod/pak0.pak"}, {"id1/pak0.pak"}}, "mod/pak0.pak", false, false, GameProfile::classic, 0,
         "No palette"},
    };
    return cases;
}

void PrintTo(const SearchCase& row, std::ostream* out) { *out << row.label; }

class PaletteSearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(PaletteSearch, TakesThePaletteTheGameWouldAndSaysWhere)
{
    const SearchCase& row = GetParam();
    TempDir base;
    for (const PlacedFile& file : row.files) {
        const std::string path = base / file.path;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        const std::string palette = MarkedPalette(file.mark).substr(0, file.nLength);
        if (path.ends_with(".lmp")) {
            WriteFileBytes(path, palette);
            continue;
        }
        PakBuilder pak;
        pak.File("gfx/other.lmp", "x");
        if (file.mark != 0) pak.File("gfx/palette.lmp", palette);
        pak.WriteTo(path);
    }
    CPaletteSearch search;
    search.pakPath = base / row.pak;
    search.profile = row.profile;
    if (row.bUserFile) {
        search.userPaletteFile = base / "chosen.lmp";
        WriteFileBytes(search.userPaletteFile, MarkedPalette('u'));
    }
    CPakArchive open;
    if (row.bThroughOpenPak) {
        ASSERT_TRUE(open.OpenPak(search.pakPath));
        search.pOpenPak = &open;
    }

    CPaletteSource source = FindPalette(search);
#ifdef _WIN32
    // Disk paths in the description keep Windows' own separator.
    std::replace(source.description.begin(), source.description.end(), '\\', '/');
#endif
    EXPECT_EQ(source.bFound, row.expectedMark != 0) << source.description;
    if (row.expectedMark == 0) {
        EXPECT_TRUE(source.description.starts_with(row.expectedSource)) << source.description;
        return;
    }
    EXPECT_EQ(static_cast<char>(source.palette.rgb[0]), row.expectedMark);
    EXPECT_TRUE(source.description.ends_with(row.expectedSource)) << source.description;
    EXPECT_TRUE(source.description.starts_with("palette: ")) << source.description;
}

INSTANTIATE_TEST_SUITE_P(Assets, PaletteSearch, ::testing::ValuesIn(SearchCases()),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
