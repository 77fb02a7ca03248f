// Extracting entries to disk, and the guard against names that would leave
// the chosen folder.
#include "pak_fixture.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace vantor;
using namespace vantor::test;
namespace fs = std::filesystem;

namespace {

class Extracting : public PakFixture {
protected:
    PakBuilder Sample()
    {
        return PakBuilder().File("progs/a.mdl", "model").File("maps/e1m1.bsp", "level").File("maps/dm/dm1.bsp", "dm")
            .File("empty.txt", "").File("readme.txt", "hi");
    }
    std::string Out(std::string_view rel = "") const { return m_out.Path() + (rel.empty() ? "" : "/" + std::string(rel)); }

    TempDir m_out;
};

}  // namespace

TEST_F(Extracting, BesideThePakRecreatesItsFolders)
{
    Open(Sample());
    ASSERT_TRUE(m_pak.ExtractEntryBesidePak("progs/a.mdl", true));
    EXPECT_EQ("model", ReadFileBytes(m_dir / "progs/a.mdl"));

    // An existing file is kept when overwriting is off, and that counts as done.
    WriteFileBytes(m_dir / "progs/a.mdl", "mine");
    EXPECT_TRUE(m_pak.ExtractEntryBesidePak("\\progs\\a.mdl", false));
    EXPECT_EQ("mine", ReadFileBytes(m_dir / "progs/a.mdl"));
    EXPECT_TRUE(m_pak.ExtractEntryBesidePak("progs/a.mdl", true));
    EXPECT_EQ("model", ReadFileBytes(m_dir / "progs/a.mdl"));
}

TEST_F(Extracting, ToAFolderAndWholeFolders)
{
    Open(Sample());
    ASSERT_TRUE(m_pak.ExtractEntryTo("maps/dm/dm1.bsp", m_out.Path(), false));
    EXPECT_EQ("dm", ReadFileBytes(Out("maps/dm/dm1.bsp")));
    ASSERT_TRUE(m_pak.ExtractEntry("readme.txt", Out("maps"), false));
    EXPECT_EQ("hi", ReadFileBytes(Out("maps/readme.txt")));

    TempDir all;
    PakProgress last;
    ASSERT_TRUE(m_pak.ExtractFolderTo("", all.Path(), false, [&](const PakProgress& p) {
        last = p;
        return true;
    }));
    EXPECT_EQ(5u, last.itemsDone);
    EXPECT_EQ(5u, last.itemsTotal);
    EXPECT_EQ(14u, last.bytesTotal);
    EXPECT_EQ("level", ReadFileBytes(all / "maps/e1m1.bsp"));
    EXPECT_EQ("", ReadFileBytes(all / "empty.txt"));
    EXPECT_TRUE(fs::is_regular_file(all / "empty.txt"));

    EXPECT_FALSE(m_pak.ExtractEntryTo("missing.txt", m_out.Path(), false));
    EXPECT_TRUE(m_pak.ExtractFolderTo("nothing", m_out.Path(), false));
}

TEST_F(Extracting, RelativeStartsAtTheFoldersOwnName)
{
    Open(Sample());
    ASSERT_TRUE(m_pak.ExtractFolderRelative("maps/dm", m_out.Path(), false));
    EXPECT_EQ("dm", ReadFileBytes(Out("dm/dm1.bsp")));
    EXPECT_FALSE(fs::exists(Out("maps")));
    ASSERT_TRUE(m_pak.ExtractFolderRelative("maps/", m_out.Path(), false));
    EXPECT_EQ("level", ReadFileBytes(Out("maps/e1m1.bsp")));

    EXPECT_FALSE(m_pak.ExtractFolderRelative("", m_out.Path(), false));
    EXPECT_EQ(errBadPath, m_pak.GetError());
}

TEST_F(Extracting, AFileInTheWayOfAFolderFailsEveryEntryBeneathIt)
{
    Open(Sample());
    WriteFileBytes(Out("maps"), "not a folder");
    EXPECT_FALSE(m_pak.ExtractFolderTo("maps", m_out.Path(), true));
    EXPECT_EQ(errFolderConflict, m_pak.GetError());
    EXPECT_FALSE(m_pak.ExtractFolderRelative("maps/dm", Out("maps"), true));
    EXPECT_FALSE(m_pak.ExtractEntryTo("maps/e1m1.bsp", m_out.Path(), true));
    EXPECT_EQ(errFolderConflict, m_pak.GetError());
    EXPECT_FALSE(m_pak.IsFatalError());
    // The other entries go on.
    EXPECT_FALSE(m_pak.ExtractFolderTo("", m_out.Path(), true));
    EXPECT_EQ("model", ReadFileBytes(Out("progs/a.mdl")));
}

