// Adding disk files and folders: names, placement, replacing, and what the
// file system may hold that a pak must not take.
#include "pak_fixture.h"

#include <algorithm>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace vantor;
using namespace vantor::test;
namespace fs = std::filesystem;

namespace {

class Importing : public PakFixture {
protected:
    PakBuilder Base() { return PakBuilder().File("a.txt", "aaaa").File("maps/e1m1.bsp", "level"); }
};

}  // namespace

TEST_F(Importing, AddsAFileUnderItsLeafName)
{
    Open(Base());
    const std::string file = Source("A.TXT", "new data");
    const std::uint64_t length = FileLength();
    ASSERT_TRUE(m_pak.AddFileFromDisk(file, "maps", false));
    EXPECT_EQ(length + 8 + 64, FileLength());
    const ParsedPak pak = OnDisk();
    ASSERT_EQ(3u, pak.entries.size());
    EXPECT_EQ("maps/A.TXT", pak.entries[2].name);
    EXPECT_EQ("new data", pak.entries[2].data);
    // The data went where the directory began; the directory is last.
    EXPECT_EQ(pak.dirOffset, pak.entries[2].offset + 8);
    EXPECT_EQ(pak.dirOffset + pak.dirLength, FileLength());
}

TEST_F(Importing, KeepsOrReplacesAnExistingEntry)
{
    Open(Base());
    const std::string file = Source("A.TXT", "first");
    ASSERT_TRUE(m_pak.AddFileFromDisk(file, "maps", false));
    const std::string bytes = Bytes();
    WriteFileBytes(file, "second!");
    EXPECT_TRUE(m_pak.AddFileFromDisk(file, "maps", false));
    EXPECT_EQ(bytes, Bytes());

    ASSERT_TRUE(m_pak.AddFileFromDisk(file, "maps", true));
    EXPECT_EQ((std::vector<std::string>{"maps/A.TXT"}), GibbedNames());
    const ParsedPak pak = OnDisk();
    ASSERT_EQ(3u, pak.entries.size());
    EXPECT_EQ("second!", pak.entries[2].data);
    ASSERT_TRUE(m_pak.RestoreByName("maps/A.TXT"));
    EXPECT_EQ("first", OnDisk().entries[2].data);
}

TEST_F(Importing, AFailedReadLeavesTheReplacedEntryLive)
{
    Open(Base());
    CFaultyFileSystem growing;
    CPakArchive pak(growing);
    m_pak.ClosePak();
    ASSERT_TRUE(pak.OpenPak(m_path));
    const std::string bytes = Bytes();
    // The file grows between taking its size and reading it.
    growing.UnderstateLengths(3);
    EXPECT_FALSE(pak.AddFileFromDisk(Source("A.TXT", "0123456789"), "", true));
    EXPECT_EQ(errReadFailed, pak.GetError());
    const std::string file = Source("a.txt", "replacement");
    EXPECT_FALSE(pak.AddFileFromDisk(file, "", true));
    EXPECT_EQ(errReadFailed, pak.GetError());
    EXPECT_FALSE(pak.HasGibbedEntries());
    EXPECT_EQ(bytes, Bytes());

    growing.UnderstateLengths(0);
    ASSERT_TRUE(pak.AddFileFromDisk(file, "", true));
    std::size_t count = 0;
    std::string buffer(4, '\0');
    growing.UnderstateLengths(2);
    EXPECT_FALSE(pak.ReadDiskFile(file, buffer.data(), 9, count));
    EXPECT_EQ(errReadFailed, pak.GetError());
}

