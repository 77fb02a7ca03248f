// Paks and names built to do harm: layouts where a write would land on the
// header or on claimed bytes, names that reduce to the root or that a disk
// could never hold both of, and a full disk in the middle of a change.
#include "pak_fixture.h"

#include "pak_names.h"

#include <functional>

using namespace vantor;
using namespace vantor::test;
namespace fs = std::filesystem;

namespace {

class Hostile : public PakFixture {};

// A header whose directory of one record starts at `dirOffset` (< 12), the
// record's data right behind it.
std::string DirectoryOverHeader(std::uint32_t dirOffset)
{
    std::string bytes(dirOffset + kPakEntrySize, '\0');
    bytes.replace(0, 4, "PACK");
    PakBuilder::PutU32(bytes, 4, dirOffset);
    PakBuilder::PutU32(bytes, 8, kPakEntrySize);
    PakBuilder::PutU32(bytes, dirOffset + 56, static_cast<std::uint32_t>(bytes.size()));
    PakBuilder::PutU32(bytes, dirOffset + 60, 4);
    return bytes + "data";
}

}  // namespace

TEST_F(Hostile, LayoutsAWriteCouldDamageRefuseEveryChange)
{
    const std::vector<std::pair<const char*, std::string>> layouts = {
        {"directory at 0", DirectoryOverHeader(0)},
        {"directory at 4", DirectoryOverHeader(4)},
        {"entry over the header", PakBuilder().File("a.txt", "aaaa").Record("h.bin", 0, 20).Build()},
        {"entry over the directory", PakBuilder().File("a.txt", "aaaa").Record("d.bin", 16, 10).Build()},
    };
    const std::string file = Source("B.TXT", "new data");
    for (const auto& [what, bytes] : layouts) {
        OpenBytes(bytes);
        const std::string name(m_pak.GetEntries().front().Name());
        const std::vector<std::pair<const char*, std::function<bool()>>> changes = {
            {"add", [&] { return m_pak.AddFileFromDisk(file, "", false); }},
            {"gib", [&] { return m_pak.GibEntryByName(name, true); }},
            {"gib folder", [&] { return m_pak.GibFolder("maps"); }},
            {"rename", [&] { return m_pak.RenameEntryByName(name, "c.txt"); }},
            {"new folder", [&] { return m_pak.CreateFolder("new"); }},
        };
        for (const auto& [change, run] : changes) {
            EXPECT_FALSE(run()) << what << ": " << change;
            EXPECT_EQ(errBadDirectory, m_pak.GetError()) << what << ": " << change;
            EXPECT_EQ(bytes, Bytes()) << what << ": " << change;
        }
    }
}

TEST_F(Hostile, APakAnotherProgramRewroteIsNeverWrittenAgain)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows lets no other program write or truncate a pak an archive holds";
#endif
    // In place, as `cat other.pak > shown.pak` or `truncate` do: the path
    // still names the file we hold, only its bytes are someone else's.
    const std::string other = PakBuilder().File("other.txt", "another program's pak").Build();
    const std::vector<std::pair<const char*, std::function<void()>>> rewrites = {
        {"rewritten in place", [&] { WriteFileBytes(m_path, other); }},
        {"truncated", [&] { fs::resize_file(m_path, 2000); }},
    };
    const std::string file = Source("NEW.TXT", "new data");
    const auto gibLater = [&] {
        m_pak.BeginBatch();
        ASSERT_TRUE(m_pak.GibEntryByName("a.txt", false));
    };
    const struct {
        const char* what;
        std::function<void()> before;  // our own changes, before the rewrite
        std::function<bool()> change;
    } changes[] = {
        {"add", {}, [&] { return m_pak.AddFileFromDisk(file, "", false); }},
        {"gib", {}, [&] { return m_pak.GibEntryByName("a.txt", true); }},
        {"rename", {}, [&] { return m_pak.RenameEntryByName("a.txt", "c.txt"); }},
        {"new folder", {}, [&] { return m_pak.CreateFolder("new"); }},
        {"restore", [&] { ASSERT_TRUE(m_pak.GibEntryByName("a.txt", true)); }, [&] { return m_pak.RestoreByName("a.txt"); }},
        {"compact", [&] { ASSERT_TRUE(m_pak.RecoverUnusedSpace()); }, [&] { return m_pak.RecoverUnusedSpace(); }},
        {"close with a batch pending", gibLater, [&] { return m_pak.ClosePak(); }},
    };
    for (const auto& [rewrite, run] : rewrites) {
        for (const auto& c : changes) {
            SCOPED_TRACE(std::string(rewrite) + ", then " + c.what);
            Open(PakBuilder().File("a.txt", "aaaa").Gap(3000).File("maps/b.bsp", "bbbb"));
            if (c.before) c.before();
            // Our own writes never count as another program's.
            EXPECT_FALSE(m_pak.HasChangedOnDisk());
            run();
            const std::string outside = Bytes();
            EXPECT_TRUE(m_pak.HasChangedOnDisk());
            EXPECT_EQ(errPakInaccessible, m_pak.GetRecoveryRefusal());
            EXPECT_FALSE(c.change());
            EXPECT_EQ(errPakInaccessible, m_pak.GetError());
            EXPECT_EQ(outside, Bytes());
            // Reading may fail, but never past what the file now holds.
            char data[4];
            m_pak.ReadEntryByName("maps/b.bsp", data);
            m_pak.ClosePak();
            EXPECT_EQ(outside, Bytes());
        }
    }
}