TEST_F(Extracting, AFailedWriteKeepsTheFileThatWasThere)
{
    Open(Sample());
    WriteFileBytes(Out("a.mdl"), "precious");
    CFaultyFileSystem failing;
    CPakArchive pak(failing);
    m_pak.ClosePak();
    ASSERT_TRUE(pak.OpenPak(m_path));
    failing.FailWriteOnce(1, FileCause::diskFull);  // the data write of the temporary file
    EXPECT_FALSE(pak.ExtractEntry("progs/a.mdl", m_out.Path(), true));
    EXPECT_EQ(errDiskFull, pak.GetError());
    EXPECT_TRUE(pak.IsFatalError());
    EXPECT_EQ("precious", ReadFileBytes(Out("a.mdl")));
    // No temporary file is left behind.
    EXPECT_EQ(1, std::distance(fs::directory_iterator(m_out.Path()), fs::directory_iterator()));
}

TEST_F(Extracting, ReadsWholeEntriesIntoMemory)
{
    Open(Sample());
    EXPECT_EQ(5u, m_pak.ReadEntryByName("maps/e1m1.bsp", nullptr));
    std::string buffer(5, '\0');
    EXPECT_EQ(5u, m_pak.ReadEntryByName("\\maps\\e1m1.bsp", buffer.data()));
    EXPECT_EQ("level", buffer);
    EXPECT_EQ(0u, m_pak.ReadEntryByName("empty.txt", buffer.data()));
    EXPECT_EQ(0u, m_pak.ReadEntryByName("missing", buffer.data()));
}