TEST_F(Importing, NamesMustFitTheRules)
{
    Open(Base());
    EXPECT_FALSE(m_pak.AddFileFromDisk(Source("LONGFILENAME.TXT", "x"), "", false));
    EXPECT_EQ(errBadName, m_pak.GetError());
    EXPECT_FALSE(m_pak.AddFileFromDisk(Source(".profile", "x"), "", false));
    EXPECT_EQ(errBadName, m_pak.GetError());
    EXPECT_FALSE(m_pak.AddFileFromDisk(Source("A.TXT", "x"), std::string(50, 'f'), false));
    EXPECT_EQ(errPathTooLong, m_pak.GetError());
    EXPECT_FALSE(m_pak.AddFileFromDisk(Source("B.TXT", "x"), "x/../..", false));
    EXPECT_EQ(errBadName, m_pak.GetError());
    EXPECT_EQ(2u, OnDisk().entries.size());
    // Letter case makes a different name.
    EXPECT_TRUE(m_pak.AddFileFromDisk(Source("A.TXT", "upper"), "", false));
    EXPECT_EQ(3u, OnDisk().entries.size());
}

TEST_F(Importing, AReplacedEntryKeepsANameTheRulesWouldRefuse)
{
    Open(PakBuilder().File("progs/LONGFILENAME;1.MDL", "old"));
    ASSERT_TRUE(m_pak.AddFileFromDisk(Source("LONGFILENAME;1.MDL", "new"), "progs", true));
    const ParsedPak pak = OnDisk();
    ASSERT_EQ(1u, pak.entries.size());
    EXPECT_EQ("progs/LONGFILENAME;1.MDL", pak.entries[0].name);
    EXPECT_EQ("new", pak.entries[0].data);
}

TEST_F(Importing, PlacementFollowsWhereTheDirectoryLies)
{
    Open(Base().Directory().Gap(100));
    const std::uint64_t length = FileLength();
    ASSERT_TRUE(m_pak.AddFileFromDisk(Source("B.TXT", "12345"), "", false));
    EXPECT_EQ(length + 5 + 2 * 64 + 64, FileLength());
    EXPECT_EQ(length, OnDisk().entries[2].offset);

    Open(Base());
    ASSERT_TRUE(m_pak.AddFileFromDisk(Source("EMPTY.DAT", ""), "", false));
    const ParsedPak pak = OnDisk();
    EXPECT_EQ(pak.dirOffset, pak.entries[2].offset);
    EXPECT_EQ(0u, pak.entries[2].length);
}

TEST_F(Importing, AFolderBringsItsFilesButNotItsEmptyFolders)
{
    Open(Base());
    Source("dm/dm1.bsp", "dm one");
    fs::create_directories(m_src / "dm/old");
    ASSERT_TRUE(m_pak.ImportFolder(m_src / "dm", "", false));
    const ParsedPak pak = OnDisk();
    ASSERT_EQ(3u, pak.entries.size());
    EXPECT_EQ("dm/dm1.bsp", pak.entries[2].name);
    EXPECT_EQ("dm one", pak.entries[2].data);
}

TEST_F(Importing, BadFolderNamesFailTheirSubtreeOnly)
{
    Open(Base());
    Source("LONGFOLDERNAME/a.txt", "a");
    EXPECT_FALSE(m_pak.ImportFolder(m_src / "LONGFOLDERNAME", "", false));
    EXPECT_EQ(errBadName, m_pak.GetError());
    EXPECT_EQ(2u, OnDisk().entries.size());

    Source("top/LONGFOLDERNAME/b.txt", "b");
    Source("top/ok/c.txt", "c");
    Source("top/d.txt", "d");
    EXPECT_FALSE(m_pak.ImportFolder(m_src / "top/", "maps", false));
    StringArray names;
    m_pak.ListFolder("maps/top", names);
    EXPECT_EQ((StringArray{"maps/top/d.txt", "maps/top/ok/c.txt"}), names);
}

TEST_F(Importing, FolderPathsThatNameNoFolderFail)
{
    Open(Base());
    for (const char* bad : {"", "/", "relative-without-separator"}) {
        EXPECT_FALSE(m_pak.ImportFolder(bad, "", false)) << bad;
        EXPECT_EQ(errBadPath, m_pak.GetError()) << bad;
    }
    EXPECT_FALSE(m_pak.ImportFolder(Source("file.txt", "x"), "", false));
    EXPECT_EQ(errBadPath, m_pak.GetError());
}

