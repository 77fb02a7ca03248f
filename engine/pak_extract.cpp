// Extracting entries to disk files. Names read from a pak are never
// trusted: a name that could leave the chosen folder is refused, and a
// symbolic link met in the folder tree is never followed out of it.
#include "pak_archive.h"
#include "pak_names.h"

#include <algorithm>
#include <new>

namespace vantor {
namespace {

// Remembers the disk folders made or found during one multi-item
// extraction only: outside it, folders may vanish between calls.
struct CFolderCacheScope {
    CFolderCacheScope(std::unordered_set<std::string>& cache, bool& enabled) : m_cache(cache), m_enabled(enabled)
    {
        m_cache.clear();
        m_enabled = true;
    }
    ~CFolderCacheScope()
    {
        m_cache.clear();
        m_enabled = false;
    }
    std::unordered_set<std::string>& m_cache;
    bool& m_enabled;
};

}  // namespace

std::uint32_t CPakArchive::ReadEntryByName(std::string_view name, void* buffer)
{
    const int index = FindEntryByName(name);
    if (index < 0) return 0;
    const std::uint32_t length = m_entries[static_cast<std::size_t>(index)].length;
    if (buffer != nullptr && length != 0 && !ReadEntryData(static_cast<std::size_t>(index), buffer)) return 0;
    return length;
}

bool CPakArchive::ExtractOne(std::size_t index, const std::string& diskFolder, bool overwrite)
{
    m_bPakFault = false;
    const std::string target = JoinDiskPath(diskFolder, GetNamePart(m_entries[index].Name()));
    FileStatus status;
    if (m_fs.Status(target, status, false) == FileCause::none) {
        if (!overwrite) return true;
        // The pak itself, under whatever name: replacing it would lose every
        // entry for the sake of one.
        FileIdentity pak;
        if (m_pFile && m_pFile->GetIdentity(pak) == FileCause::none && pak == status.identity) {
            m_nError = errSharingViolation;
            return false;
        }
    }

    // Written beside the target and renamed over it: a failure leaves any
    // file that was there as it was, and a link there is replaced, not
    // followed.
    std::unique_ptr<IFile> file;
    std::string temporary;
    FileCause cause = m_fs.CreateTemporary(diskFolder, file, temporary);
    if (cause != FileCause::none) {
        SetErrorFromCause(cause);
        return false;
    }
    const std::uint32_t length = m_entries[index].length;
    bool ok = true;
    try {
        char* buffer = TransferBuffer();
        for (std::uint64_t done = 0; ok && done < length;) {
            const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(length - done, kTransferChunk));
            ok = ReadEntryPart(index, done, buffer, count);
            if (ok) {
                cause = file->WriteAt(done, buffer, count);
                if (cause != FileCause::none) {
                    SetErrorFromCause(cause);
                    ok = false;
                }
            }
            done += count;
        }
    } catch (const std::bad_alloc&) {
        m_nError = errOutOfMemory;
        ok = false;
    }
    file.reset();
    if (ok) {
        cause = m_fs.Rename(temporary, target);
        if (cause != FileCause::none) {
            SetErrorFromCause(cause);
            ok = false;
        }
    }
    if (!ok) m_fs.Remove(temporary);
    return ok;
}

int CPakArchive::FindSafeEntry(std::string_view name)
{
    const int index = FindEntryByName(name);
    if (!IsSafeRelativeName(index < 0 ? name : m_entries[static_cast<std::size_t>(index)].Name())) {
        m_nError = errBadName;
        return -2;
    }
    return index;
}

void CPakArchive::ReportItemFailure(const std::string& item)
{
    if (m_itemFailed) m_itemFailed(item, m_nError);
}

bool CPakArchive::ExtractEntry(std::string_view name, std::string_view diskFolder, bool overwrite)
{
    const int index = FindSafeEntry(name);
    if (index < 0) return false;
    return ExtractOne(static_cast<std::size_t>(index), std::string(diskFolder), overwrite);
}

bool CPakArchive::CreateDiskFolders(std::string_view name, std::string_view diskFolder)
{
    if (name.empty()) return true;
    if (diskFolder.empty()) return false;
    std::string rest = GetFolderPart(ToPakPath(name));
    std::string current(diskFolder);
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string level = rest.substr(0, slash);
        rest.erase(0, slash + 1);
        if (level.empty() || level == "." || level == "..") {
            m_nError = errBadName;
            return false;
        }
        current = JoinDiskPath(current, level);
        if (m_bCacheFolders && m_knownFolders.count(current) != 0) continue;
        if (m_fs.CreateFolder(current) != FileCause::none) {
            FileStatus status;
            if (m_fs.Status(current, status, false) != FileCause::none) {
                m_nError = errGeneric;
                return false;
            }
            // A file, or a link that could lead anywhere, is in the way.
            if (status.kind != FileKind::folder) {
                m_nError = errFolderConflict;
                return false;
            }
        }
        if (m_bCacheFolders) m_knownFolders.insert(current);
    }
    return true;
}

