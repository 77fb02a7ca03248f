// Restoring gibbed entries as one batch: one commit for the whole run, and
// a commit that fails leaves memory saying what the file says.
#include "pak_fixture.h"

#include <functional>

using namespace vantor;
using namespace vantor::test;

namespace {

class RestoreBatch : public PakFixture {
protected:
    // a.txt stays live; the maps folder is gibbed and committed.
    void OpenWithGibbedMaps(CPakArchive& pak)
    {
        m_path = m_dir / "restore.pak";
        WriteFileBytes(m_path, PakBuilder()
                                   .File("a.txt", "aaaa")
                                   .File("maps/b.bsp", "bbbb")
                                   .File("maps/c.bsp", "cc")
                                   .File("maps/d.bsp", "ddddd")
                                   .Build());
        ASSERT_TRUE(pak.OpenPak(m_path)) << pak.GetErrorText();
        ASSERT_TRUE(pak.GibFolder("maps")) << pak.GetErrorText();
    }
    static std::vector<std::string> Names(const PakEntryArray& records)
    {
        std::vector<std::string> names;
        for (const PakEntry& e : records) names.emplace_back(e.Name());
        return names;
    }
    std::vector<std::string> NamesOnDisk() const
    {
        std::vector<std::string> names;
        for (const auto& e : OnDisk().Contents()) names.push_back(e.first);
        return names;
    }
};

}  // namespace

TEST_F(RestoreBatch, ARunIsOneCommitWhateverItsSize)
{
    const std::vector<std::vector<std::string>> runs = {
        {"maps/b.bsp"},
        {"maps/b.bsp", "maps/c.bsp"},
        {"maps/d.bsp", "maps/b.bsp", "maps/c.bsp"},
    };
    int writesForOne = -1;
    for (const auto& run : runs) {
        SCOPED_TRACE(run.size());
        CPakArchive pak(m_fs);
        OpenWithGibbedMaps(pak);
        m_fs.Reset();
        CPakBatch batch(pak);
        for (const std::string& name : run) ASSERT_TRUE(pak.RestoreByName(name)) << name << ": " << pak.GetErrorText();
        // Deferred: nothing reaches the file before the batch ends.
        EXPECT_EQ(0, m_fs.WriteCount());
        ASSERT_TRUE(batch.End()) << pak.GetErrorText();
        if (writesForOne < 0) writesForOne = m_fs.WriteCount();
        EXPECT_EQ(writesForOne, m_fs.WriteCount()) << "writes differ from a run of one name";

        const ParsedPak disk = OnDisk();
        const std::map<std::string, std::string> expected = {
            {"a.txt", "aaaa"}, {"maps/b.bsp", "bbbb"}, {"maps/c.bsp", "cc"}, {"maps/d.bsp", "ddddd"}};
        for (const std::string& name : run) {
            const auto it = std::find_if(disk.entries.begin(), disk.entries.end(), [&](const auto& e) { return e.name == name; });
            ASSERT_NE(disk.entries.end(), it) << name << " missing on disk";
            EXPECT_EQ(expected.at(name), it->data) << name;
        }
        EXPECT_EQ(1 + run.size(), disk.entries.size());
        EXPECT_EQ(NamesOnDisk(), Names(pak.GetEntries()));
    }
}

TEST_F(RestoreBatch, AFailedCommitLeavesMemoryAsTheFileHasIt)
{
    const std::vector<std::string> chosen = {"maps/c.bsp", "maps/b.bsp", "maps/d.bsp"};
    const std::string other = PakBuilder().File("other.txt", "another program's pak").Build();
    struct Fault {
        std::string what;
        std::function<void()> inject;
        int code;
        bool ourBytes;  // the file should hold its bytes from before the batch
    };
    std::vector<Fault> faults;
#ifndef _WIN32
    // Windows lets no other program write a pak an archive holds.
    faults.push_back({"rewritten in place by another program", [&] { WriteFileBytes(m_path, other); }, errPakInaccessible, false});
#endif
    // Disk full at each write of the commit in turn, while the commit fails.
    for (int k = 0; k < 12; ++k)
        faults.push_back({"disk full at write " + std::to_string(k), [this, k] { m_fs.FailWriteOnce(k, FileCause::diskFull); },
                          errDiskFull, true});

    int failures = 0;
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.what);
        m_fs.Reset();
        CPakArchive pak(m_fs);
        OpenWithGibbedMaps(pak);
        const std::string bytesBefore = Bytes();
        const auto liveBefore = Names(pak.GetEntries());
        const auto gibbedBefore = Names(pak.GetGibbed());
        const PakHeader headerBefore = pak.GetHeader();

        CPakBatch batch(pak);
        for (const std::string& name : chosen) ASSERT_TRUE(pak.RestoreByName(name)) << name;
        f.inject();
        if (batch.End()) continue;  // this write was not part of the commit
        ++failures;
        EXPECT_EQ(f.code, pak.GetError());
        if (!f.ourBytes) {
            EXPECT_EQ(other, Bytes());
        } else if (Bytes() != bytesBefore) {
            // The new header reached the disk and only tidying failed: the
            // run is in the file, and memory says so.
            EXPECT_EQ(NamesOnDisk(), Names(pak.GetEntries()));
            continue;
        }
        EXPECT_EQ(liveBefore, Names(pak.GetEntries()));
        EXPECT_EQ(gibbedBefore, Names(pak.GetGibbed()));
        StringArray gibbed;
        pak.GetGibbedNames(gibbed);
        EXPECT_EQ(gibbedBefore, gibbed);
        EXPECT_EQ(headerBefore.dirOffset, pak.GetHeader().dirOffset);
        EXPECT_EQ(headerBefore.dirLength, pak.GetHeader().dirLength);
        EXPECT_FALSE(pak.HasPendingChanges());
        for (const std::string& name : chosen) {
            EXPECT_LT(pak.FindEntryByName(name), 0) << name;
            EXPECT_GE(pak.FindDeletedEntry(name), 0) << name;
        }
        EXPECT_GE(pak.FindEntryByName("a.txt"), 0);
        if (f.ourBytes) {
            EXPECT_EQ(bytesBefore, Bytes());
            // Memory and file agree, so the same run succeeds once there is room.
            m_fs.Reset();
            CPakBatch again(pak);
            for (const std::string& name : chosen) ASSERT_TRUE(pak.RestoreByName(name)) << name;
            ASSERT_TRUE(again.End()) << pak.GetErrorText();
            EXPECT_EQ(NamesOnDisk(), Names(pak.GetEntries()));
            EXPECT_TRUE(pak.GetGibbed().empty());
        }
    }
    EXPECT_GE(failures, 3);
}
