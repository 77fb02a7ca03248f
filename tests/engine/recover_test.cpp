// Measuring and recovering unused space.
#include "pak_fixture.h"

#include <fstream>
#include <functional>
#include <random>

using namespace vantor;
using namespace vantor::test;

namespace {

class UnusedSpace : public PakFixture {};
class Recovery : public PakFixture {
protected:
    // Every live entry with data is packed from offset 12 in offset order
    // (empty ones claim no bytes), then the directory, and the file ends
    // there.
    void ExpectPackedLayout() { ExpectPackedLayoutOf(m_pak); }
    void ExpectPackedLayoutOf(CPakArchive& archive)
    {
        const ParsedPak pak = OnDisk();
        std::vector<ParsedEntry> byOffset = pak.entries;
        std::stable_sort(byOffset.begin(), byOffset.end(), [](auto& a, auto& b) { return a.offset < b.offset; });
        std::uint64_t expected = 12;
        for (const ParsedEntry& e : byOffset) {
            if (e.length == 0) continue;
            EXPECT_EQ(expected, e.offset) << e.name;
            expected += e.length;
        }
        EXPECT_EQ(expected, pak.dirOffset);
        EXPECT_EQ(expected + pak.dirLength, FileLength());
        EXPECT_EQ(0, archive.GetUnusedSpaceKB());
    }
};

}  // namespace

TEST_F(UnusedSpace, CountsEveryByteOutsideHeaderDirectoryAndData)
{
    Open(PakBuilder().File("a", "x"));
    EXPECT_EQ(0, m_pak.GetUnusedSpaceKB());
    for (const auto& [gap, kb] : std::vector<std::pair<std::size_t, int>>{{1, 1}, {1023, 1}, {2047, 1}, {2048, 2}, {5000, 4}}) {
        Open(PakBuilder().Gap(gap / 2).File("a", "xyz").Gap(gap - gap / 2));
        EXPECT_EQ(kb, m_pak.GetUnusedSpaceKB()) << gap;
        EXPECT_EQ(gap, m_pak.GetUnusedSpaceBytes());
    }
    // Wherever the directory lies.
    Open(PakBuilder().Directory().Gap(100).File("a", "xyz").Gap(50));
    EXPECT_EQ(150u, m_pak.GetUnusedSpaceBytes());
}

TEST_F(UnusedSpace, EveryLayoutCountsWhatCheckCountsAndSaysWhetherRecoveryMayRun)
{
    // Bytes shared by records count once, bytes past the end not at all;
    // whether recovery may reclaim the rest is a question of its own.
    const std::string twoRecords = PakBuilder().File("a.txt", "hello").File("b.txt", "xyz").Build();
    std::string partRecord = twoRecords;
    PakBuilder::PutU32(partRecord, 8, 64 + 63);
    const struct {
        const char* what;
        std::string bytes;
        std::uint64_t unused;
        PakError refusal;
    } cases[] = {
        {"sound, with a gap", PakBuilder().File("a", "0123").Gap(3000).Build(), 3000, errGeneric},
        {"two records on the same bytes",
         PakBuilder().File("a", std::string(100, 'a')).Record("b", 12, 100).Gap(200000).Build(), 200000, errRecoverIncomplete},
        {"records that partly overlap", PakBuilder().File("a", "0123456789").Record("b", 15, 10).Gap(3000).Build(), 2997,
         errRecoverIncomplete},
        {"a record past the end", PakBuilder().File("a", "0123").Record("far", 100000, 10).Gap(3000).Build(), 3000,
         errRecoverIncomplete},
        {"a record on the header", PakBuilder().File("a", "0123").Record("header", 4, 4).Gap(3000).Build(), 3000,
         errRecoverIncomplete},
        // The stored directory counts in full, as it lies on disk; the
        // data of the part record that is not read is unused.
        {"a directory of one record and a part", partRecord, 4, errGeneric},
    };
    for (const auto& c : cases) {
        OpenBytes(c.bytes);
        EXPECT_EQ(c.unused, m_pak.GetUnusedSpaceBytes()) << c.what;
        EXPECT_EQ(c.refusal, m_pak.GetRecoveryRefusal()) << c.what;
        if (c.refusal == errGeneric) continue;
        EXPECT_FALSE(m_pak.RecoverUnusedSpace()) << c.what;
        EXPECT_EQ(c.refusal, m_pak.GetError()) << c.what;
        EXPECT_EQ(c.bytes, Bytes()) << c.what;
    }
}