namespace {

// Names another tool may have written, each trying to leave the folder.
const char* const kHostileNames[] = {"../x", "a/../../x", "/abs", "\\abs", "C:\\x", "a\\..\\..\\x", ".", "a//b", "..", "a/./b"};

class HostileNames : public PakFixture, public ::testing::WithParamInterface<int> {};

// Every file below `root`, relative to it.
std::vector<std::string> FilesBelow(const std::string& root)
{
    std::vector<std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(root))
        if (!item.is_directory()) files.push_back(fs::relative(item.path(), root).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST_P(HostileNames, NothingLandsOutsideTheTarget)
{
    // The target lies two levels down, so that "../x" and "../../x" would land in
    // folders we can watch.
    PakBuilder builder;
    for (const char* name : kHostileNames) builder.File(name, "evil");
    builder.File("ok/good.txt", "good").File("ok/../../../y", "evil");
    Open(builder);
    const std::string watch = m_dir / "watch";
    const std::string target = watch + "/one/two";
    fs::create_directories(target);
    const int operation = GetParam();

    bool result = true;
    switch (operation) {
    case 0: result = m_pak.ExtractFolderTo("", target, true); break;
    case 1: result = m_pak.ExtractFolderRelative("ok", target, true); break;
    case 2:
        for (const char* name : kHostileNames) result &= m_pak.ExtractEntryTo(name, target, true);
        break;
    case 3:
        for (const char* name : kHostileNames) result &= m_pak.ExtractEntry(name, target, true);
        break;
    case 4: {
        // Beside the pak: the pak itself sits in the target folder.
        const std::string pak = target + "/t.pak";
        builder.WriteTo(pak);
        CPakArchive inside;
        ASSERT_TRUE(inside.OpenPak(pak));
        result = inside.ExtractFolderBesidePak("", true);
        for (const char* name : kHostileNames) result &= inside.ExtractEntryBesidePak(name, true);
        break;
    }
    }
    EXPECT_FALSE(result);
    for (const std::string& file : FilesBelow(watch)) {
        EXPECT_TRUE(file.starts_with("one/two/")) << file;
        if (file != "one/two/t.pak") {
            EXPECT_NE("evil", ReadFileBytes(watch + "/" + file)) << file;
        }
    }
    EXPECT_FALSE(fs::exists("/abs"));
    EXPECT_FALSE(fs::exists(m_dir / "x"));
}

std::string OperationName(const ::testing::TestParamInfo<int>& info)
{
    static const char* const names[] = {"FolderTo", "FolderRelative", "EntryTo", "Entry", "BesidePak"};
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(EveryExtraction, HostileNames, ::testing::Range(0, 5), OperationName);

TEST_F(Extracting, HostileNamesFailWithInvalidFilename)
{
    Open(PakBuilder().File("../x", "evil").File("a\\..\\..\\x", "evil"));
    EXPECT_FALSE(m_pak.ExtractEntryTo("../x", m_out.Path(), true));
    EXPECT_EQ(errBadName, m_pak.GetError());
    EXPECT_FALSE(m_pak.ExtractEntry("a\\..\\..\\x", m_out.Path(), true));
    EXPECT_EQ(errBadName, m_pak.GetError());
}

TEST_F(Extracting, SymbolicLinksInTheTargetAreNotFollowedOut)
{
#ifdef _WIN32
    GTEST_SKIP() << "making symbolic links needs a privilege on Windows";
#else
    Open(Sample());
    TempDir elsewhere;
    // A folder level that is a link to somewhere else.
    ASSERT_EQ(0, ::symlink(elsewhere.Path().c_str(), Out("maps").c_str()));
    EXPECT_FALSE(m_pak.ExtractEntryTo("maps/e1m1.bsp", m_out.Path(), true));
    EXPECT_EQ(errFolderConflict, m_pak.GetError());
    // A file that is a link: it is replaced by the entry, its target untouched.
    WriteFileBytes(elsewhere / "secret", "secret");
    ASSERT_EQ(0, ::symlink((elsewhere / "secret").c_str(), Out("readme.txt").c_str()));
    EXPECT_TRUE(m_pak.ExtractEntry("readme.txt", m_out.Path(), true));
    EXPECT_EQ("secret", ReadFileBytes(elsewhere / "secret"));
    EXPECT_FALSE(fs::is_symlink(Out("readme.txt")));
    EXPECT_EQ("hi", ReadFileBytes(Out("readme.txt")));
    EXPECT_TRUE(FilesBelow(elsewhere.Path()) == std::vector<std::string>{"secret"});
#endif
}

TEST_F(Extracting, OneByOneExtractionsNeverTrustFoldersFromEarlierCalls)
{
    Open(Sample());
    ASSERT_TRUE(m_pak.ExtractEntryTo("maps/e1m1.bsp", m_out.Path(), true));
    fs::remove_all(Out("maps"));
    EXPECT_TRUE(m_pak.ExtractEntryTo("maps/e1m1.bsp", m_out.Path(), true)) << m_pak.GetErrorText();
    EXPECT_EQ("level", ReadFileBytes(Out("maps/e1m1.bsp")));
}

TEST_F(Extracting, NamesStoredWithBackslashesAreFoundAndLandInFolders)
{
    Open(PakBuilder().File("maps\\e1m1.bsp", "level").File("x.txt", "x"));
    ASSERT_TRUE(m_pak.ExtractEntryTo("maps\\e1m1.bsp", m_out.Path(), false));
    EXPECT_EQ("level", ReadFileBytes(Out("maps/e1m1.bsp")));
    EXPECT_EQ(5u, m_pak.ReadEntryByName("maps\\e1m1.bsp", nullptr));
    EXPECT_EQ(1, m_pak.GetEntrySizeKB("maps\\e1m1.bsp"));
    ASSERT_TRUE(m_pak.RenameEntryByName("maps\\e1m1.bsp", "maps/e1m2.bsp"));
    ASSERT_TRUE(m_pak.GibEntryByName("maps/e1m2.bsp", true));
    EXPECT_EQ(1u, OnDisk().entries.size());
}

TEST_F(Extracting, EveryFailedItemIsReported)
{
    Open(PakBuilder().File("../x", "evil").File("ok.txt", "ok").File("maps/a.bsp", "a"));
    WriteFileBytes(Out("maps"), "in the way");
    std::vector<std::pair<std::string, int>> failed;
    m_pak.SetItemFailureReporter([&](const std::string& item, int code) { failed.emplace_back(item, code); });
    EXPECT_FALSE(m_pak.ExtractFolderTo("", m_out.Path(), true));
    EXPECT_EQ((std::vector<std::pair<std::string, int>>{{"../x", errBadName}, {"maps/a.bsp", errFolderConflict}}), failed);
}
