// Records, gibbing and restoring: what the directory and the file look like
// afterwards.
#include "pak_fixture.h"

#include <random>

using namespace vantor;
using namespace vantor::test;

namespace {

PakBuilder ThreeMaps()
{
    return PakBuilder().File("a.txt", "aaaa").File("maps/b.bsp", "bbbbbb").File("maps/c.bsp", "cc").File("maps/d.bsp", "ddd");
}

class Records : public PakFixture {};
class Gibbing : public PakFixture {};
class Restoring : public PakFixture {};

}  // namespace

TEST_F(Records, AddRefusesLongAndTakenNames)
{
    Open(PakBuilder().File("a.txt", "a"));
    EXPECT_TRUE(m_pak.AddEntry(std::string(55, 'n'), 12, 0));
    EXPECT_FALSE(m_pak.AddEntry(std::string(56, 'n'), 12, 0));
    EXPECT_EQ(errPathTooLong, m_pak.GetError());
    EXPECT_FALSE(m_pak.AddEntry("a.txt", 12, 0));
    EXPECT_EQ(errNameExists, m_pak.GetError());
    EXPECT_EQ(2u, m_pak.GetEntries().size());
}

TEST_F(Records, RenameChecksBothRulesAndKeepsThePlace)
{
    Open(ThreeMaps());
    EXPECT_FALSE(m_pak.RenameEntry(9, "x.txt"));
    EXPECT_EQ(errBadIndex, m_pak.GetError());
    EXPECT_FALSE(m_pak.RenameEntry(1, std::string(52, 'm') + "/b.bsp"));
    EXPECT_EQ(errPathTooLong, m_pak.GetError());
    EXPECT_FALSE(m_pak.RenameEntry(1, "maps/longfilename.bsp"));
    EXPECT_EQ(errBadName, m_pak.GetError());
    ASSERT_TRUE(m_pak.RenameEntry(1, "\\dm\\b.bsp"));
    EXPECT_EQ((std::vector<std::string>{"a.txt", "dm/b.bsp", "maps/c.bsp", "maps/d.bsp"}), LiveNames());
    EXPECT_EQ(1, m_pak.FindEntry("dm/b.bsp"));
    EXPECT_EQ(-1, m_pak.FindEntry("maps/b.bsp"));
}

TEST_F(Gibbing, OnlyEntryOfAFolderTakesTheFolderAlong)
{
    Open(PakBuilder().File("a.txt", "a").File("maps/b.bsp", "b"));
    ASSERT_TRUE(m_pak.GibEntryByName("maps/b.bsp", true));
    EXPECT_FALSE(m_pak.FolderExists("", "maps"));
    StringArray subfolders;
    EXPECT_EQ(0, m_pak.ListSubfolders("", subfolders));
    EXPECT_EQ((std::vector<std::string>{"maps/b.bsp"}), GibbedNames());
    EXPECT_TRUE(m_pak.HasGibbedEntries());
    EXPECT_EQ((std::vector<std::pair<std::string, std::string>>{{"a.txt", "a"}}), OnDisk().Contents());
}

TEST_F(Gibbing, ShrinksTheFileOnlyWhenTheDirectoryEndedIt)
{
    Open(ThreeMaps());
    const std::uint64_t length = FileLength();
    ASSERT_TRUE(m_pak.GibEntryByName("\\a.txt", true));
    EXPECT_EQ(length - 64, FileLength());
    EXPECT_EQ(3u * 64, OnDisk().dirLength);

    Open(ThreeMaps().Directory().Gap(100));
    const std::uint64_t withGap = FileLength();
    ASSERT_TRUE(m_pak.GibEntryByName("a.txt", true));
    EXPECT_EQ(withGap, FileLength());
    EXPECT_EQ(3u, OnDisk().entries.size());
}

TEST_F(Gibbing, AFolderOfThreeShrinksTheFileBy192)
{
    Open(ThreeMaps());
    const std::uint64_t length = FileLength();
    ASSERT_TRUE(m_pak.GibFolder("maps"));
    EXPECT_EQ(length - 192, FileLength());
    EXPECT_EQ((std::vector<std::string>{"a.txt"}), LiveNames());
    EXPECT_EQ((std::vector<std::string>{"maps/b.bsp", "maps/c.bsp", "maps/d.bsp"}), GibbedNames());
    EXPECT_EQ(1u, OnDisk().entries.size());
}

TEST_F(Gibbing, AFolderWithoutEntriesChangesNothing)
{
    Open(ThreeMaps());
    const auto before = OnDisk().Contents();
    EXPECT_TRUE(m_pak.GibFolder("nothing"));
    EXPECT_EQ(before, OnDisk().Contents());
    EXPECT_FALSE(m_pak.HasGibbedEntries());
}

TEST_F(Gibbing, MissingNameFailsWithoutACode)
{
    Open(ThreeMaps());
    m_pak.SetError(errBadName);
    EXPECT_FALSE(m_pak.GibEntryByName("maps/B.bsp", true));
    EXPECT_EQ(errBadName, m_pak.GetError());
}

TEST_F(Gibbing, ReadOnlyPakIsRefusedAndUntouched)
{
    OpenReadOnly(ThreeMaps());
    const std::string bytes = Bytes();
    EXPECT_FALSE(m_readOnly.GibEntryByName("a.txt", true));
    EXPECT_EQ(errAccessDenied, m_readOnly.GetError());
    EXPECT_FALSE(m_readOnly.GibFolder("maps"));
    EXPECT_EQ(errAccessDenied, m_readOnly.GetError());
    EXPECT_FALSE(m_readOnly.RecoverUnusedSpace());
    EXPECT_EQ(errAccessDenied, m_readOnly.GetError());
    EXPECT_FALSE(m_readOnly.IsFatalError());
    EXPECT_EQ(4u, m_readOnly.GetEntries().size());
    EXPECT_EQ(bytes, Bytes());
}