TEST_F(Importing, LinksAndSpecialFilesAreHandledSafely)
{
#ifdef _WIN32
    GTEST_SKIP() << "making symbolic links needs a privilege on Windows, and it has no FIFOs";
#else
    Open(Base());
    Source("tree/a.txt", "a");
    Source("tree/.hidden", "h");
    Source("outside/x.txt", "x");
    ASSERT_EQ(0, ::symlink((m_src / "outside").c_str(), (m_src / "tree/link").c_str()));
    ASSERT_EQ(0, ::symlink((m_src / "tree").c_str(), (m_src / "tree/loop").c_str()));
    ASSERT_EQ(0, ::symlink((m_src / "tree/a.txt").c_str(), (m_src / "tree/alias.txt").c_str()));
    ASSERT_EQ(0, ::mkfifo((m_src / "tree/pipe").c_str(), 0600));

    // Returns (no FIFO was opened), fails for the FIFO and the hidden name,
    // follows the link to a file, and never enters a linked folder.
    EXPECT_FALSE(m_pak.ImportFolder(m_src / "tree", "", false));
    StringArray names;
    m_pak.ListFolder("tree", names);
    std::sort(names.begin(), names.end());
    EXPECT_EQ((StringArray{"tree/a.txt", "tree/alias.txt"}), names);
#endif
}

TEST_F(Importing, ProgressCountsAndCanStop)
{
    Open(Base());
    for (int i = 0; i < 6; ++i) Source("many/f" + std::to_string(i) + ".txt", std::string(10, 'x'));
    PakProgress last;
    ASSERT_TRUE(m_pak.ImportFolder(m_src / "many", "", false, [&](const PakProgress& p) {
        last = p;
        return true;
    }));
    EXPECT_EQ(6u, last.itemsTotal);
    EXPECT_EQ(6u, last.itemsDone);
    EXPECT_EQ(60u, last.bytesDone);

    int calls = 0;
    EXPECT_FALSE(m_pak.ImportFolder(m_src / "many", "again", false, [&](const PakProgress&) { return ++calls <= 3; }));
    StringArray names;
    m_pak.ListFolder("again", names);
    EXPECT_EQ(3u, names.size());
    EXPECT_EQ(3u + 6 + 2, OnDisk().entries.size());  // what was added before the stop is in the pak
}

TEST_F(Importing, AFolderIsCommittedOnceNotPerFile)
{
    Open(Base());
    for (int i = 0; i < 50; ++i) Source("many/f" + std::to_string(i) + ".txt", "x");
    CFaultyFileSystem counting;
    CPakArchive pak(counting);
    m_pak.ClosePak();
    ASSERT_TRUE(pak.OpenPak(m_path));
    ASSERT_TRUE(pak.ImportFolder(m_src / "many", "", false));
    // One write of data per file plus a handful for the single commit.
    EXPECT_LE(counting.WriteCount(), 50 + 10);
    EXPECT_EQ(52u, OnDisk().entries.size());
}

