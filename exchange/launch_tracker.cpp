#include "launch_tracker.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vantor {

namespace {

CFileStamp StampFrom(const struct stat& status)
{
    CFileStamp stamp;
    if (!S_ISREG(status.st_mode))
        return stamp;
    stamp.bExists = true;
    stamp.nModifiedNs = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    stamp.nSize = status.st_size;
    stamp.nDevice = status.st_dev;
    stamp.nInode = status.st_ino;
    return stamp;
}

}  // namespace

CFileStamp StampOf(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? StampFrom(status) : CFileStamp();
}

StampResult ReadLaunchStamp(const std::string& path, CFileStamp& stamp)
{
    // Never blocks, even on a FIFO put in the copy's place.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return StampResult::cannotOpen;
    struct stat status {};
    const bool bQueried = ::fstat(fd, &status) == 0;
    ::close(fd);
    stamp = bQueried ? StampFrom(status) : CFileStamp();
    return stamp.bExists ? StampResult::ok : StampResult::cannotQuery;
}

LaunchFolderResult CreateLaunchFolder(const std::string& root, std::string& folder)
{
    for (int n = 0; n < kMaxLaunchFolders; ++n) {
        const std::string path = root + "/shellexec" + std::to_string(n);
        struct stat status {};
        if (::lstat(path.c_str(), &status) == 0)
            continue;
        if (::mkdir(path.c_str(), 0700) == 0) {
            folder = path;
            return LaunchFolderResult::made;
        }
        // Taken between the look and the making: try the next number.
        if (errno != EEXIST)
            return LaunchFolderResult::failed;
    }
    return LaunchFolderResult::allTaken;
}

int CLaunchTracker::Add(std::shared_ptr<CLaunchedProcess> process, std::string tempPath, std::string entryPath,
                        std::string launchFolder, const CFileStamp& launchTime)
{
    CLaunch launch;
    launch.tempPath = std::move(tempPath);
    launch.entryPath = std::move(entryPath);
    launch.launchFolder = std::move(launchFolder);
    launch.process = std::move(process);
    launch.launchTime = launchTime;
    launch.seen = launchTime;
    launch.seenSince = Clock::now();
    m_launches.push_back(std::move(launch));
    return m_launches.size() == 1 ? 0 : 1;
}

int CLaunchTracker::Remove(int i)
{
    if (!InRange(i))
        return 2;
    m_launches.erase(m_launches.begin() + i);
    return m_launches.empty() ? 2 : 1;
}

void CLaunchTracker::Get(int i, std::string& tempPath, std::string& entryPath) const
{
    tempPath.clear();
    entryPath.clear();
    if (!InRange(i))
        return;
    tempPath = At(i).tempPath;
    entryPath = At(i).entryPath;
}

int CLaunchTracker::Take(int i, std::string& tempPath, std::string& entryPath)
{
    Get(i, tempPath, entryPath);
    return Remove(i);
}

int CLaunchTracker::PollFinished()
{
    for (int i = 0; i < GetCount(); ++i) {
        CLaunch& launch = m_launches[static_cast<std::size_t>(i)];
        if (launch.process && launch.process->bEnded && !launch.bEndReported) {
            launch.bEndReported = true;
            return i;
        }
    }
    return -1;
}

void CLaunchTracker::Observe(Clock::time_point now)
{
    for (CLaunch& launch : m_launches) {
        const CFileStamp stamp = StampOf(launch.tempPath);
        if (stamp != launch.seen) {
            launch.seen = stamp;
            launch.seenSince = now;
        }
    }
}

int CLaunchTracker::PollSettled(Clock::time_point now) const
{
    for (int i = 0; i < GetCount(); ++i) {
        const CLaunch& launch = At(i);
        // A copy that is gone for the moment (an editor between removing
        // the old file and renaming the new one into place) has nothing to
        // write yet.
        if (launch.seen.bExists && launch.seen != launch.launchTime && now - launch.seenSince >= kSettleTime)
            return i;
    }
    return -1;
}

bool CLaunchTracker::IsModified(int i) const
{
    if (!InRange(i))
        return false;
    const CFileStamp stamp = StampOf(At(i).tempPath);
    return stamp.bExists && stamp != At(i).launchTime;
}

void CLaunchTracker::MarkHandled(int i, bool bKeepFolder)
{
    if (!InRange(i))
        return;
    CLaunch& launch = m_launches[static_cast<std::size_t>(i)];
    launch.launchTime = StampOf(launch.tempPath);
    launch.seen = launch.launchTime;
    launch.bKeepFolder = bKeepFolder;
}

bool CLaunchTracker::IsOpen(int i) const
{
    if (!InRange(i))
        return false;
    const CLaunchedProcess* pProcess = At(i).process.get();
    return pProcess && (pProcess->bHandOff || !pProcess->bEnded);
}

bool CLaunchTracker::NeedsPolling() const
{
    for (const CLaunch& launch : m_launches) {
        const CLaunchedProcess* pProcess = launch.process.get();
        if (pProcess && !pProcess->bHandOff && !launch.bEndReported)
            return true;
        if (launch.seen.bExists && launch.seen != launch.launchTime)
            return true;
    }
    return false;
}

int CLaunchTracker::FindFreeable() const
{
    for (int i = 0; i < GetCount(); ++i) {
        const CLaunch& launch = At(i);
        if (!IsOpen(i) && launch.bEndReported && !launch.bKeepFolder && !IsModified(i))
            return i;
    }
    return -1;
}

}  // namespace vantor
