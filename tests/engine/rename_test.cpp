// Renaming and moving entries and folders, new folders and new paks.
#include "pak_fixture.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace vantor;
using namespace vantor::test;
namespace fs = std::filesystem;

namespace {

class Renaming : public PakFixture {
protected:
    PakBuilder Maps()
    {
        return PakBuilder().File("maps/a.bsp", "A").File("maps/b.bsp", "B").File("maps/dm/c.bsp", "C").File("dm/x.bsp", "X");
    }
};

class NewFolders : public PakFixture {};
class NewPaks : public PakFixture {};

}  // namespace

TEST_F(Renaming, AnEntryMovesAcrossFoldersButNeverOntoANameInUse)
{
    Open(Maps());
    EXPECT_FALSE(m_pak.RenameEntryByName("maps/a.bsp", "maps/b.bsp"));
    EXPECT_EQ(errNameExists, m_pak.GetError());
    EXPECT_FALSE(m_pak.RenameEntryByName("maps/a.bsp", "dm"));
    EXPECT_EQ(errNameExists, m_pak.GetError());
    const std::uint64_t length = FileLength();
    ASSERT_TRUE(m_pak.RenameEntryByName("maps/a.bsp", "new/a.bsp"));
    EXPECT_TRUE(m_pak.FolderExists("", "new"));
    EXPECT_EQ(length, FileLength());
    const ParsedPak pak = OnDisk();
    EXPECT_EQ("new/a.bsp", pak.entries[0].name);
    EXPECT_EQ("A", pak.entries[0].data);
    EXPECT_FALSE(m_pak.RenameEntryByName("missing.bsp", "other.bsp"));
}

TEST_F(Renaming, NewNamesObeyTheRulesAndStayInside)
{
    Open(Maps());
    for (const char* bad : {"maps/LONGFILENAME.BSP", "maps/a b.bsp", "../a.bsp", "maps/../../a.bsp", "maps//a.bsp", "./a.bsp"})
        EXPECT_FALSE(m_pak.RenameEntryByName("maps/a.bsp", bad)) << bad;
    EXPECT_EQ(errBadName, m_pak.GetError());
    EXPECT_FALSE(m_pak.RenameEntryByName("maps/a.bsp", std::string(48, 'f') + "/abc.bsp"));
    EXPECT_EQ(errPathTooLong, m_pak.GetError());
    EXPECT_EQ("maps/a.bsp", OnDisk().entries[0].name);
}

TEST_F(Renaming, AFolderMovesWholeAndNeverMerges)
{
    Open(Maps());
    EXPECT_FALSE(m_pak.RenameFolder("maps", "dm"));
    EXPECT_EQ(errNameExists, m_pak.GetError());
    EXPECT_FALSE(m_pak.RenameFolder("maps", "LONGFOLDERNAME"));
    EXPECT_EQ(errBadName, m_pak.GetError());
    EXPECT_FALSE(m_pak.RenameFolder("maps", ""));
    EXPECT_EQ(errBadName, m_pak.GetError());
    EXPECT_FALSE(m_pak.RenameFolder("maps", "a/../b"));
    EXPECT_EQ(errBadName, m_pak.GetError());

    ASSERT_TRUE(m_pak.RenameFolder("maps", "new/maps/"));
    EXPECT_FALSE(m_pak.FolderExists("", "maps"));
    StringArray names;
    m_pak.ListFolder("new", names);
    EXPECT_EQ((StringArray{"new/maps/a.bsp", "new/maps/b.bsp", "new/maps/dm/c.bsp"}), names);
    EXPECT_EQ("new/maps/dm/c.bsp", OnDisk().entries[2].name);

    // Into itself, one level down.
    ASSERT_TRUE(m_pak.RenameFolder("dm/", "dm/old"));
    EXPECT_NE(-1, m_pak.FindEntry("dm/old/x.bsp"));
}

TEST_F(Renaming, AClashInsideAFolderRefusesTheWholeMove)
{
    // A twin record means the second rename would land on a name the first
    // took: nothing moves, rather than half of the folder.
    Open(PakBuilder().File("a/x.txt", "1").File("a/x.txt", "2").File("a/y.txt", "3"));
    const std::string before = Bytes();
    EXPECT_FALSE(m_pak.RenameFolder("a", "b"));
    EXPECT_EQ(errNameExists, m_pak.GetError());
    EXPECT_EQ(before, Bytes());
    EXPECT_TRUE(m_pak.FolderExists("", "a"));
}

TEST_F(NewFolders, APlaceholderMakesTheFolderExist)
{
    Open(PakBuilder().File("maps/a.bsp", "A"));
    ASSERT_TRUE(m_pak.CreateFolder("maps/new"));
    const ParsedPak pak = OnDisk();
    ASSERT_EQ(2u, pak.entries.size());
    EXPECT_EQ("maps/new/temp.tmp", pak.entries[1].name);
    EXPECT_EQ(0u, pak.entries[1].length);
    EXPECT_TRUE(m_pak.FolderExists("maps", "new"));

    const std::uint64_t length = FileLength();
    EXPECT_FALSE(m_pak.CreateFolder("maps/new/"));
    EXPECT_EQ(errNameExists, m_pak.GetError());
    EXPECT_EQ(length, FileLength());

    EXPECT_TRUE(m_pak.CreateFolder("aaaaaaaa/bbbbbbbb/cccccccc/dddddddd/eeeeeeee/f"));
    EXPECT_FALSE(m_pak.CreateFolder("aaaaaaaa/bbbbbbbb/cccccccc/dddddddd/eeeeeeee/gg"));
    EXPECT_EQ(errPathTooLong, m_pak.GetError());
    EXPECT_FALSE(m_pak.CreateFolder("a/../../b"));
    EXPECT_EQ(errBadName, m_pak.GetError());
}

TEST_F(NewPaks, AreTwelveBytesAndReplaceAnOldFile)
{
    TempDir folder;
    WriteFileBytes(folder / "NEWPAK.PAK", "something that was here before");
    ASSERT_TRUE(m_pak.CreatePak(folder.Path(), "NEWPAK.PAK"));
    EXPECT_EQ(std::string("PACK\x0c\0\0\0\0\0\0\0", 12), ReadFileBytes(folder / "NEWPAK.PAK"));
    EXPECT_FALSE(m_pak.IsOpen());
    EXPECT_FALSE(m_pak.CreatePak(folder.Path(), "NINECHARS.PAK"));
    EXPECT_EQ(errBadName, m_pak.GetError());
    EXPECT_FALSE(m_pak.CreatePak(folder / "missing", "NEW.PAK"));
    EXPECT_EQ(errFileNotFound, m_pak.GetError());
}

TEST_F(NewPaks, APakOpenElsewhereIsNeverEmptied)
{
    Open(PakBuilder().File("a.txt", "keep me"));
    const std::string bytes = Bytes();
    CPakArchive other;
    EXPECT_FALSE(other.CreatePak(m_dir.Path(), "test.pak"));
    EXPECT_EQ(errSharingViolation, other.GetError());
    EXPECT_EQ(bytes, Bytes());
}