bool CPakArchive::ExtractEntryTo(std::string_view name, std::string_view diskFolder, bool overwrite)
{
    const int index = FindSafeEntry(name);
    if (index < 0) return false;
    const std::string stored(m_entries[static_cast<std::size_t>(index)].Name());
    if (!CreateDiskFolders(stored, diskFolder)) return false;
    return ExtractOne(static_cast<std::size_t>(index), JoinDiskPath(diskFolder, GetFolderPart(stored)), overwrite);
}

bool CPakArchive::ExtractEntryBesidePak(std::string_view name, bool overwrite)
{
    return ExtractEntryTo(name, GetFolderPart(m_strPath), overwrite);
}

bool CPakArchive::ExtractFolderBesidePak(std::string_view folder, bool overwrite, const PakProgressFn& progress)
{
    return ExtractFolderTo(folder, GetFolderPart(m_strPath), overwrite, progress);
}

bool CPakArchive::ListInOffsetOrder(const std::string& prefix, StringArray& names, PakProgress& totals)
{
    try {
        std::vector<std::uint32_t> indices;
        FindPrefix(prefix, indices);
        // In the order their data lies, so that the pak is read front to back.
        std::stable_sort(indices.begin(), indices.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return m_entries[a].offset < m_entries[b].offset; });
        for (const std::uint32_t i : indices) {
            names.emplace_back(m_entries[i].Name());
            totals.bytesTotal += m_entries[i].length;
        }
    } catch (const std::bad_alloc&) {
        m_nError = errOutOfMemory;
        return false;
    }
    totals.itemsTotal = names.size();
    return true;
}

bool CPakArchive::ExtractFolderTo(std::string_view folder, std::string_view diskFolder, bool overwrite,
                                  const PakProgressFn& progress)
{
    const std::string prefix = FolderPrefix(folder);
    CFolderCacheScope cache(m_knownFolders, m_bCacheFolders);
    StringArray names;
    PakProgress report;
    if (!ListInOffsetOrder(prefix, names, report)) return false;
    bool result = true;
    for (const std::string& name : names) {
        if (progress && !progress(report)) return false;
        const int index = FindEntry(name);
        const std::uint64_t length = index < 0 ? 0 : m_entries[static_cast<std::size_t>(index)].length;
        if (!ExtractEntryTo(name, diskFolder, overwrite)) {
            result = false;
            ReportItemFailure(name);
            if (IsFatalError()) return false;
        }
        ++report.itemsDone;
        report.bytesDone += length;
    }
    if (progress) progress(report);
    return result;
}

bool CPakArchive::ExtractFolderRelative(std::string_view folder, std::string_view diskFolder, bool overwrite,
                                        const PakProgressFn& progress)
{
    std::string f = ToPakPath(folder);
    if (f.empty()) {
        m_nError = errBadPath;
        return false;
    }
    if (f.back() == '/') f.pop_back();
    const std::size_t slash = f.rfind('/');
    CFolderCacheScope cache(m_knownFolders, m_bCacheFolders);
    StringArray names;
    PakProgress report;
    if (!ListInOffsetOrder(f + "/", names, report)) return false;
    bool result = true;
    for (const std::string& name : names) {
        if (progress && !progress(report)) return false;
        const int index = FindSafeEntry(name);
        const std::uint64_t length = index < 0 ? 0 : m_entries[static_cast<std::size_t>(index)].length;
        ++report.itemsDone;
        report.bytesDone += length;
        if (index < 0) {
            result = false;
            ReportItemFailure(name);
            continue;
        }
        const std::string rel = slash == std::string::npos ? name : name.substr(slash + 1);
        // An entry whose folder cannot be made is a failure, not a success.
        if (!CreateDiskFolders(rel, diskFolder) ||
            !ExtractOne(static_cast<std::size_t>(index), JoinDiskPath(diskFolder, GetFolderPart(rel)), overwrite)) {
            result = false;
            ReportItemFailure(name);
            if (IsFatalError()) return false;
        }
    }
    if (progress) progress(report);
    return result;
}

}  // namespace vantor
