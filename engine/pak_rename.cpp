// Renaming and moving entries and folders, new folders and new paks.
#include "pak_archive.h"
#include "pak_names.h"

#include <new>
#include <unordered_set>

namespace vantor {

bool CPakArchive::CheckCreatedName(std::string_view name, std::size_t keptFrom, bool isFolder)
{
    if (!IsValidPakPath(name)) return false;
    if (!IsSafeRelativeName(name)) {
        m_nError = errBadName;
        return false;
    }
    for (std::size_t start = 0; start < name.size() && start < keptFrom;) {
        std::size_t end = name.find('/', start);
        const bool leaf = end == std::string_view::npos;
        if (leaf) end = name.size();
        const std::string_view path = name.substr(0, end);
        const bool folderLevel = !leaf || isFolder;
        const bool fileThere = FindEntryByName(path) >= 0;
        const bool folderThere = HasFolder(path);
        // A file and a folder of one name: no disk could extract both.
        if (folderLevel ? fileThere : folderThere) {
            m_nError = errNameExists;
            return false;
        }
        // Levels the pak already has keep whatever name they came with.
        if (!(folderLevel ? folderThere : fileThere) && !IsValidDosName(name.substr(start, end - start))) return false;
        start = end + 1;
    }
    return true;
}

bool CPakArchive::RenameEntryByName(std::string_view oldName, std::string_view newName)
{
    if (RefuseChange()) return false;
    const std::string n = ToPakPath(newName);
    const int index = FindEntryByName(oldName);
    if (index < 0) return false;
    // An entry moved to another folder under its own name keeps that name
    // as it is.
    const std::string leaf = GetNamePart(n);
    const std::size_t kept = leaf == GetNamePart(m_entries[static_cast<std::size_t>(index)].Name()) && !leaf.empty()
                                 ? n.size() - leaf.size()
                                 : std::string::npos;
    if (!CheckCreatedName(n, kept, false)) return false;
    if (FindEntryByName(n) >= 0 || HasFolder(n)) {
        m_nError = errNameExists;
        return false;
    }
    SetEntryName(static_cast<std::size_t>(index), n);
    return DirectoryChanged();
}

bool CPakArchive::RenameFolder(std::string_view oldFolder, std::string_view newFolder)
{
    if (RefuseChange()) return false;
    if (IsRootName(oldFolder) || IsRootName(newFolder)) {
        m_nError = errBadName;
        return false;
    }
    const std::string o = FolderPrefix(oldFolder);
    std::string n = ToPakPath(newFolder);
    if (!n.empty() && n.back() == '/') n.pop_back();
    if (!CheckCreatedName(n, std::string::npos, true)) return false;
    // Never merged into a folder that exists.
    if (HasFolder(n)) {
        m_nError = errNameExists;
        return false;
    }
    // Every new name is worked out and checked before any changes, so the
    // move happens whole or not at all. Only the folder's own levels
    // change; the names beneath it are carried over as they are.
    std::vector<std::uint32_t> indices;
    StringArray renamed;
    try {
        // The prefix exactly as the cut below takes it off.
        FindPrefix(o, indices);
        renamed.reserve(indices.size());
        for (const std::uint32_t i : indices) {
            renamed.push_back(n + "/" + ToPakPath(m_entries[i].Name().substr(o.size())));
            if (renamed.back().size() > kPakMaxNameLength) {
                m_nError = errPathTooLong;
                return false;
            }
        }
        // Twin records (paks from other tools hold them, or one name stored
        // with '/' and with '\\') would land on one new name.
        std::unordered_set<std::string_view> seen;
        for (const std::string& name : renamed) {
            if (!seen.insert(name).second) {
                m_nError = errNameExists;
                return false;
            }
        }
    } catch (const std::bad_alloc&) {
        m_nError = errOutOfMemory;
        return false;
    }
    for (std::size_t k = 0; k < indices.size(); ++k) SetEntryName(indices[k], renamed[k]);
    return DirectoryChanged();
}

bool CPakArchive::CreateFolder(std::string_view folder)
{
    if (RefuseChange()) return false;
    // The root needs no placeholder, and "//" is no folder.
    if (IsRootName(folder)) {
        m_nError = errBadName;
        return false;
    }
    std::string f = ToPakPath(folder);
    if (!f.empty() && f.back() == '/') f.pop_back();
    if (!CheckCreatedName(f, std::string::npos, true)) return false;
    const std::string name = f + "/temp.tmp";
    if (!IsValidPakPath(name)) return false;
    // Checked before the file grows, so a refused folder leaves no trace.
    if (FindEntryByName(name) >= 0) {
        m_nError = errNameExists;
        return false;
    }
    struct CNoData final : IPakDataSource {
        bool Read(std::uint64_t, void*, std::size_t, CPakFile&) override { return true; }
        bool Finish(CPakFile&) override { return true; }
    } nothing;
    return PlaceNewData(name, 0, nothing, -1);
}

bool CPakArchive::CreatePak(std::string_view folder, std::string_view name)
{
    if (!IsValidDosName(name)) return false;
    const std::string path = JoinDiskPath(folder, name);
    std::unique_ptr<IFile> file;
    // Locked before it is truncated: a pak another program has open is
    // refused (9), never emptied under it.
    FileCause cause = m_fs.Open(path, OpenMode::createTruncate, true, file);
    if (cause == FileCause::none) {
        const PakHeaderBytes bytes = EncodeHeader(EmptyPakHeader());
        cause = file->WriteAt(0, bytes.data(), bytes.size());
    }
    if (cause != FileCause::none) {
        SetErrorFromCause(cause);
        return false;
    }
    return true;
}

}  // namespace vantor