TEST_F(Hostile, NewDataNeverLandsOnBytesAnEntryClaims)
{
    // A truncated pak: far.bin claims 1000 bytes from where the file ends.
    Open(PakBuilder().Directory().File("a.txt", "aaaa").Record("far.bin", 144, 1000));
    ASSERT_TRUE(m_pak.AddFileFromDisk(Source("B.TXT", "new data"), "", false));
    const ParsedPak pak = OnDisk();
    EXPECT_GE(pak.entries[2].offset, 144u + 1000u);
    EXPECT_EQ("new data", pak.entries[2].data);
    EXPECT_EQ(std::string::npos, pak.entries[1].data.find("new data"));

    // A claim that reaches past the size limit cannot be cleared at all.
    Open(PakBuilder().Directory().File("a.txt", "aaaa").Record("far.bin", 144, 0xFFFFFF00u));
    const std::string before = Bytes();
    EXPECT_FALSE(m_pak.AddFileFromDisk(Source("B.TXT", "new data"), "", false));
    EXPECT_EQ(errBadDirectory, m_pak.GetError());
    EXPECT_EQ(before, Bytes());
}

TEST_F(Hostile, AFailedAddLeavesThePakAsItWas)
{
    // Each write of the add (and of the batch's commit) fails in turn. An
    // add that fails leaves the pak byte for byte as it was, never longer.
    const std::string original = PakBuilder().File("a.txt", "aaaa").File("maps/b.bsp", std::string(300, 'b')).Build();
    const std::string file = Source("C.TXT", std::string(5000, 'c'));
    for (const bool inBatch : {false, true}) {
        for (int k = 0;; ++k) {
            m_path = m_dir / "full.pak";
            WriteFileBytes(m_path, original);
            CFaultyFileSystem fileSystem;
            bool added = false;
            bool committed = true;
            {
                CPakArchive pak(fileSystem);
                ASSERT_TRUE(pak.OpenPak(m_path));
                fileSystem.FailWriteOnce(k, FileCause::diskFull);
                CPakBatch batch(pak);
                if (!inBatch) batch.End();
                added = pak.AddFileFromDisk(file, "", false);
                if (inBatch) committed = batch.End();
            }
            const std::string bytes = Bytes();
            if (!added && committed) {
                EXPECT_EQ(original.size(), bytes.size()) << (inBatch ? "batch, " : "") << "disk full at write " << k;
                EXPECT_TRUE(original == bytes) << (inBatch ? "batch, " : "") << "disk full at write " << k;
            }
            if (added && committed && fileSystem.WriteCount() <= k) break;
        }
    }

    // After a gib still pending, the new directory is exactly as long, at
    // the same place, as the one on disk: a failed commit must still not
    // count as one that landed.
    for (int k = 0; k < 8; ++k) {
        m_path = m_dir / "same.pak";
        WriteFileBytes(m_path, original);
        CFaultyFileSystem fileSystem;
        CPakArchive pak(fileSystem);
        ASSERT_TRUE(pak.OpenPak(m_path));
        ASSERT_TRUE(pak.GibEntryByName("a.txt", false));
        fileSystem.FailWriteOnce(k, FileCause::diskFull);
        const bool made = pak.CreateFolder("x");
        // What it reported is what the disk says, before anything else runs.
        const auto names = OnDisk().Contents();
        EXPECT_EQ(made, std::any_of(names.begin(), names.end(), [](const auto& e) { return e.first == "x/temp.tmp"; }))
            << "disk full at write " << k;
    }
}

