// The file layer over Win32 calls, with GetLastError() classified into
// causes as the POSIX layer classifies errno. Names stay UTF-8 in the
// engine; they become UTF-16 only here, at the call.
#include "file_layer.h"

#include <algorithm>
#include <atomic>
#include <climits>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace vantor {
namespace {

// Between 1601-01-01 (FILETIME's epoch) and 1970-01-01, in 100 ns ticks.
constexpr std::int64_t kEpochDifferenceTicks = 116444736000000000LL;
// ReadFile and WriteFile take a DWORD count; a round gigabyte keeps each
// call well inside it.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

FileCause CauseFromError(DWORD error)
{
    switch (error) {
    case ERROR_SUCCESS: return FileCause::none;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return FileCause::fileNotFound;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
    case ERROR_CANT_RESOLVE_FILENAME:
    case ERROR_NO_UNICODE_TRANSLATION: return FileCause::badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return FileCause::tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NOT_SUPPORTED:
    case ERROR_PRIVILEGE_NOT_HELD: return FileCause::accessDenied;
    case ERROR_INVALID_HANDLE: return FileCause::invalidFile;
    case ERROR_CURRENT_DIRECTORY: return FileCause::removeCurrentDir;
    case ERROR_CANNOT_MAKE: return FileCause::directoryFull;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK:
    case ERROR_SEEK_ON_DEVICE: return FileCause::badSeek;
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_GEN_FAILURE: return FileCause::hardIO;
    case ERROR_SHARING_VIOLATION: return FileCause::sharingViolation;
    case ERROR_LOCK_VIOLATION: return FileCause::lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE: return FileCause::diskFull;
    case ERROR_HANDLE_EOF: return FileCause::endOfFile;
    default: return FileCause::generic;
    }
}

FileCause LastCause() { return CauseFromError(::GetLastError()); }

// UTF-8 to UTF-16 for the Win32 call, every '/' made a '\' (the API takes
// both, but a uniform form keeps the names this layer makes consistent).
// False for text that is not UTF-8: no file can have that name.
bool WidePath(const std::string& path, std::wstring& wide)
{
    wide.clear();
    if (path.empty()) return true;
    if (path.size() > static_cast<std::size_t>(INT_MAX)) return false;
    const int size = static_cast<int>(path.size());
    const int count = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
    if (count <= 0) return false;
    wide.resize(static_cast<std::size_t>(count));
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, wide.data(), count) != count) return false;
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return true;
}

std::int64_t NsFromTicks(std::int64_t ticks) { return (ticks - kEpochDifferenceTicks) * 100; }

