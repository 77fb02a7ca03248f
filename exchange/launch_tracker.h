// CLaunchTracker: the entries opened in other programs, in launch order,
// with their extracted copies and what has become of them. A copy is
// watched for as long as its pak is loaded, not only while its process
// runs: most editors hand a file to a copy of themselves already running
// and end at once, and the user's saves come later.
#pragma once

#include "launched_process.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantor {

// Enough of a file's state to notice any save: editors that write in place
// change the time and size, those that write a new file and rename it
// change the identity too.
struct CFileStamp {
    bool bExists = false;
    std::int64_t nModifiedNs = 0;
    std::int64_t nSize = 0;
    std::uint64_t nDevice = 0;
    std::uint64_t nInode = 0;

    bool operator==(const CFileStamp&) const = default;
};

// The stamp of the file at path (links followed); bExists false when there
// is no such file.
CFileStamp StampOf(const std::string& path);

// The stamp of a freshly extracted copy, opening it for reading first so
// that a copy the program could not read is caught before it starts.
enum class StampResult { ok, cannotOpen, cannotQuery };
StampResult ReadLaunchStamp(const std::string& path, CFileStamp& stamp);

// Makes the next free launch folder "shellexec0" … "shellexec99" inside
// root, for this user only. A name is free when nothing of that name
// exists, so folders an earlier run left behind keep their numbers.
enum class LaunchFolderResult { made, failed, allTaken };
LaunchFolderResult CreateLaunchFolder(const std::string& root, std::string& folder);
inline constexpr int kMaxLaunchFolders = 100;

class CLaunchTracker {
public:
    using Clock = std::chrono::steady_clock;
    // How long a changed copy must stay still before it is written back:
    // editors write in several steps.
    static constexpr std::chrono::milliseconds kSettleTime{500};

    struct CLaunch {
        std::string tempPath;       // the extracted copy, as the disk knows it
        std::string entryPath;      // its entry's pak path
        std::string launchFolder;   // the shellexec folder that holds the copy
        std::shared_ptr<CLaunchedProcess> process;
        CFileStamp launchTime;      // the copy as extracted, written back or declined
        CFileStamp seen;            // the copy when the poll last looked
        Clock::time_point seenSince;
        bool bEndReported = false;
        // A write-back failed: the edits live only in the copy, so its
        // folder outlives the launch.
        bool bKeepFolder = false;
    };

    // 0 when the new launch is the only one, 1 when others exist.
    int Add(std::shared_ptr<CLaunchedProcess> process, std::string tempPath, std::string entryPath,
            std::string launchFolder, const CFileStamp& launchTime);
    // Forgets launch i, keeping the order of the others: 2 when i is out of
    // range or none remains, else 1.
    int Remove(int i);
    // Launch i's texts; both empty when i is out of range.
    void Get(int i, std::string& tempPath, std::string& entryPath) const;
    // Get, then Remove; Remove's result.
    int Take(int i, std::string& tempPath, std::string& entryPath);

    // The lowest launch whose process has ended since the last call (each
    // end is reported once); -1 when none.
    int PollFinished();
    // Looks at every copy again; a copy that changed starts its settling
    // time anew.
    void Observe(Clock::time_point now);
    // The lowest launch whose copy differs from its launch time and has
    // been still for kSettleTime; -1 when none.
    int PollSettled(Clock::time_point now) const;
    // Whether launch i's copy differs from its launch time now.
    bool IsModified(int i) const;
    // The copy's state now counts as handled: written back or declined, or
    // its write-back failed (bKeepFolder: the edits live only there).
    void MarkHandled(int i, bool bKeepFolder);

    // Whether launch i's program may still have the file: its process
    // runs, or it was handed off and cannot be watched.
    bool IsOpen(int i) const;
    // Whether the 50 ms poll has anything to wait for: a process running
    // or a change settling. Ended launches are otherwise woken by changes
    // to their copies.
    bool NeedsPolling() const;
    // The oldest launch that can go to make room: its process ended and its
    // copy holds nothing unwritten. -1 when none.
    int FindFreeable() const;

    int GetCount() const { return static_cast<int>(m_launches.size()); }
    const CLaunch& At(int i) const { return m_launches[static_cast<std::size_t>(i)]; }

private:
    bool InRange(int i) const { return i >= 0 && i < GetCount(); }

    std::vector<CLaunch> m_launches;
};

}  // namespace vantor
