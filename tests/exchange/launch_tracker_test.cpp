// The launch tracker: saves written back only once the copy has been still,
// and which launches may give their folders up.
#include "launch_tracker.h"

#include <QFile>
#include <QTemporaryDir>


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

}  // namespace