std::int64_t TicksOf(const FILETIME& time)
{
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

bool IsLinkTag(DWORD tag) { return tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT; }

// Status of an open handle. A symbolic link or junction opened as itself
// reports FileKind::symlink, as lstat does.
FileCause StatusOfHandle(HANDLE handle, FileStatus& status)
{
    status = {};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) return LastCause();
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) return LastCause();
    status.kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileKind::folder : FileKind::file;
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        FILE_ATTRIBUTE_TAG_INFO tag{};
        if (::GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) && IsLinkTag(tag.ReparseTag))
            status.kind = FileKind::symlink;
    }
    if (status.kind == FileKind::file && ::GetFileType(handle) != FILE_TYPE_DISK) status.kind = FileKind::other;
    status.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    status.modifiedNs = NsFromTicks(TicksOf(info.ftLastWriteTime));
    status.changedNs = NsFromTicks(basic.ChangeTime.QuadPart);
    status.identity = {info.dwVolumeSerialNumber, (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    return FileCause::none;
}

OVERLAPPED AtOffset(std::uint64_t offset)
{
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xffffffffU);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

class CWin32File final : public IFile {
public:
    explicit CWin32File(HANDLE handle) : m_handle(handle) {}
    ~CWin32File() override { ::CloseHandle(m_handle); }
    CWin32File(const CWin32File&) = delete;
    CWin32File& operator=(const CWin32File&) = delete;

    FileCause ReadAt(std::uint64_t offset, void* buffer, std::size_t count, std::size_t& got) override
    {
        got = 0;
        auto* bytes = static_cast<char*>(buffer);
        while (got < count) {
            const auto chunk = static_cast<DWORD>(std::min(count - got, kMaxTransfer));
            OVERLAPPED at = AtOffset(offset + got);
            DWORD n = 0;
            if (!::ReadFile(m_handle, bytes + got, chunk, &n, &at)) {
                // A synchronous read at or past the end says so instead of
                // returning zero bytes.
                if (::GetLastError() == ERROR_HANDLE_EOF) break;
                return LastCause();
            }
            if (n == 0) break;
            got += n;
        }
        return FileCause::none;
    }

    FileCause WriteAt(std::uint64_t offset, const void* buffer, std::size_t count) override
    {
        std::size_t done = 0;
        const auto* bytes = static_cast<const char*>(buffer);
        while (done < count) {
            const auto chunk = static_cast<DWORD>(std::min(count - done, kMaxTransfer));
            OVERLAPPED at = AtOffset(offset + done);
            DWORD n = 0;
            if (!::WriteFile(m_handle, bytes + done, chunk, &n, &at)) return LastCause();
            if (n == 0) return FileCause::diskFull;
            done += n;
        }
        return FileCause::none;
    }

    FileCause GetLength(std::uint64_t& length) override
    {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(m_handle, &size)) return LastCause();
        length = static_cast<std::uint64_t>(size.QuadPart);
        return FileCause::none;
    }

    FileCause SetLength(std::uint64_t length) override
    {
        if (length > static_cast<std::uint64_t>(LLONG_MAX)) return FileCause::badSeek;
        // The file position serves only this: every read and write names
        // its own offset.
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(length);
        if (!::SetFilePointerEx(m_handle, end, nullptr, FILE_BEGIN)) return LastCause();
        if (!::SetEndOfFile(m_handle)) return LastCause();
        return FileCause::none;
    }

    FileCause Flush() override
    {
        if (!::FlushFileBuffers(m_handle)) return LastCause();
        return FileCause::none;
    }

    FileCause GetIdentity(FileIdentity& identity) override
    {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!::GetFileInformationByHandle(m_handle, &info)) return LastCause();
        identity = {info.dwVolumeSerialNumber, (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
        return FileCause::none;
    }

    FileCause GetStatus(FileStatus& status) override { return StatusOfHandle(m_handle, status); }

private:
    HANDLE m_handle;
};

class CWin32FileSystem final : public IFileSystem {
public:
    FileCause Open(const std::string& path, OpenMode mode, bool lock, std::unique_ptr<IFile>& file) override
    {
        file.reset();
        std::wstring wide;
        if (!WidePath(path, wide) || wide.empty()) return FileCause::badPath;
        DWORD access = GENERIC_READ;
        DWORD disposition = OPEN_EXISTING;
        switch (mode) {
        case OpenMode::read: break;
        case OpenMode::readWrite: access = GENERIC_READ | GENERIC_WRITE; break;
        // As on POSIX, truncation waits until the file is ours alone: here
        // the sharing mode makes that so at the open itself.
        case OpenMode::createTruncate:
            access = GENERIC_WRITE;
            disposition = lock ? OPEN_ALWAYS : CREATE_ALWAYS;
            break;
        // CREATE_NEW fails on anything already there, a link included.
        case OpenMode::createExclusive:
            access = GENERIC_WRITE;
            disposition = CREATE_NEW;
            break;
        }
        // Readers share with readers; anyone who may write has the file
        // alone. Without lock, everything is shared, as without flock.
        DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        if (lock) share = mode == OpenMode::read ? FILE_SHARE_READ : 0;
        const HANDLE handle =
            ::CreateFileW(wide.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return LastCause();
        const auto fail = [handle](FileCause cause) {
            ::CloseHandle(handle);
            return cause;
        };
        // Devices (CON, NUL, a pipe) open like files here; as a pak or a
        // file to add none is any use, as on POSIX.
        if (::GetFileType(handle) != FILE_TYPE_DISK) return fail(FileCause::accessDenied);
        if (lock && mode == OpenMode::createTruncate) {
            LARGE_INTEGER start{};
            if (!::SetFilePointerEx(handle, start, nullptr, FILE_BEGIN) || !::SetEndOfFile(handle))
                return fail(LastCause());
        }
        file = std::make_unique<CWin32File>(handle);
        return FileCause::none;
    }

    FileCause CreateTemporary(const std::string& folder, std::unique_ptr<IFile>& file, std::string& path) override
    {
        file.reset();
        static std::atomic<unsigned> counter{0};
        std::string base = folder.empty() ? std::string(".") : folder;
        if (base.back() != '/' && base.back() != '\\') base.push_back('\\');
        base += ".vantor-" + std::to_string(::GetCurrentProcessId()) + "-";
        for (int attempt = 0; attempt < 100; ++attempt) {
            path = base + std::to_string(counter++) + ".tmp";
            std::wstring wide;
            if (!WidePath(path, wide)) return FileCause::badPath;
            // Shared for deletion, so that the rename that puts it in place
            // may follow even while it is still open.
            const HANDLE handle = ::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                                nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (handle != INVALID_HANDLE_VALUE) {
                file = std::make_unique<CWin32File>(handle);
                return FileCause::none;
            }
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return CauseFromError(error);
        }
        return FileCause::generic;
    }

    FileCause Status(const std::string& path, FileStatus& status, bool followLinks) override
    {
        status = {};
        std::wstring wide;
        if (!WidePath(path, wide) || wide.empty()) return FileCause::badPath;
        // No access asked for: only the attributes are read, and no
        // opener's sharing mode stands in the way.
        DWORD flags = FILE_FLAG_BACKUP_SEMANTICS;
        if (!followLinks) flags |= FILE_FLAG_OPEN_REPARSE_POINT;
        const HANDLE handle = ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, flags, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return LastCause();
        const FileCause cause = StatusOfHandle(handle, status);
        ::CloseHandle(handle);
        return cause;
    }

    FileCause CreateFolder(const std::string& path) override
    {
        std::wstring wide;
        if (!WidePath(path, wide) || wide.empty()) return FileCause::badPath;
        if (!::CreateDirectoryW(wide.c_str(), nullptr)) return LastCause();
        return FileCause::none;
    }

    FileCause ListFolder(const std::string& path, std::vector<FolderItem>& items) override
    {
        items.clear();
        std::wstring pattern;
        if (!WidePath(path, pattern) || pattern.empty()) return FileCause::badPath;
        if (pattern.back() != L'\\') pattern.push_back(L'\\');
        pattern.push_back(L'*');
        WIN32_FIND_DATAW found{};
        const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
        if (search == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            // An empty drive root has not even "." to list.
            if (error == ERROR_FILE_NOT_FOUND) {
                FileStatus status;
                const FileCause cause = Status(path, status, true);
                if (cause != FileCause::none) return cause;
                return status.kind == FileKind::folder ? FileCause::none : FileCause::badPath;
            }
            return CauseFromError(error);
        }
        FileCause cause = FileCause::none;
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::string utf8;
            if (!NarrowName(name, utf8)) continue;
            FolderItem entry{std::move(utf8), FileKind::file};
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsLinkTag(found.dwReserved0))
                entry.kind = FileKind::symlink;
            else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                entry.kind = FileKind::folder;
            items.push_back(std::move(entry));
        } while (::FindNextFileW(search, &found));
        const DWORD error = ::GetLastError();
        if (error != ERROR_NO_MORE_FILES) cause = CauseFromError(error);
        ::FindClose(search);
        return cause;
    }

    FileCause Rename(const std::string& from, const std::string& to) override
    {
        std::wstring wideFrom;
        std::wstring wideTo;
        if (!WidePath(from, wideFrom) || !WidePath(to, wideTo)) return FileCause::badPath;
        // Replaces a link at `to` itself, never what it points to.
        if (!::MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return LastCause();
        return FileCause::none;
    }

    FileCause Remove(const std::string& path) override
    {
        std::wstring wide;
        if (!WidePath(path, wide)) return FileCause::badPath;
        if (!::DeleteFileW(wide.c_str())) return LastCause();
        return FileCause::none;
    }

private:
    // A name the folder holds, back in UTF-8. A name that is not valid
    // UTF-16 (a lone surrogate) has no UTF-8 form and is left out, as no
    // path the engine builds could reach it.
    static bool NarrowName(const std::wstring& name, std::string& utf8)
    {
        const int size = static_cast<int>(name.size());
        const int count = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, name.data(), size, nullptr, 0, nullptr, nullptr);
        if (count <= 0) return false;
        utf8.resize(static_cast<std::size_t>(count));
        return ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, name.data(), size, utf8.data(), count, nullptr, nullptr) ==
               count;
    }
};

}  // namespace

IFileSystem& PlatformFileSystem()
{
    static CWin32FileSystem fileSystem;
    return fileSystem;
}

// Files here are handles, never C runtime descriptors: nothing the engine
// opens can become a standard stream, so there is nothing to reserve.
void ReserveStandardDescriptors() {}

}  // namespace vantor
