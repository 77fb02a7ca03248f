// Adding disk files and whole disk folders to the pak.
#include "pak_archive.h"
#include "pak_names.h"

#include <algorithm>

namespace vantor {
namespace {

// Streams an open disk file of a known size; one that grows or shrinks
// while it is read fails with 13.
class CDiskFileSource final : public IPakDataSource {
public:
    CDiskFileSource(IFile& file, std::uint64_t size) : m_file(file), m_size(size) {}

    bool Read(std::uint64_t offset, void* buffer, std::size_t count, CPakFile& pak) override
    {
        std::size_t got = 0;
        const FileCause cause = m_file.ReadAt(offset, buffer, count, got);
        if (cause != FileCause::none) {
            pak.SetErrorFromCause(cause);
            return false;
        }
        if (got < count) {
            pak.SetError(errReadFailed);
            return false;
        }
        return true;
    }

    bool Finish(CPakFile& pak) override
    {
        char extra = 0;
        std::size_t got = 0;
        if (m_file.ReadAt(m_size, &extra, 1, got) != FileCause::none || got != 0) {
            pak.SetError(errReadFailed);
            return false;
        }
        return true;
    }

private:
    IFile& m_file;
    std::uint64_t m_size;
};

}  // namespace

bool CPakArchive::AddFileFromDisk(std::string_view diskPath, std::string_view folder, bool replace)
{
    if (RefuseChange()) return false;
    return AddDiskFile(std::string(diskPath), std::string(folder), replace);
}

bool CPakArchive::AddDiskFile(const std::string& diskPath, const std::string& folder, bool replace)
{
    m_bPakFault = false;
    const std::string leaf = GetNamePart(ToPakPath(diskPath));
    const std::string name = CombinePath(PakFolder(folder), leaf);
    const int existing = FindEntryByName(name);
    if (existing >= 0 && !replace) return true;
    // A replaced entry keeps the name it came with, even one the rules for
    // new names refuse: an item opened in a program is written back so.
    if (existing < 0 && !CheckCreatedName(name, std::string::npos, false)) return false;
    // Another record of the same name would still be there after the first
    // is replaced (paks from other tools can hold such twins).
    if (existing >= 0 && m_index.HasDuplicates(m_entries)) {
        for (std::size_t i = static_cast<std::size_t>(existing) + 1; i < m_entries.size(); ++i) {
            if (m_entries[i].Name() == m_entries[static_cast<std::size_t>(existing)].Name()) {
                m_nError = errNameExists;
                return false;
            }
        }
    }

    // Only regular files: a FIFO or a device would block or never end.
    FileStatus status;
    FileCause cause = m_fs.Status(diskPath, status, true);
    if (cause != FileCause::none) {
        SetErrorFromCause(cause);
        return false;
    }
    if (status.kind != FileKind::file) {
        m_nError = errAccessDenied;
        return false;
    }
    // The pak itself cannot go into itself: on a platform with sharing
    // modes its open would fail the same way.
    FileIdentity pak;
    if (m_pFile && m_pFile->GetIdentity(pak) == FileCause::none && pak == status.identity) {
        m_nError = errSharingViolation;
        return false;
    }
    std::unique_ptr<IFile> file;
    cause = m_fs.Open(diskPath, OpenMode::read, false, file);
    std::uint64_t size = 0;
    if (cause == FileCause::none) cause = file->GetLength(size);
    if (cause != FileCause::none) {
        SetErrorFromCause(cause);
        return false;
    }
    CDiskFileSource source(*file, size);
    return PlaceNewData(name, size, source, existing);
}

bool CPakArchive::ImportFolder(std::string_view diskFolder, std::string_view folder, bool replace,
                               const PakProgressFn& progress)
{
    if (RefuseChange()) return false;
    std::string d = ToDiskPath(diskFolder);
    if (d.empty()) {
        m_nError = errBadPath;
        return false;
    }
    // The folder must exist and be a folder; the current directory is never
    // changed to find out.
    FileStatus status;
    if (m_fs.Status(d, status, true) != FileCause::none || status.kind != FileKind::folder) {
        m_nError = errBadPath;
        return false;
    }
    m_progress = progress;
    m_report = {};
    m_bStopped = false;
    if (progress) {
        // Count first, so that progress can be shown against a total.
        std::vector<std::string> pending = {d};
        while (!pending.empty()) {
            const std::string current = pending.back();
            pending.pop_back();
            std::vector<FolderItem> items;
            if (m_fs.ListFolder(current, items) != FileCause::none) continue;
            for (const FolderItem& item : items) {
                const std::string path = JoinDiskPath(current, item.name);
                if (item.kind == FileKind::folder) {
                    pending.push_back(path);
                } else {
                    FileStatus itemStatus;
                    if (m_fs.Status(path, itemStatus, true) == FileCause::none && itemStatus.kind == FileKind::file) {
                        ++m_report.itemsTotal;
                        m_report.bytesTotal += itemStatus.size;
                    }
                }
            }
        }
    }
    CPakBatch batch(*this);
    bool result = ImportTree(d, PakFolder(folder), replace, 0);
    const int code = m_nError;
    if (!batch.End()) result = false;
    else m_nError = code;
    if (m_progress && !m_bStopped) m_progress(m_report);
    m_progress = {};
    return result;
}

bool CPakArchive::ImportTree(const std::string& diskFolder, const std::string& folder, bool replace, int depth)
{
    m_bPakFault = false;
    std::string d = diskFolder;
    while (d.size() > 1 && kDiskSeparators.find(d.back()) != std::string_view::npos) d.pop_back();
    const std::size_t slash = d.find_last_of(kDiskSeparators);
    if (slash == std::string::npos || slash + 1 == d.size()) {
        m_nError = errBadPath;
        return false;
    }
    const std::string ownName = ToPakPath(d.substr(slash + 1));
    const std::string target = CombinePath(folder, ownName);
    if (!CheckCreatedName(target, std::string::npos, true)) {
        ReportItemFailure(d);
        return false;
    }
    // Every file below would fail the length rule; deeper levels need not
    // be read at all (and a tree of any depth cannot exhaust the stack).
    if (target.size() + 1 > kPakMaxNameLength || depth > static_cast<int>(kPakMaxNameLength)) {
        m_nError = errPathTooLong;
        ReportItemFailure(d);
        return false;
    }

    std::vector<FolderItem> items;
    if (m_fs.ListFolder(d, items) != FileCause::none) {
        m_nError = errFileNotFound;
        ReportItemFailure(d);
        return false;
    }
    // A stable order, whatever order the file system lists in.
    std::sort(items.begin(), items.end(), [](const FolderItem& a, const FolderItem& b) { return a.name < b.name; });

    bool result = true;
    for (const FolderItem& item : items) {
        if (m_bStopped) return false;
        const std::string path = JoinDiskPath(d, item.name);
        FileKind kind = item.kind;
        if (kind == FileKind::symlink) {
            // Links to files are followed; links to folders are not (loops).
            FileStatus status;
            if (m_fs.Status(path, status, true) != FileCause::none) {
                kind = FileKind::file;  // a dangling link fails as a file
            } else if (status.kind == FileKind::folder) {
                continue;
            } else {
                kind = status.kind;
            }
        }
        if (kind == FileKind::folder) {
            if (!ImportTree(path, target, replace, depth + 1)) result = false;
            if (m_bStopped) return false;
            continue;
        }
        if (m_progress && !m_progress(m_report)) {
            m_bStopped = true;
            return false;
        }
        FileStatus status;
        const std::uint64_t size = m_fs.Status(path, status, true) == FileCause::none ? status.size : 0;
        if (!AddDiskFile(path, target, replace)) {
            result = false;
            ReportItemFailure(path);
            if (IsFatalError()) {
                m_bStopped = true;
                return false;
            }
        }
        ++m_report.itemsDone;
        m_report.bytesDone += size;
    }
    return result;
}

}  // namespace vantor