TEST_F(Importing, NothingIsWrittenPastTwoGigabytes)
{
    // A sparse pak 300 bytes short of the limit, its directory at the end.
    const std::uint64_t dataLength = 0x7FFFFFFFu - 12 - 64 - 300;
    m_path = m_dir / "huge.pak";
    {
        std::string head = PakBuilder().Record("big.bin", 12, static_cast<std::uint32_t>(dataLength)).Build();
        std::string directory = head.substr(12);
        PakBuilder::PutU32(head, 4, static_cast<std::uint32_t>(12 + dataLength));
        WriteFileBytes(m_path, head.substr(0, 12));
        fs::resize_file(m_path, 12 + dataLength);
        FILE* f = std::fopen(m_path.c_str(), "r+b");
        std::fseek(f, static_cast<long>(12 + dataLength), SEEK_SET);
        std::fwrite(directory.data(), 1, directory.size(), f);
        std::fclose(f);
    }
    ASSERT_TRUE(m_pak.OpenPak(m_path));
    const std::uint64_t length = FileLength();
    EXPECT_TRUE(m_pak.AddFileFromDisk(Source("SMALL.TXT", std::string(30, 's')), "", false));
    EXPECT_FALSE(m_pak.AddFileFromDisk(Source("BIG.TXT", std::string(200, 'b')), "", false));
    EXPECT_EQ(errDiskFull, m_pak.GetError());
    EXPECT_EQ(length + 30 + 64, FileLength());
    ASSERT_TRUE(m_pak.GibEntryByName("SMALL.TXT", true));
    EXPECT_TRUE(m_pak.RestoreByName("SMALL.TXT"));
    EXPECT_LE(FileLength(), 0x7FFFFFFFu);
    m_pak.ClosePak();
    ASSERT_TRUE(m_pak.OpenPak(m_path));
    EXPECT_EQ(2u, m_pak.GetEntries().size());
}

TEST_F(Importing, ReadOnlyPaksRefuseEveryChange)
{
    OpenReadOnly(Base());
    const std::string bytes = Bytes();
    const std::string file = Source("A.TXT", "x");
    Source("dm/a.txt", "x");
    EXPECT_FALSE(m_readOnly.AddFileFromDisk(file, "", false));
    EXPECT_EQ(errAccessDenied, m_readOnly.GetError());
    EXPECT_FALSE(m_readOnly.ImportFolder(m_src / "dm", "", false));
    EXPECT_EQ(errAccessDenied, m_readOnly.GetError());
    EXPECT_FALSE(m_readOnly.RenameEntryByName("a.txt", "b.txt"));
    EXPECT_EQ(errAccessDenied, m_readOnly.GetError());
    EXPECT_FALSE(m_readOnly.RenameFolder("maps", "dm"));
    EXPECT_EQ(errAccessDenied, m_readOnly.GetError());
    EXPECT_FALSE(m_readOnly.CreateFolder("new"));
    EXPECT_EQ(errAccessDenied, m_readOnly.GetError());
    EXPECT_FALSE(m_readOnly.RestoreByName("a.txt"));
    EXPECT_EQ(errAccessDenied, m_readOnly.GetError());
    EXPECT_EQ(bytes, Bytes());
    // Reading still works.
    TempDir out;
    EXPECT_TRUE(m_readOnly.ExtractFolderTo("", out.Path(), false));
}

TEST_F(Importing, ThePakCannotBeAddedToItself)
{
    Open(Base());
    fs::create_directories(m_dir / "pk");
    const std::string bytes = Bytes();
    EXPECT_FALSE(m_pak.AddFileFromDisk(m_path, "", false));
    EXPECT_EQ(errSharingViolation, m_pak.GetError());
    EXPECT_EQ(bytes, Bytes());
}

TEST_F(Importing, EveryFailedItemIsReportedWithItsPath)
{
    Open(Base());
    Source("tree/LONGFILENAME.TXT", "x");
    Source("tree/ok.txt", "ok");
    Source("tree/LONGFOLDER/a.txt", "a");
    std::vector<std::pair<std::string, int>> failed;
    m_pak.SetItemFailureReporter([&](const std::string& item, int code) { failed.emplace_back(item, code); });
    EXPECT_FALSE(m_pak.ImportFolder(m_src / "tree", "", false));
    const std::string root = m_src / "tree";
    std::vector<std::pair<std::string, int>> expected = {{root + "/LONGFILENAME.TXT", errBadName},
                                                         {root + "/LONGFOLDER", errBadName}};
#ifdef _WIN32
    // Disk paths come back in Windows' own form, '\' between levels.
    for (auto& item : expected) std::replace(item.first.begin(), item.first.end(), '/', '\\');
#endif
    EXPECT_EQ(expected, failed);
    EXPECT_NE(-1, m_pak.FindEntry("tree/ok.txt"));
}