TEST_F(UnusedSpace, EmptyDirectoryCountsTheWholeFileButTheHeader)
{
    Open(PakBuilder());
    EXPECT_EQ(0, m_pak.GetUnusedSpaceKB());
    Open(PakBuilder().File("a", std::string(500, 'a')));
    ASSERT_TRUE(m_pak.GibEntryByName("a", true));
    EXPECT_EQ(1, m_pak.GetUnusedSpaceKB());
}

TEST_F(UnusedSpace, AskingChangesNothing)
{
    // The status bar asks over and over: a name held twice must read the
    // same record, and the next commit write the same order, however often.
    Open(PakBuilder().Gap(4, 'x').File("a", "A1").Record("a", 12, 4).File("z", "zz"));
    EXPECT_EQ(0, m_pak.GetUnusedSpaceKB());
    EXPECT_EQ(0u, m_pak.GetUnusedSpaceBytes());
    char data[2] = {};
    ASSERT_EQ(2u, m_pak.ReadEntryByName("a", data));
    EXPECT_EQ("A1", std::string(data, 2));
    ASSERT_TRUE(m_pak.GibEntryByName("z", true));
    EXPECT_EQ(16u, OnDisk().entries[0].offset);
}

TEST_F(UnusedSpace, TheFigureFollowsEveryChange)
{
    // The figure is kept between asks; after each kind of change it must be
    // what the bytes on disk say.
    Open(PakBuilder().File("a", std::string(3000, 'a')).File("b/c", "ccc").Gap(10));
    const std::filesystem::path source = m_dir / "new.dat";
    std::ofstream(source, std::ios::binary) << std::string(5000, 'n');
    const std::pair<const char*, std::function<bool()>> steps[] = {
        {"gib", [&] { return m_pak.GibEntryByName("a", true); }},
        {"restore", [&] { return m_pak.RestoreByName("a"); }},
        {"add", [&] { return m_pak.AddFileFromDisk(source.string(), "b", false); }},
        {"replace", [&] { return m_pak.AddFileFromDisk(source.string(), "", true) && m_pak.AddFileFromDisk(source.string(), "", true); }},
        {"rename", [&] { return m_pak.RenameEntryByName("b/c", "b/d"); }},
        {"gib folder", [&] { return m_pak.GibFolder("b"); }},
        {"recover", [&] { return m_pak.RecoverUnusedSpace(); }},
    };
    for (const auto& [what, step] : steps) {
        const std::uint64_t before = m_pak.GetUnusedSpaceBytes();
        ASSERT_TRUE(step()) << what;
        const ParsedPak pak = OnDisk();
        std::uint64_t used = kPakHeaderSize + pak.dirLength;
        for (const ParsedEntry& entry : pak.entries)
            used += entry.length;
        EXPECT_EQ(pak.fileLength - used, m_pak.GetUnusedSpaceBytes()) << what << " (before: " << before << ")";
    }
}

TEST_F(Recovery, GibbingEverythingThenRecoveringLeavesTheEmptyPak)
{
    Open(PakBuilder().File("a", "aaa").File("b/c", "ccc"));
    ASSERT_TRUE(m_pak.GibEntryByName("a", false));
    ASSERT_TRUE(m_pak.GibFolder("b"));
    ASSERT_TRUE(m_pak.RecoverUnusedSpace());
    EXPECT_EQ(std::string("PACK\x0c\0\0\0\0\0\0\0", 12), Bytes());
    EXPECT_FALSE(m_pak.HasGibbedEntries());
}

TEST_F(Recovery, APakWithoutGapsKeepsItsBytes)
{
    Open(PakBuilder().File("a", "aaa").File("b/c", "ccc"));
    const std::string before = Bytes();
    ASSERT_TRUE(m_pak.RecoverUnusedSpace());
    EXPECT_EQ(before, Bytes());
}

TEST_F(Recovery, PacksForeignLayoutsAndForgetsGibbedEntries)
{
    const std::vector<PakBuilder> layouts = {
        PakBuilder().Directory().Gap(7).File("a", "AAAA").Gap(100).File("b/b", std::string(300, 'b')).File("c", ""),
        PakBuilder().File("a", "AAAA").Gap(20).Directory().Gap(3).File("b/b", std::string(300, 'b')).Gap(9),
        PakBuilder().Gap(64).File("big", std::string(9000, 'g')).File("z", "zz").Directory().Gap(1),
        PakBuilder().File("e1", "").Gap(10).File("e2", "").File("x", "xx").Record("far-empty", 99999, 0),
    };
    for (const PakBuilder& layout : layouts) {
        Open(layout);
        const auto before = OnDisk().Contents();
        m_pak.GibEntryByName("z", true);
        ASSERT_TRUE(m_pak.RecoverUnusedSpace()) << m_pak.GetErrorText();
        ExpectPackedLayout();
        EXPECT_FALSE(m_pak.HasGibbedEntries());
        auto after = OnDisk().Contents();
        auto expected = before;
        std::erase_if(expected, [](auto& e) { return e.first == "z"; });
        std::sort(after.begin(), after.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, after);
    }
}