TEST_F(Hostile, NamesThatReduceToTheRootAreNoFolder)
{
    Open(PakBuilder().File("a.txt", "aaaa").File("maps/b.bsp", "bb"));
    const std::string before = Bytes();
    for (const char* root : {"", "/", "//", "\\/", "C:///", "C:\\"}) {
        EXPECT_TRUE(IsRootName(root)) << root;
        EXPECT_FALSE(m_pak.GibFolder(root)) << root;
        EXPECT_EQ(errBadName, m_pak.GetError()) << root;
        EXPECT_FALSE(m_pak.CreateFolder(root)) << root;
        EXPECT_EQ(errBadName, m_pak.GetError()) << root;
        EXPECT_FALSE(m_pak.RenameFolder(root, "x")) << root;
        EXPECT_FALSE(m_pak.RenameFolder("maps", root)) << root;
        EXPECT_EQ(errBadName, m_pak.GetError()) << root;
    }
    EXPECT_EQ(before, Bytes());
    EXPECT_FALSE(IsRootName("C:/a"));
}

TEST_F(Hostile, OnlyLevelsThatChangeMeetTheShortNameRule)
{
    // Names another tool wrote: neither level is an 8.3 name.
    Open(PakBuilder().File("longfoldername/e1m1@c49d.ent", "ent").File("a.txt", "a"));
    const std::string b = Source("B.TXT", "b");
    EXPECT_TRUE(m_pak.AddFileFromDisk(b, "longfoldername", false));
    EXPECT_TRUE(m_pak.CreateFolder("longfoldername/sub"));
    EXPECT_TRUE(m_pak.RenameFolder("longfoldername", "lvl"));
    EXPECT_TRUE(m_pak.RenameEntryByName("lvl/e1m1@c49d.ent", "maps/e1m1@c49d.ent"));
    EXPECT_NE(-1, m_pak.FindEntry("lvl/B.TXT"));

    const std::string before = Bytes();
    const std::vector<std::pair<const char*, std::function<bool()>>> refused = {
        {"add --to", [&] { return m_pak.AddFileFromDisk(b, "verylongfoldername", false); }},
        {"mkdir", [&] { return m_pak.CreateFolder("verylongfoldername"); }},
        {"mv folder", [&] { return m_pak.RenameFolder("lvl", "yetanotherlong"); }},
        {"mv entry", [&] { return m_pak.RenameEntryByName("a.txt", "longname.text"); }},
    };
    for (const auto& [what, run] : refused) {
        EXPECT_FALSE(run()) << what;
        EXPECT_EQ(errBadName, m_pak.GetError()) << what;
    }
    EXPECT_EQ(before, Bytes());

    // A folder moves whole or not at all: one name too long stops them all.
    Open(PakBuilder().File("a/x.txt", "x").File("a/bbbbbbbb/cccccccc/dddddddd/eeeeeeee/ffffffff/g.txt", "g"));
    const std::string whole = Bytes();
    EXPECT_FALSE(m_pak.RenameFolder("a", "gggggggg"));
    EXPECT_EQ(errPathTooLong, m_pak.GetError());
    EXPECT_EQ(whole, Bytes());
}

TEST_F(Hostile, AFileAndAFolderOfOneNameAreNeverMade)
{
    Open(PakBuilder().File("maps/a.txt", "a").File("b.txt", "b"));
    const std::string before = Bytes();
    const std::string maps = Source("maps", "file named like the folder");
    const std::string c = Source("C.TXT", "c");
    fs::create_directories(m_src / "b.txt");
    WriteFileBytes(m_src / "b.txt/D.TXT", "d");
    const std::vector<std::pair<const char*, std::function<bool()>>> clashes = {
        {"file over folder", [&] { return m_pak.AddFileFromDisk(maps, "", false); }},
        {"folder over file", [&] { return m_pak.AddFileFromDisk(c, "b.txt", false); }},
        {"disk folder over file", [&] { return m_pak.ImportFolder(m_src / "b.txt", "", false); }},
        {"mkdir over file", [&] { return m_pak.CreateFolder("b.txt/sub"); }},
        {"rename onto folder", [&] { return m_pak.RenameEntryByName("b.txt", "maps"); }},
        {"rename beneath file", [&] { return m_pak.RenameEntryByName("maps/a.txt", "b.txt/a.txt"); }},
        {"move folder onto file", [&] { return m_pak.RenameFolder("maps", "b.txt"); }},
    };
    for (const auto& [what, run] : clashes) {
        EXPECT_FALSE(run()) << what;
        EXPECT_EQ(errNameExists, m_pak.GetError()) << what;
    }
    EXPECT_EQ(before, Bytes());

    // A pak from elsewhere that holds such a pair still opens and lists.
    Open(PakBuilder().File("c.txt", "c").File("c.txt/d.txt", "d"));
    StringArray files;
    EXPECT_EQ(1, m_pak.ListFolderFiles("c.txt", files));
}

