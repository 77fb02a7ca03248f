// Renaming and moving entries and folders, new folders and new paks.
#include "pak_archive.h"
#include "pak_names.h"

namespace vantor {
namespace {

// Names a rename or a new folder may create: both rules, and nothing that
// could lead out of a folder when extracted.
bool CheckNewName(CPakFile& pak, std::string_view path, std::string_view lastLevel)
{
    if (!pak.IsValidDosName(lastLevel) || !pak.IsValidPakPath(path)) return false;
    if (!IsSafeRelativeName(path)) {
        pak.SetError(errBadName);
        return false;
    }
    return true;
}

}  // namespace

bool CPakArchive::RenameEntryByName(std::string_view oldName, std::string_view newName)
{
    if (RefuseChange()) return false;
    const std::string n = ToPakPath(newName);
    if (!CheckNewName(*this, n, GetNamePart(n))) return false;
    const int index = FindEntryByName(oldName);
    if (index < 0) return false;
    if (FolderExists(n, "") || EntryExists(n)) {
        m_nError = errNameExists;
        return false;
    }
    if (!RenameEntry(static_cast<std::size_t>(index), n)) return false;
    return DirectoryChanged();
}

bool CPakArchive::RenameFolder(std::string_view oldFolder, std::string_view newFolder)
{
    if (RefuseChange()) return false;
    const std::string o = ToPakPath(oldFolder);
    const std::string n = ToPakPath(newFolder);
    if (n.empty()) {
        m_nError = errBadName;
        return false;
    }
    std::string bare = n;
    if (bare.back() == '/') bare.pop_back();
    if (!CheckNewName(*this, bare, GetNamePart(bare)) || !IsValidPakPath(n)) return false;
    if (EntryExists(n) || FolderExists(n, "")) {
        m_nError = errNameExists;
        return false;
    }
    const std::size_t cut = o.size();
    StringArray names;
    ListFolder(oldFolder, names);
    bool result = true;
    for (const std::string& name : names) {
        const int index = FindEntry(name);
        if (index < 0) {
            result = false;
            continue;
        }
        const std::string renamed = CombinePath(n, std::string_view(name).substr(cut));
        if (EntryExists(renamed)) {
            // The clash is reported as a failure; the entry keeps its name.
            m_nError = errNameExists;
            result = false;
            continue;
        }
        if (!RenameEntry(static_cast<std::size_t>(index), renamed)) result = false;
    }
    const int code = m_nError;
    if (!DirectoryChanged()) return false;
    m_nError = code;
    return result;
}

bool CPakArchive::CreateFolder(std::string_view folder)
{
    if (RefuseChange()) return false;
    const std::string name = CombinePath(ToPakPath(folder), "temp.tmp");
    if (!IsValidPakPath(name)) return false;
    if (!IsSafeRelativeName(name)) {
        m_nError = errBadName;
        return false;
    }
    // Checked before the file grows, so a refused folder leaves no trace.
    if (EntryExists(name)) {
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