TEST_F(Recovery, KeepsDirectoryOrderAndLeavesEmptyEntriesAlone)
{
    // Two records of one name, the first lying after the second: a lookup
    // must read the same one after packing. An empty record far out claims
    // no bytes, so it cannot push anything past the size limit.
    Open(PakBuilder().Gap(4, 'x').File("a", "A1").Record("a", 12, 4).Gap(10).File("z", "zz").Record("e", 0x7FFFFFF0u, 0));
    ASSERT_TRUE(m_pak.GibEntryByName("z", true));
    ASSERT_TRUE(m_pak.RecoverUnusedSpace()) << m_pak.GetErrorText();
    EXPECT_EQ((std::vector<std::string>{"a", "a", "e"}), LiveNames());
    const ParsedPak pak = OnDisk();
    EXPECT_EQ("A1", pak.entries[0].data);
    EXPECT_EQ("xxxx", pak.entries[1].data);
    EXPECT_EQ(0x7FFFFFF0u, pak.entries[2].offset);
    ExpectPackedLayout();
}

TEST_F(Recovery, RefusesOverlappingEntriesAndChangesNothing)
{
    Open(PakBuilder().File("a", "0123456789").Record("b", 15, 10).File("c", "cc").Gap(500));
    m_pak.GibEntryByName("c", true);
    const std::string bytes = Bytes();
    EXPECT_FALSE(m_pak.RecoverUnusedSpace());
    EXPECT_EQ(errRecoverIncomplete, m_pak.GetError());
    EXPECT_EQ(bytes, Bytes());
    EXPECT_TRUE(m_pak.HasGibbedEntries());

    Open(PakBuilder().File("a", "0123").Record("far", 100000, 10).Gap(300));
    EXPECT_FALSE(m_pak.RecoverUnusedSpace());
    EXPECT_EQ(errRecoverIncomplete, m_pak.GetError());
}

TEST_F(Recovery, ThousandsOfEntriesWithAThirdGibbedKeepEveryByte)
{
    std::mt19937 random(99);
    PakBuilder builder;
    for (int i = 0; i < 3000; ++i) {
        std::string data(random() % 3000, '\0');
        for (char& c : data) c = static_cast<char>(random());
        builder.File("d" + std::to_string(i % 17) + "/f" + std::to_string(i) + ".dat", data);
        if (i % 11 == 0) builder.Gap(random() % 200);
    }
    Open(builder);
    for (int i = 0; i < 3000; i += 3) ASSERT_TRUE(m_pak.GibEntryByName("d" + std::to_string(i % 17) + "/f" + std::to_string(i) + ".dat", false));
    ASSERT_TRUE(m_pak.CommitPending());
    auto before = OnDisk().Contents();
    std::uint64_t calls = 0;
    ASSERT_TRUE(m_pak.RecoverUnusedSpace([&](const PakProgress& p) {
        EXPECT_LE(p.bytesDone, p.bytesTotal);
        ++calls;
        return true;
    }));
    EXPECT_GT(calls, 0u);
    ExpectPackedLayout();
    auto after = OnDisk().Contents();
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(before, after);
}

TEST_F(Recovery, StoppedByProgressKeepsThePakWholeAndReportsIncomplete)
{
    PakBuilder builder;
    for (int i = 0; i < 50; ++i) builder.Gap(10).File("f" + std::to_string(i), std::string(40, static_cast<char>('a' + i % 26)));
    Open(builder);
    auto before = OnDisk().Contents();
    int calls = 0;
    EXPECT_FALSE(m_pak.RecoverUnusedSpace([&](const PakProgress&) { return ++calls < 20; }));
    EXPECT_EQ(errRecoverIncomplete, m_pak.GetError());
    auto after = OnDisk().Contents();
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(before, after);
    EXPECT_GT(m_pak.GetUnusedSpaceKB(), 0);
}