TEST_F(Hostile, NamesStoredWithBackslashesBehaveAsFolders)
{
    Open(PakBuilder().File("maps\\a.bsp", "A").File("maps\\sub\\b.bsp", "B").File("z.txt", "z"));
    EXPECT_EQ(0, m_pak.FindEntryByName("maps/a.bsp"));
    EXPECT_TRUE(m_pak.FolderExists("", "maps"));
    StringArray files, folders;
    m_pak.ListFolderFiles("maps", files);
    m_pak.ListSubfolders("maps", folders);
    EXPECT_EQ(StringArray{"a.bsp"}, files);
    EXPECT_EQ(StringArray{"sub"}, folders);
    std::vector<std::uint32_t> records;
    m_pak.ListFolderRecords("maps/", records);
    EXPECT_EQ((std::vector<std::uint32_t>{0, 1}), records);

    // A folder given with '\\' is the same folder.
    ASSERT_TRUE(m_pak.AddFileFromDisk(Source("C.TXT", "c"), "maps\\sub", false));
    ASSERT_TRUE(m_pak.AddFileFromDisk(Source("D.TXT", "d"), "new\\dir", false));
    ASSERT_TRUE(m_pak.RenameFolder("maps", "lvl"));
    EXPECT_EQ((std::vector<std::string>{"lvl/a.bsp", "lvl/sub/b.bsp", "z.txt", "lvl/sub/C.TXT", "new/dir/D.TXT"}),
              LiveNames());
    ASSERT_TRUE(m_pak.GibFolder("lvl/sub"));
    EXPECT_EQ((std::vector<std::string>{"lvl/a.bsp", "z.txt", "new/dir/D.TXT"}), LiveNames());

    // One name stored both ways would become one name twice: no move.
    Open(PakBuilder().File("maps/dm/f.bsp", "1").File("maps\\dm\\f.bsp", "2"));
    const std::string before = Bytes();
    EXPECT_FALSE(m_pak.RenameFolder("maps", "new"));
    EXPECT_EQ(errNameExists, m_pak.GetError());
    EXPECT_EQ(before, Bytes());
}

TEST_F(Hostile, ExtractionSparesThePakAndGoesOnPastADamagedEntry)
{
    // An entry named like the pak, extracted beside it, would replace it.
    m_path = m_dir / "p.pak";
    PakBuilder().File("p.pak", "not a pak").File("far.bin", "").File("ok.txt", "ok").WriteTo(m_path);
    {
        std::string bytes = ReadFileBytes(m_path);
        PakBuilder::PutU32(bytes, PakBuilder::GetU32(bytes, 4) + 64 + 56, 5);    // far.bin starts at 5 ...
        PakBuilder::PutU32(bytes, PakBuilder::GetU32(bytes, 4) + 64 + 60, 9999);  // ... and runs past the end
        WriteFileBytes(m_path, bytes);
    }
    const std::string before = Bytes();
    ASSERT_TRUE(m_readOnly.OpenPakReadOnly(m_path));
    std::vector<std::pair<std::string, int>> failed;
    m_readOnly.SetItemFailureReporter([&](const std::string& item, int code) { failed.emplace_back(item, code); });
    EXPECT_FALSE(m_readOnly.ExtractFolderBesidePak("", true));
    EXPECT_EQ(before, Bytes());
    EXPECT_EQ("ok", ReadFileBytes(m_dir / "ok.txt"));
    EXPECT_EQ((std::vector<std::pair<std::string, int>>{{"far.bin", errEndOfFile}, {"p.pak", errSharingViolation}}), failed);
}
