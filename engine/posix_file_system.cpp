// The file layer over POSIX calls, with errno classified into causes.
#include "file_layer.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {
namespace {

FileCause CauseFromErrno(int error)
{
    switch (error) {
    case 0: return FileCause::none;
    case ENOENT: return FileCause::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return FileCause::badPath;
    case EMFILE:
    case ENFILE: return FileCause::tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return FileCause::accessDenied;
    case EBADF: return FileCause::invalidFile;
    case EWOULDBLOCK: return FileCause::sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return FileCause::diskFull;
    case EIO: return FileCause::hardIO;
    case ESPIPE:
    case EOVERFLOW: return FileCause::badSeek;
    default: return FileCause::generic;
    }
}

FileCause LastCause() { return CauseFromErrno(errno); }

FileKind KindOf(mode_t mode)
{
    if (S_ISREG(mode)) return FileKind::file;
    if (S_ISDIR(mode)) return FileKind::folder;
    if (S_ISLNK(mode)) return FileKind::symlink;
    return FileKind::other;
}

void FillStatus(const struct stat& st, FileStatus& status)
{
    status.kind = KindOf(st.st_mode);
    status.size = static_cast<std::uint64_t>(st.st_size);
    status.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    status.changedNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    status.identity = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

// Moves a descriptor above the standard ones: a pak opened as 1 or 2 would
// receive whatever the program prints. Closes fd on failure (-1).
int AboveStandard(int fd)
{
    if (fd < 0 || fd > 2) return fd;
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    const int error = errno;
    ::close(fd);
    errno = error;
    return moved;
}

int OpenAboveStandard(const char* path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return AboveStandard(fd);
}

class CPosixFile final : public IFile {
public:
    explicit CPosixFile(int fd) : m_fd(fd) {}
    ~CPosixFile() override { ::close(m_fd); }
    CPosixFile(const CPosixFile&) = delete;
    CPosixFile& operator=(const CPosixFile&) = delete;

    FileCause ReadAt(std::uint64_t offset, void* buffer, std::size_t count, std::size_t& got) override
    {
        got = 0;
        auto* bytes = static_cast<char*>(buffer);
        while (got < count) {
            const std::size_t chunk = std::min<std::size_t>(count - got, SSIZE_MAX);
            const ssize_t n = ::pread(m_fd, bytes + got, chunk, static_cast<off_t>(offset + got));
            if (n < 0) {
                if (errno == EINTR) continue;
                return LastCause();
            }
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        return FileCause::none;
    }

    FileCause WriteAt(std::uint64_t offset, const void* buffer, std::size_t count) override
    {
        std::size_t done = 0;
        const auto* bytes = static_cast<const char*>(buffer);
        while (done < count) {
            const std::size_t chunk = std::min<std::size_t>(count - done, SSIZE_MAX);
            const ssize_t n = ::pwrite(m_fd, bytes + done, chunk, static_cast<off_t>(offset + done));
            if (n < 0) {
                if (errno == EINTR) continue;
                return LastCause();
            }
            if (n == 0) return FileCause::diskFull;
            done += static_cast<std::size_t>(n);
        }
        return FileCause::none;
    }

    FileCause GetLength(std::uint64_t& length) override
    {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0) return LastCause();
        length = static_cast<std::uint64_t>(st.st_size);
        return FileCause::none;
    }

    FileCause SetLength(std::uint64_t length) override
    {
        while (::ftruncate(m_fd, static_cast<off_t>(length)) != 0) {
            if (errno != EINTR) return LastCause();
        }
        return FileCause::none;
    }

    FileCause Flush() override
    {
        while (::fdatasync(m_fd) != 0) {
            if (errno == EINTR) continue;
            // Some file systems (pipes, special mounts) cannot sync; that is
            // not a failure of the write itself.
            if (errno == EINVAL || errno == EROFS) return FileCause::none;
            return LastCause();
        }
        return FileCause::none;
    }

    FileCause GetIdentity(FileIdentity& identity) override
    {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0) return LastCause();
        identity = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
        return FileCause::none;
    }

    FileCause GetStatus(FileStatus& status) override
    {
        status = {};
        struct stat st {};
        if (::fstat(m_fd, &st) != 0) return LastCause();
        FillStatus(st, status);
        return FileCause::none;
    }

private:
    int m_fd;
};

class CPosixFileSystem final : public IFileSystem {
public:
    FileCause Open(const std::string& path, OpenMode mode, bool lock, std::unique_ptr<IFile>& file) override
    {
        file.reset();
        // Non-blocking, so that a FIFO cannot hang the open; it is refused
        // below like every other file that is not a regular one.
        int flags = O_CLOEXEC | O_NONBLOCK;
        switch (mode) {
        case OpenMode::read: flags |= O_RDONLY; break;
        case OpenMode::readWrite: flags |= O_RDWR; break;
        // Truncating before the lock is held could destroy a file someone
        // else has open; it is done below, once the lock is ours.
        case OpenMode::createTruncate: flags |= O_WRONLY | O_CREAT | (lock ? 0 : O_TRUNC); break;
        case OpenMode::createExclusive: flags |= O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW; break;
        }
        const int fd = OpenAboveStandard(path.c_str(), flags, 0666);
        if (fd < 0) return errno == ENXIO ? FileCause::accessDenied : LastCause();
        const auto fail = [fd](FileCause cause) {
            ::close(fd);
            return cause;
        };

        struct stat st {};
        if (::fstat(fd, &st) != 0) return fail(LastCause());
        // A folder opens for reading on POSIX, a FIFO or a device would
        // block or never end: as a pak or a file to add, none is any use.
        if (!S_ISREG(st.st_mode)) return fail(FileCause::accessDenied);
        const int flagsNow = ::fcntl(fd, F_GETFL);
        if (flagsNow < 0 || ::fcntl(fd, F_SETFL, flagsNow & ~O_NONBLOCK) != 0) return fail(LastCause());
        // Readers share; anyone who may write has the file alone.
        const int lockKind = mode == OpenMode::read ? LOCK_SH : LOCK_EX;
        if (lock && ::flock(fd, lockKind | LOCK_NB) != 0)
            return fail(errno == EWOULDBLOCK ? FileCause::sharingViolation : LastCause());
        if (lock && mode == OpenMode::createTruncate && ::ftruncate(fd, 0) != 0) return fail(LastCause());
        file = std::make_unique<CPosixFile>(fd);
        return FileCause::none;
    }