TEST_F(Recovery, DiskFullOnAnyWriteNeverLosesData)
{
    PakBuilder builder;
    for (int i = 0; i < 12; ++i) builder.Gap(30).File("f" + std::to_string(i), std::string(50 + i, static_cast<char>('a' + i)));
    const std::string original = builder.Build();
    for (int k = 0;; ++k) {
        m_path = m_dir / "full.pak";
        WriteFileBytes(m_path, original);
        CFaultyFileSystem fileSystem;
        bool done = false;
        bool stopped = false;
        {
            CPakArchive pak(fileSystem);
            ASSERT_TRUE(pak.OpenPak(m_path));
            fileSystem.FailWriteOnce(k, FileCause::diskFull);
            done = pak.RecoverUnusedSpace();
            if (!done) {
                EXPECT_TRUE(pak.GetError() == errDiskFull || pak.GetError() == errRecoverIncomplete) << k;
                stopped = pak.GetError() == errDiskFull;
            }
        }
        auto after = ParsePakFile(m_path);
        ASSERT_TRUE(after.has_value()) << k;
        // Stopped by the full disk, it keeps no byte past what the header
        // on disk needs.
        if (stopped) {
            std::uint64_t needed = std::uint64_t{after->dirOffset} + after->dirLength;
            for (const ParsedEntry& e : after->entries) needed = std::max<std::uint64_t>(needed, e.offset + e.length);
            EXPECT_EQ(needed, after->fileLength) << "a failed recovery left the pak long, disk full at write " << k;
        }
        auto expected = ParsePak(original)->Contents();
        auto contents = after->Contents();
        std::sort(expected.begin(), expected.end());
        std::sort(contents.begin(), contents.end());
        ASSERT_EQ(expected, contents) << "disk full at write " << k;
        if (done && fileSystem.WriteCount() <= k) break;
    }
}

namespace {

// Entries a few bytes apart, as tools that align their data leave them:
// almost every move is shorter than the entry it moves.
PakBuilder TinyGaps(int count, std::size_t length)
{
    PakBuilder builder;
    for (int i = 0; i < count; ++i)
        builder.File("f" + std::to_string(i) + ".dat", std::string(length, static_cast<char>('a' + i % 26))).Gap(1 + i % 3);
    return builder;
}

}  // namespace

TEST_F(Recovery, EntriesAFewBytesApartAreParkedTogetherNotCommittedOneByOne)
{
    const int count = 2000;
    TinyGaps(count, 1000).WriteTo(m_dir / "tiny.pak");
    m_path = m_dir / "tiny.pak";
    CFaultyFileSystem counting;
    CPakArchive pak(counting);
    ASSERT_TRUE(pak.OpenPak(m_path));
    const auto before = OnDisk().Contents();
    ASSERT_TRUE(pak.RecoverUnusedSpace());
    // Two copies of each entry (to the parking place and back) and a few
    // commits; one commit per entry would be three times as many writes.
    EXPECT_LT(counting.WriteCount(), 2 * count + 40);
    auto after = OnDisk().Contents();
    auto expected = before;
    std::sort(after.begin(), after.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, after);
    m_pak.ClosePak();
    ExpectPackedLayoutOf(pak);
}

TEST_F(Recovery, AChangeAfterAFailedRecoveryNeverOverwritesWhatTheDiskStillNeeds)
{
    // For every write of the recovery failing once, the next change (an add
    // that lands where old data lay) is then killed after each of its writes.
    const std::string original = TinyGaps(12, 300).File("big.bin", std::string(5000, 'B')).Gap(7).File("z.txt", "zz").Build();
    const std::string source = m_dir / "NEW.DAT";
    WriteFileBytes(source, std::string(2500, 'N'));
    const auto expected = [&] {
        auto contents = ParsePak(original)->Contents();
        std::sort(contents.begin(), contents.end());
        return contents;
    }();
    m_path = m_dir / "after.pak";
    for (int failAt = 0; failAt < 60; ++failAt) {
        for (int stopAt = 0; stopAt < 12; ++stopAt) {
            WriteFileBytes(m_path, original);
            {
                CFaultyFileSystem fileSystem;
                CPakArchive pak(fileSystem);
                ASSERT_TRUE(pak.OpenPak(m_path));
                fileSystem.FailWriteOnce(failAt, FileCause::diskFull);
                pak.RecoverUnusedSpace();
                fileSystem.Reset();
                fileSystem.StopAfterWrites(stopAt);
                pak.AddFileFromDisk(source, "", false);
            }
            const auto survived = ParsePakFile(m_path);
            ASSERT_TRUE(survived.has_value()) << failAt << "/" << stopAt;
            auto contents = survived->Contents();
            std::erase_if(contents, [](const auto& e) { return e.first == "NEW.DAT"; });
            std::sort(contents.begin(), contents.end());
            ASSERT_EQ(expected, contents) << "recovery failing at write " << failAt << ", add stopped after " << stopAt;
        }
    }
}