TEST_F(Restoring, BringsBackTheDataAndGrowsTheDirectoryAtTheEnd)
{
    Open(ThreeMaps());
    const std::uint64_t length = FileLength();
    ASSERT_TRUE(m_pak.GibEntryByName("maps/b.bsp", true));
    ASSERT_TRUE(m_pak.RestoreByName("maps/b.bsp"));
    EXPECT_EQ(length, FileLength());
    EXPECT_FALSE(m_pak.HasGibbedEntries());
    EXPECT_EQ((std::vector<std::string>{"a.txt", "maps/c.bsp", "maps/d.bsp", "maps/b.bsp"}), LiveNames());
    EXPECT_EQ("bbbbbb", OnDisk().entries[3].data);
}

TEST_F(Restoring, MovesTheDirectoryToTheEndWhenItDidNotEndTheFile)
{
    Open(ThreeMaps().Directory().Gap(100));
    ASSERT_TRUE(m_pak.GibEntryByName("a.txt", true));
    const std::uint64_t length = FileLength();
    ASSERT_TRUE(m_pak.RestoreByName("a.txt"));
    EXPECT_EQ(length + 4 * 64, FileLength());
    EXPECT_EQ(length, OnDisk().dirOffset);
    EXPECT_EQ(4u, OnDisk().entries.size());
}

TEST_F(Restoring, ASameNamedLiveEntrySwapsPlaces)
{
    Open(PakBuilder().File("a.txt", "old").File("a.txt", "new"));
    ASSERT_TRUE(m_pak.GibEntryByName("a.txt", true));  // the first record, "old"
    ASSERT_TRUE(m_pak.RestoreByName("a.txt"));
    const ParsedPak pak = OnDisk();
    ASSERT_EQ(1u, pak.entries.size());
    EXPECT_EQ("old", pak.entries[0].data);
    EXPECT_EQ((std::vector<std::string>{"a.txt"}), GibbedNames());
    ASSERT_TRUE(m_pak.RestoreByName("a.txt"));
    EXPECT_EQ("new", OnDisk().entries[0].data);
}

TEST_F(Restoring, ReusedBytesDropTheRecordAndLeaveTheLiveEntryAlone)
{
    // The first x.txt record points into big.bin's bytes; the second is a
    // live entry of the same name with data of its own.
    Open(PakBuilder().File("big.bin", "0123456789").Record("x.txt", 14, 4).File("x.txt", "mine"));
    ASSERT_TRUE(m_pak.GibEntryByName("x.txt", true));
    EXPECT_FALSE(m_pak.RestoreByName("x.txt"));
    EXPECT_FALSE(m_pak.HasGibbedEntries());
    const ParsedPak pak = OnDisk();
    ASSERT_EQ(2u, pak.entries.size());
    EXPECT_EQ("x.txt", pak.entries[1].name);
    EXPECT_EQ("mine", pak.entries[1].data);
}

TEST_F(Restoring, EmptyEntriesAlwaysComeBackAndUnknownNamesFail)
{
    Open(PakBuilder().File("empty.txt", "").File("a.txt", "a"));
    ASSERT_TRUE(m_pak.GibEntryByName("empty.txt", true));
    EXPECT_TRUE(m_pak.RestoreByName("empty.txt"));
    EXPECT_FALSE(m_pak.RestoreByName("never.txt"));
    EXPECT_EQ(2u, OnDisk().entries.size());
}

TEST_F(Records, IndexFollowsEveryChange)
{
    PakBuilder builder;
    for (int i = 0; i < 200; ++i) builder.File("d" + std::to_string(i % 7) + "/f" + std::to_string(i) + ".x", "");
    Open(builder);
    std::mt19937 random(7);
    for (int step = 0; step < 600; ++step) {
        const std::size_t count = m_pak.GetEntries().size();
        switch (random() % 4) {
        case 0:
            if (count) m_pak.GibEntry(random() % count), m_pak.SetHeader(0, static_cast<std::uint32_t>(m_pak.GetEntries().size() * 64));
            break;
        case 1:
            if (count) m_pak.RenameEntry(random() % count, "d" + std::to_string(random() % 9) + "/r" + std::to_string(step) + ".x");
            break;
        case 2:
            m_pak.AddEntry("d" + std::to_string(random() % 9) + "/n" + std::to_string(step) + ".x", 12, 0);
            break;
        default:
            if (m_pak.HasGibbedEntries()) m_pak.RestoreEntry(random() % m_pak.GetGibbed().size());
            break;
        }
        if (step % 50 != 0) continue;
        const std::vector<std::string> names = LiveNames();
        for (std::size_t i = 0; i < names.size(); ++i) ASSERT_EQ(static_cast<int>(i), m_pak.FindEntry(names[i])) << names[i];
        for (int d = 0; d < 9; ++d) {
            const std::string prefix = "d" + std::to_string(d) + "/";
            StringArray expected;
            for (const std::string& n : names)
                if (n.starts_with(prefix)) expected.push_back(n);
            StringArray listed;
            m_pak.ListFolder(prefix, listed);
            ASSERT_EQ(expected, listed) << prefix << " at step " << step;
        }
    }
}