    FileCause CreateTemporary(const std::string& folder, std::unique_ptr<IFile>& file, std::string& path) override
    {
        file.reset();
        static std::atomic<unsigned> counter{0};
        const std::string base = (folder.empty() ? std::string(".") : folder) + "/.vantor-" + std::to_string(::getpid()) + "-";
        for (int attempt = 0; attempt < 100; ++attempt) {
            path = base + std::to_string(counter++) + ".tmp";
            const int fd = OpenAboveStandard(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd >= 0) {
                file = std::make_unique<CPosixFile>(fd);
                return FileCause::none;
            }
            if (errno != EEXIST && errno != EINTR) return LastCause();
        }
        return FileCause::generic;
    }

    FileCause Status(const std::string& path, FileStatus& status, bool followLinks) override
    {
        status = {};
        struct stat st {};
        const int rc = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
        if (rc != 0) return LastCause();
        FillStatus(st, status);
        return FileCause::none;
    }

    FileCause CreateFolder(const std::string& path) override
    {
        if (::mkdir(path.c_str(), 0777) != 0) return LastCause();
        return FileCause::none;
    }

    FileCause ListFolder(const std::string& path, std::vector<FolderItem>& items) override
    {
        items.clear();
        const int fd = OpenAboveStandard(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return LastCause();
        DIR* dir = ::fdopendir(fd);
        if (dir == nullptr) {
            const FileCause cause = LastCause();
            ::close(fd);
            return cause;
        }
        errno = 0;
        while (const dirent* item = ::readdir(dir)) {
            const std::string name = item->d_name;
            if (name == "." || name == "..") continue;
            FolderItem entry{name, FileKind::other};
            // The folder's own record of the kind saves a status call per
            // item; file systems that do not keep it say DT_UNKNOWN.
            if (item->d_type == DT_REG) {
                entry.kind = FileKind::file;
            } else if (item->d_type == DT_DIR) {
                entry.kind = FileKind::folder;
            } else if (item->d_type == DT_LNK) {
                entry.kind = FileKind::symlink;
            } else {
                struct stat st {};
                if (::fstatat(fd, item->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) entry.kind = KindOf(st.st_mode);
            }
            items.push_back(std::move(entry));
            errno = 0;
        }
        const FileCause cause = LastCause();
        ::closedir(dir);
        return cause;
    }

    FileCause Rename(const std::string& from, const std::string& to) override
    {
        if (::rename(from.c_str(), to.c_str()) != 0) return LastCause();
        return FileCause::none;
    }

    FileCause Remove(const std::string& path) override
    {
        if (::unlink(path.c_str()) != 0) return LastCause();
        return FileCause::none;
    }
};

}  // namespace

IFileSystem& PlatformFileSystem()
{
    static CPosixFileSystem fileSystem;
    return fileSystem;
}

void ReserveStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // open() returns the lowest free descriptor: this one.
        const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) ::close(opened);
    }
}

}  // namespace vantor
