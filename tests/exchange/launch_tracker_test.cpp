// The launch tracker: records in launch order, ends reported once, saves
// written back only once the copy has been still, and which launches may
// give their folders up.
#include "launch_tracker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace vantor;
using namespace std::chrono_literals;

namespace {

class LaunchTracker : public ::testing::Test {
protected:
    // A launch whose copy is a file of the test's folder.
    std::shared_ptr<CLaunchedProcess> Launch(const std::string& name, const std::string& text = "original")
    {
        const std::string path = Path(name);
        Write(path, text);
        auto process = std::make_shared<CLaunchedProcess>();
        m_tracker.Add(process, path, "maps/" + name, Path(""), StampOf(path));
        return process;
    }
    std::string Path(const std::string& name) const { return QFile::encodeName(m_folder.path()).toStdString() + "/" + name; }
    static void Write(const std::string& path, const std::string& text)
    {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }

    QTemporaryDir m_folder;
    CLaunchTracker m_tracker;
    const CLaunchTracker::Clock::time_point m_t0 = CLaunchTracker::Clock::now();
};

TEST_F(LaunchTracker, KeepsLaunchOrderAndReportsEachEndOnce)
{
    EXPECT_EQ(m_tracker.Add(nullptr, "/a", "a", "/", {}), 0);
    EXPECT_EQ(m_tracker.Add(nullptr, "/b", "b", "/", {}), 1);
    EXPECT_EQ(m_tracker.Add(nullptr, "/c", "c", "/", {}), 1);
    std::string temp, entry;
    EXPECT_EQ(m_tracker.Take(1, temp, entry), 1);
    EXPECT_EQ(temp + entry, "/bb");
    m_tracker.Get(1, temp, entry);
    EXPECT_EQ(entry, "c");
    m_tracker.Get(5, temp, entry);
    EXPECT_TRUE(temp.empty() && entry.empty());
    EXPECT_EQ(m_tracker.Remove(7), 2);
    EXPECT_EQ(m_tracker.Remove(0), 1);
    EXPECT_EQ(m_tracker.Remove(0), 2);

    auto first = Launch("a.txt");
    auto second = Launch("b.txt");
    EXPECT_EQ(m_tracker.PollFinished(), -1);
    EXPECT_TRUE(m_tracker.NeedsPolling());
    second->bEnded = true;
    first->bEnded = true;
    EXPECT_EQ(m_tracker.PollFinished(), 0);
    EXPECT_EQ(m_tracker.PollFinished(), 1);
    EXPECT_EQ(m_tracker.PollFinished(), -1);
    // Ended launches stay watched, but need no poll until their copies change.
    EXPECT_EQ(m_tracker.GetCount(), 2);
    EXPECT_FALSE(m_tracker.NeedsPolling());
}

TEST_F(LaunchTracker, ASaveIsWrittenBackOnceTheCopyHasBeenStill)
{
    Launch("e1m1.map");
    m_tracker.Observe(m_t0);
    EXPECT_FALSE(m_tracker.IsModified(0));
    EXPECT_EQ(m_tracker.PollSettled(m_t0 + 1s), -1);

    Write(Path("e1m1.map"), "first half");
    m_tracker.Observe(m_t0 + 100ms);
    EXPECT_TRUE(m_tracker.IsModified(0));
    EXPECT_TRUE(m_tracker.NeedsPolling());
    EXPECT_EQ(m_tracker.PollSettled(m_t0 + 400ms), -1);
    // Still being written: the time starts again.
    Write(Path("e1m1.map"), "first half, second half");
    m_tracker.Observe(m_t0 + 500ms);
    EXPECT_EQ(m_tracker.PollSettled(m_t0 + 700ms), -1);
    EXPECT_EQ(m_tracker.PollSettled(m_t0 + 1000ms), 0);

    m_tracker.MarkHandled(0, false);
    EXPECT_FALSE(m_tracker.IsModified(0));
    EXPECT_EQ(m_tracker.PollSettled(m_t0 + 5s), -1);

    // Saved as a new file renamed over the old one, with the same size.
    Write(Path("new"), "FIRST HALF, SECOND HALF");
    ASSERT_EQ(std::rename(Path("new").c_str(), Path("e1m1.map").c_str()), 0);
    EXPECT_TRUE(m_tracker.IsModified(0));
    // Between the removal of the old file and the new one's arrival there
    // is nothing to write.
    QFile::remove(QString::fromStdString(Path("e1m1.map")));
    m_tracker.Observe(m_t0 + 6s);
    EXPECT_FALSE(m_tracker.IsModified(0));
    EXPECT_EQ(m_tracker.PollSettled(m_t0 + 10s), -1);
}

TEST_F(LaunchTracker, OnlyEndedLaunchesWithNothingUnwrittenGiveTheirFoldersUp)
{
    auto running = Launch("running.txt");
    auto handedOff = Launch("handed.txt");
    handedOff->bHandOff = true;
    auto changed = Launch("changed.txt");
    auto failed = Launch("failed.txt");
    auto idle = Launch("idle.txt");
    for (auto* pProcess : {changed.get(), failed.get(), idle.get()})
        pProcess->bEnded = true;
    while (m_tracker.PollFinished() >= 0) {
    }
    Write(Path("changed.txt"), "edited");
    Write(Path("failed.txt"), "edited");
    m_tracker.MarkHandled(3, true);

    const bool open[] = {true, true, false, false, false};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(m_tracker.IsOpen(i), open[i]) << i;
    EXPECT_TRUE(m_tracker.At(3).bKeepFolder);
    EXPECT_EQ(m_tracker.FindFreeable(), 4);
    m_tracker.Remove(4);
    EXPECT_EQ(m_tracker.FindFreeable(), -1);
}

TEST_F(LaunchTracker, LaunchFoldersSkipTakenNumbersAndAreClosedToOthers)
{
    const std::string root = Path("");
    QDir().mkpath(m_folder.filePath("shellexec0"));
    QFile(m_folder.filePath("shellexec2")).open(QIODevice::WriteOnly);
    std::string folder;
    ASSERT_EQ(CreateLaunchFolder(root, folder), LaunchFolderResult::made);
    EXPECT_EQ(folder, root + "/shellexec1");
    struct stat status {};
    ASSERT_EQ(::stat(folder.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    ASSERT_EQ(CreateLaunchFolder(root, folder), LaunchFolderResult::made);
    EXPECT_EQ(folder, root + "/shellexec3");

    for (int n = 4; n < kMaxLaunchFolders; ++n)
        ASSERT_EQ(CreateLaunchFolder(root, folder), LaunchFolderResult::made);
    EXPECT_EQ(CreateLaunchFolder(root, folder), LaunchFolderResult::allTaken);
    EXPECT_EQ(CreateLaunchFolder(root + "/missing", folder), LaunchFolderResult::failed);
}

}  // namespace
