// Which copy of every file a game loads, for both engine families, as
// golden tables over one game folder built here: numbering gaps, an empty
// pak, pak10 beside pak2, loose files beside paks, case twins, a name twice
// in one pak, a mod over id1, an oversized and a damaged pak.
#include "game_layers.h"
#include "pak_builder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vantor;
using namespace vantor::test;

namespace {

class GameLayers : public ::testing::Test {
protected:
    void SetUp() override
    {
        Pak("id1/pak0.pak", PakBuilder().File("progs.dat", "0").File("maps/e1m1.bsp", "a").File("gfx.wad", "w"));
        Pak("id1/pak1.pak", PakBuilder().File("progs.dat", "1").File("maps/e1m1.bsp", "b"));
        Pak("id1/pak3.pak", PakBuilder().File("progs.dat", "3"));
        Loose("id1/progs.dat");
        Loose("id1/maps/E1M1.bsp");
        Pak("mod/pak0.pak", PakBuilder().File("progs.dat", "m").File("dup.txt", "1").File("dup.txt", "2"));
        Pak("mod/pak2.pak", PakBuilder().File("x.cfg", "2"));
        Pak("mod/pak10.pak", PakBuilder().File("x.cfg", "10"));
        Pak("mod/empty.pak", PakBuilder());
        Loose("mod/x.cfg");
    }
    void Pak(const std::string& path, const PakBuilder& pak)
    {
        std::filesystem::create_directories(std::filesystem::path(m_dir / path).parent_path());
        pak.WriteTo(m_dir / path);
    }
    void Loose(const std::string& path)
    {
        std::filesystem::create_directories(std::filesystem::path(m_dir / path).parent_path());
        WriteFileBytes(m_dir / path, "loose");
    }
    // The view as text, paths below the base: the layers winner first, then
    // each file with its copies (pak#record, or the folder for a loose
    // file), then the warnings.
    std::string Render(const CGameView& view) const
    {
        const auto shown = [&](const std::string& path) { return path.substr(m_dir.Path().size() + 1); };
        std::string text = "layers:";
        for (const CGameLayer& layer : view.layers)
            text += " " + shown(layer.diskPath);
        text += "\n";
        for (const CGameFile& file : view.files) {
            text += file.path + ":";
            for (const CGameCopy& copy : file.copies) {
                text += " " + shown(view.layers[copy.nLayer].diskPath);
                if (copy.nRecord >= 0)
                    text += "#" + std::to_string(copy.nRecord);
            }
            text += "\n";
        }
        for (const CGameWarning& warning : view.warnings)
            text += std::string(GameWarningName(warning.kind)) + " " + (warning.where == m_dir.Path() ? "." : shown(warning.where)) +
                    ": " + warning.detail + "\n";
        return text;
    }
    std::string Resolve(GameProfile profile, const std::vector<std::string>& folders = {"id1", "mod"})
    {
        CGameView view;
        EXPECT_TRUE(m_resolver.Resolve(m_dir.Path(), folders, profile, view));
        return Render(view);
    }

    TempDir m_dir;
    CGameResolver m_resolver;
};

TEST_F(GameLayers, ClassicEnginesLoadNumberedPaksOverLooseFiles)
{
    EXPECT_EQ(Resolve(GameProfile::classic),
              "layers: mod/pak0.pak mod id1/pak1.pak id1/pak0.pak id1\n"
              "dup.txt: mod/pak0.pak#1 mod/pak0.pak#2\n"
              "gfx.wad: id1/pak0.pak#2\n"
              "maps/E1M1.bsp: id1\n"
              "maps/e1m1.bsp: id1/pak1.pak#1 id1/pak0.pak#1\n"
              "progs.dat: mod/pak0.pak#0 id1/pak1.pak#0 id1/pak0.pak#0 id1\n"
              "x.cfg: mod\n"
              "numbering-gap id1/pak3.pak: pak2.pak is missing\n"
              "not-loaded mod/empty.pak: only pak0.pak, pak1.pak … are loaded\n"
              "numbering-gap mod/pak10.pak: pak1.pak is missing\n"
              "numbering-gap mod/pak2.pak: pak1.pak is missing\n"
              "duplicate-in-pak mod/pak0.pak: dup.txt\n"
              "case-twins .: maps/E1M1.bsp, maps/e1m1.bsp\n");
}

TEST_F(GameLayers, DarkPlacesLoadsEveryPakByNameUnderLooseFiles)
{
    EXPECT_EQ(Resolve(GameProfile::darkplaces),
              "layers: mod mod/pak2.pak mod/pak10.pak mod/pak0.pak mod/empty.pak id1 id1/pak3.pak id1/pak1.pak "
              "id1/pak0.pak\n"
              "dup.txt: mod/pak0.pak#1 mod/pak0.pak#2\n"
              "gfx.wad: id1/pak0.pak#2\n"
              "maps/E1M1.bsp: id1\n"
              "maps/e1m1.bsp: id1/pak1.pak#1 id1/pak0.pak#1\n"
              "progs.dat: mod/pak0.pak#0 id1 id1/pak3.pak#0 id1/pak1.pak#0 id1/pak0.pak#0\n"
              "x.cfg: mod mod/pak2.pak#0 mod/pak10.pak#0\n"
              "duplicate-in-pak mod/pak0.pak: dup.txt\n"
              "case-twins .: maps/E1M1.bsp, maps/e1m1.bsp\n");
    // id1 alone, and a mod folder that does not exist, add only what is there.
    EXPECT_EQ(Resolve(GameProfile::darkplaces, {"id1", "nosuchmod"}).substr(0, 46),
              "layers: id1 id1/pak3.pak id1/pak1.pak id1/pak0");
}

TEST_F(GameLayers, OversizedAndDamagedPaksAreSaidAndSkippedWhereTheEngineWould)
{
    PakBuilder big;
    for (std::size_t i = 0; i <= kClassicMaxPakEntries; ++i)
        big.File("f" + std::to_string(i), "");
    Pak("big/pak0.pak", big);
    Pak("big/pak1.pak", PakBuilder());
    WriteFileBytes(m_dir / "big/pak1.pak", "not a pak at all");
    const std::string classic = Resolve(GameProfile::classic, {"big"});
    EXPECT_EQ(classic.substr(0, classic.find('\n')), "layers: big");
    EXPECT_NE(classic.find("too-many-entries big/pak0.pak: 2049 entries; the classic engines stop at 2048\n"), std::string::npos);
    EXPECT_NE(classic.find("unreadable-pak big/pak1.pak: not a pak"), std::string::npos);
    const std::string dp = Resolve(GameProfile::darkplaces, {"big"});
    EXPECT_EQ(dp.substr(0, dp.find('\n')), "layers: big big/pak0.pak");
}

TEST_F(GameLayers, AChangedPakIsReadAgainAndOthersAreNot)
{
    EXPECT_NE(Resolve(GameProfile::classic).find("progs.dat: mod/pak0.pak#0"), std::string::npos);
    Pak("mod/pak0.pak", PakBuilder().File("other.dat", "o"));
    const std::string after = Resolve(GameProfile::classic);
    EXPECT_NE(after.find("progs.dat: id1/pak1.pak#0"), std::string::npos);
    EXPECT_NE(after.find("other.dat: mod/pak0.pak#0"), std::string::npos);

    CGameView view;
    EXPECT_FALSE(m_resolver.Resolve(m_dir / "id1/progs.dat", {"id1"}, GameProfile::classic, view));
    EXPECT_TRUE(view.files.empty());
}

}  // namespace
