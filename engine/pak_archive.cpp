// Opening and closing a pak, and the queries the views ask.
#include "pak_archive.h"
#include "pak_names.h"

#include <unordered_set>

namespace vantor {

CPakArchive::CPakArchive(IFileSystem& fileSystem) : CPakFile(fileSystem) {}

CPakArchive::~CPakArchive() { ClosePak(); }

bool CPakArchive::OpenPak(const std::string& path)
{
    if (IsOpen()) ClosePak();
    ReadOnlyReason reason = ReadOnlyReason::tooBig;
    if (OpenAndLoad(path, OpenMode::readWrite)) {
        // Past 2 GiB every write would fail (disk full) and recovery could
        // never move the data: such a pak is only ever read.
        if (m_nLogicalLength <= kPakMaxFileSize) {
            m_bReadOnly = false;
            m_readOnlyReason = ReadOnlyReason::none;
            return true;
        }
        ClosePak();
    } else if (m_nError == errNotPak) {
        // Opening it for reading instead could not change that.
        return false;
    } else {
        reason = m_nError == errSharingViolation ? ReadOnlyReason::inUse : ReadOnlyReason::notWritable;
    }
    if (!OpenAndLoad(path, OpenMode::read)) return false;
    m_bReadOnly = true;
    m_readOnlyReason = reason;
    return true;
}

bool CPakArchive::OpenPakReadOnly(const std::string& path)
{
    if (IsOpen()) ClosePak();
    if (!OpenAndLoad(path, OpenMode::read)) return false;
    m_bReadOnly = true;
    m_readOnlyReason = ReadOnlyReason::asked;
    return true;
}

PakError CPakArchive::GetRecoveryRefusal() const
{
    if (IsOpen() && m_bReadOnly) return errAccessDenied;
    return CPakFile::GetRecoveryRefusal();
}

bool CPakArchive::ClosePak()
{
    if (!IsOpen()) return true;
    // Changes still waiting in a batch are not given up silently: a failed
    // commit is the caller's to report.
    const bool committed = CommitPending();
    const int commitCode = m_nError;
    m_nBatchDepth = 0;
    m_pBatchStart.reset();
    m_bPending = false;
    m_committed = {};
    m_nLogicalLength = 0;
    m_nError = errUnspecified;
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_gibbed.clear();
    m_gibbed.shrink_to_fit();
    EntriesChanged();
    SetHeader(0, 0);
    const bool exists = CheckPakExists();
    // The handle goes even when the path is gone: a pak that comes back
    // must never be written from the emptied directory.
    CloseFile();
    m_bReadOnly = false;
    m_readOnlyReason = ReadOnlyReason::none;
    if (!committed) {
        m_nError = commitCode;
        return false;
    }
    return exists;
}

bool CPakArchive::RefuseReadOnly()
{
    if (!m_bReadOnly) return false;
    m_nError = errAccessDenied;
    return true;
}

bool CPakArchive::RefuseChange() { return RefuseReadOnly() || !CheckUnchangedOnDisk() || RefuseUnsafeLayout(); }

bool CPakArchive::EntryExists(std::string_view name) const { return FindEntry(name) != -1; }

bool CPakArchive::EntryExistsIn(std::string_view folder, std::string_view name) const
{
    return EntryExists(CombinePath(ToPakPath(folder), GetNamePart(ToPakPath(name))));
}

bool CPakArchive::FolderExists(std::string_view parent, std::string_view name)
{
    std::string leaf = ToPakPath(name);
    if (!leaf.empty() && leaf.back() == '/') leaf.pop_back();
    leaf = GetNamePart(leaf);
    // The root always "exists" as a prefix of every name; a listing of it
    // finds something exactly when the pak has an entry.
    return HasFolder(CombinePath(ToPakPath(parent), leaf));
}

int CPakArchive::ListFolderFiles(std::string_view folder, std::vector<CFolderFile>& out)
{
    // The last separator a file directly in folder may have: the one that
    // ends the folder's prefix; none at all in the root.
    const std::string prefix = FolderPrefix(folder);
    const std::ptrdiff_t limit = static_cast<std::ptrdiff_t>(prefix.size()) - 1;
    try {
        std::vector<std::uint32_t> indices;
        ListFolderRecords(folder, indices);
        for (const std::uint32_t i : indices) {
            const std::string_view name = m_entries[i].Name();
            const std::size_t slash = name.find_last_of("/\\");
            const std::ptrdiff_t last = slash == std::string_view::npos ? -1 : static_cast<std::ptrdiff_t>(slash);
            if (last > limit) continue;
            out.push_back({GetNamePart(name), m_entries[i].length});
        }
    } catch (const std::bad_alloc&) {
        out.clear();
        m_nError = errOutOfMemory;
        return 0;
    }
    m_nError = errUnspecified;
    return static_cast<int>(out.size());
}

int CPakArchive::ListFolderFiles(std::string_view folder, StringArray& out)
{
    std::vector<CFolderFile> files;
    ListFolderFiles(folder, files);
    for (CFolderFile& file : files) out.push_back(std::move(file.name));
    return static_cast<int>(out.size());
}

int CPakArchive::ListSubfolders(std::string_view folder, StringArray& out)
{
    const std::string prefix = FolderPrefix(folder);
    StringArray listed;
    ListFolder(folder, listed);
    std::unordered_set<std::string> seen(out.begin(), out.end());
    for (const std::string& name : listed) {
        const std::string_view rest = std::string_view(name).substr(prefix.size());
        const std::size_t slash = rest.find_first_of("/\\");
        if (slash == std::string_view::npos) continue;
        std::string sub(rest.substr(0, slash));
        if (seen.insert(sub).second) out.push_back(std::move(sub));
    }
    return static_cast<int>(out.size());
}

std::uint64_t CPakArchive::ShownKB(std::uint64_t bytes)
{
    if (bytes == 0) return 0;
    return bytes < 1024 ? 1 : bytes / 1024;
}

std::int64_t CPakArchive::GetEntryLength(std::string_view name) const
{
    const int index = FindEntryByName(name);
    return index < 0 ? -1 : std::int64_t{m_entries[static_cast<std::size_t>(index)].length};
}

int CPakArchive::GetEntrySizeKB(std::string_view name) const
{
    const std::int64_t length = GetEntryLength(name);
    return length < 0 ? -1 : static_cast<int>(ShownKB(static_cast<std::uint64_t>(length)));
}

const char* CPakArchive::GetTypeName(std::string_view name) { return vantor::GetTypeName(name); }

}  // namespace vantor
