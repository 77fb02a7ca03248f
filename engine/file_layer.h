// The engine's only way to the disk: a small file-system interface whose
// every failure is one of fifteen causes. The POSIX implementation is the
// default; tests substitute layers that fail on purpose (a write that stops
// dead, a full disk) to prove what survives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantor {

enum class FileCause {
    none,
    generic,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile,
};

enum class OpenMode {
    read,             // existing file, reading only
    readWrite,        // existing file, reading and writing
    createTruncate,   // create or truncate, writing (with lock: truncated only once locked)
    createExclusive,  // create a file that must not exist yet (never through a link)
};

enum class FileKind { none, file, folder, symlink, other };

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct FileStatus {
    FileKind kind = FileKind::none;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;  // modification time, nanoseconds since the epoch
    std::int64_t changedNs = 0;   // status change time, likewise
    FileIdentity identity;
};

struct FolderItem {
    std::string name;
    FileKind kind = FileKind::none;  // symbolic links are reported as such, never followed
};

// One open file. Offsets are absolute; there is no file position.
class IFile {
public:
    virtual ~IFile() = default;
    // Reads up to count bytes; got < count only at the end of the file.
    virtual FileCause ReadAt(std::uint64_t offset, void* buffer, std::size_t count, std::size_t& got) = 0;
    virtual FileCause WriteAt(std::uint64_t offset, const void* buffer, std::size_t count) = 0;
    virtual FileCause GetLength(std::uint64_t& length) = 0;
    virtual FileCause SetLength(std::uint64_t length) = 0;
    // Makes everything written so far durable before anything written later.
    virtual FileCause Flush() = 0;
    virtual FileCause GetIdentity(FileIdentity& identity) = 0;
    // The open file's status as Status would give it for its path.
    virtual FileCause GetStatus(FileStatus& status) = 0;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // Only regular files open (anything else: accessDenied), without ever
    // blocking on a FIFO, and never as descriptors 0 to 2. With lock, mode
    // read shares the file with other readers; every other mode excludes
    // all other openers (in this process or another), which then fail with
    // sharingViolation.
    virtual FileCause Open(const std::string& path, OpenMode mode, bool lock, std::unique_ptr<IFile>& file) = 0;
    // fileNotFound when nothing is there. Without followLinks a symbolic link
    // reports FileKind::symlink.
    virtual FileCause Status(const std::string& path, FileStatus& status, bool followLinks) = 0;
    virtual FileCause CreateFolder(const std::string& path) = 0;
    virtual FileCause ListFolder(const std::string& path, std::vector<FolderItem>& items) = 0;
    // Replaces `to` atomically when it exists (never following a link there).
    virtual FileCause Rename(const std::string& from, const std::string& to) = 0;
    virtual FileCause Remove(const std::string& path) = 0;
    // Creates a new file with a unique name in folder (never through a
    // link), open for writing; path receives its name.
    virtual FileCause CreateTemporary(const std::string& folder, std::unique_ptr<IFile>& file, std::string& path) = 0;
};

// The file system of the running platform.
IFileSystem& PlatformFileSystem();

// Opens the null device on each standard stream (0 to 2) that is closed, so
// that no file a program opens later becomes its output by accident. Every
// program calls it first.
void ReserveStandardDescriptors();

}  // namespace vantor
