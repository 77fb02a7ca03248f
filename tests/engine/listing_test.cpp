// Lookups and folder listings: the examples users rely on, and the name
// index checked against a plain scan of the directory on random paks.
#include "pak_archive.h"
#include "pak_names.h"
#include "pak_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace vantor;
using namespace vantor::test;

namespace {

class Listing : public ::testing::Test {
protected:
    void Open(const PakBuilder& builder)
    {
        builder.WriteTo(m_dir / "t.pak");
        ASSERT_TRUE(m_pak.OpenPak(m_dir / "t.pak")) << m_pak.GetErrorText();
    }
    StringArray Folder(std::string_view folder)
    {
        StringArray out;
        m_pak.ListFolder(folder, out);
        return out;
    }
    StringArray Files(std::string_view folder)
    {
        StringArray out;
        m_pak.ListFolderFiles(folder, out);
        return out;
    }
    StringArray Subfolders(std::string_view folder)
    {
        StringArray out;
        m_pak.ListSubfolders(folder, out);
        return out;
    }

    TempDir m_dir;
    CPakArchive m_pak;
};

}  // namespace

TEST_F(Listing, FoldersComeFromNamePrefixes)
{
    Open(PakBuilder().File("maps/e1m1.bsp", "1").File("maps/dm/dm1.bsp", "2").File("readme.txt", "3"));
    EXPECT_EQ((StringArray{"maps/e1m1.bsp", "maps/dm/dm1.bsp"}), Folder("maps"));
    EXPECT_EQ((StringArray{"maps/e1m1.bsp", "maps/dm/dm1.bsp"}), Folder("\\maps\\"));
    EXPECT_EQ((StringArray{"e1m1.bsp"}), Files("maps"));
    EXPECT_EQ((StringArray{"e1m1.bsp"}), Files("maps/"));
    EXPECT_EQ((StringArray{"dm"}), Subfolders("maps"));
    EXPECT_EQ((StringArray{"maps"}), Subfolders(""));
    EXPECT_EQ((StringArray{"readme.txt"}), Files(""));
    EXPECT_EQ(3u, Folder("").size());
    EXPECT_TRUE(m_pak.FolderExists("", "maps"));
    EXPECT_TRUE(m_pak.FolderExists("maps", "dm/"));
    EXPECT_TRUE(m_pak.FolderExists("maps/dm", ""));
    EXPECT_FALSE(m_pak.FolderExists("maps", "e1m1.bsp"));
    EXPECT_FALSE(m_pak.FolderExists("", "map"));
}

TEST_F(Listing, PrefixTestIncludesTheSeparator)
{
    Open(PakBuilder().File("map/a", "").File("maps/b", ""));
    EXPECT_EQ((StringArray{"map/a"}), Folder("map"));
    EXPECT_EQ(errUnspecified, m_pak.GetError());
}

TEST_F(Listing, LookupsAreExactAndFindTheFirstRecord)
{
    Open(PakBuilder().File("Progs/a.mdl", "1").File("dup.txt", "first").File("dup.txt", "second!"));
    EXPECT_EQ(-1, m_pak.FindEntry("progs/a.mdl"));
    EXPECT_EQ(0, m_pak.FindEntry("Progs/a.mdl"));
    EXPECT_EQ(1, m_pak.FindEntry("dup.txt"));
    EXPECT_EQ(5u, m_pak.GetEntries()[1].length);
    EXPECT_TRUE(m_pak.EntryExistsIn("\\Progs", "C:\\elsewhere\\a.mdl"));
    EXPECT_FALSE(m_pak.EntryExistsIn("progs", "a.mdl"));
    // Duplicates are listed as often as they occur.
    const StringArray all = Folder("");
    EXPECT_EQ(2, std::count(all.begin(), all.end(), "dup.txt"));
}

TEST_F(Listing, EveryRecordIsAFileOfExactlyOneFolderWithItsOwnLength)
{
    Open(PakBuilder()
             .File("dup.txt", std::string(20000, 'd'))
             .File("dup.txt", std::string(100, 'e'))
             .File("/lead.txt", std::string(1500, 'l'))
             .File("/", "ab")
             .File("\\", "abc")
             .File("x/y.txt", "y"));
    const auto files = [&](std::string_view folder) {
        std::vector<std::pair<std::string, std::uint32_t>> out;
        std::vector<CPakArchive::CFolderFile> listed;
        m_pak.ListFolderFiles(folder, listed);
        for (const auto& file : listed) out.emplace_back(file.name, file.nLength);
        return out;
    };
    using Files = std::vector<std::pair<std::string, std::uint32_t>>;
    // A separator in front makes a folder with an empty name, never a root file.
    EXPECT_EQ(files("/"), (Files{{"dup.txt", 20000}, {"dup.txt", 100}}));
    EXPECT_EQ(files("//"), (Files{{"lead.txt", 1500}, {"", 2}, {"", 3}}));
    EXPECT_EQ(files("/x"), (Files{{"y.txt", 1}}));
    EXPECT_EQ(Subfolders("/"), (StringArray{"", "x"}));
}

TEST_F(Listing, SizesInKilobytesNeverShowZeroForData)
{
    PakBuilder builder;
    const std::size_t lengths[] = {0, 1, 1023, 1024, 2047, 2048};
    for (std::size_t length : lengths) builder.File("f" + std::to_string(length), std::string(length, 'x'));
    Open(builder);
    const int expected[] = {0, 1, 1, 1, 1, 2};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(expected[i], m_pak.GetEntrySizeKB("f" + std::to_string(lengths[i])));
    EXPECT_EQ(-1, m_pak.GetEntrySizeKB("missing"));
    EXPECT_EQ(1, m_pak.GetEntrySizeKB("\\f1"));
}

TEST_F(Listing, IndexAgreesWithAPlainScanOnRandomPaks)
{
    std::mt19937 random(12345);
    const char* levels[] = {"a", "b", "ab", "a.b", "maps", "Maps", "z"};
    PakBuilder builder;
    std::vector<std::string> names;
    for (int i = 0; i < 400; ++i) {
        std::string name;
        const int depth = static_cast<int>(random() % 4);
        for (int d = 0; d < depth; ++d) name += std::string(levels[random() % 7]) + "/";
        name += levels[random() % 7];
        names.push_back(name);
        builder.File(name, "");
    }
    Open(builder);

    std::vector<std::string> prefixes = {"", "a", "a/", "ab", "maps/a", "Maps/z/", "nothing"};
    for (const std::string& name : names) prefixes.push_back(GetFolderPart(name));
    for (const std::string& folder : prefixes) {
        std::string prefix = ToPakPath(folder);
        if (!prefix.empty() && prefix.back() != '/') prefix += '/';
        StringArray expected;
        for (const std::string& name : names)
            if (name.starts_with(prefix)) expected.push_back(name);
        EXPECT_EQ(expected, Folder(folder)) << folder;
    }
    for (const std::string& name : names) {
        const int expected = static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
        EXPECT_EQ(expected, m_pak.FindEntry(name)) << name;
    }
}
