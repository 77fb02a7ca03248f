// Name rules, lookups and folder listings of CPakFile.
#include "pak_file.h"
#include "pak_names.h"

#include <new>

namespace vantor {

bool CPakFile::IsValidPakPath(std::string_view path)
{
    const int code = CheckPakPath(path);
    if (code != 0) m_nError = code;
    return code == 0;
}

bool CPakFile::IsValidDosName(std::string_view name)
{
    const int code = CheckDosName(name);
    if (code != 0) m_nError = code;
    return code == 0;
}

int CPakFile::FindEntry(std::string_view name) const
{
    return m_index.Find(m_entries, name);
}

int CPakFile::FindEntryByName(std::string_view name) const
{
    const int exact = FindEntry(name);
    if (exact >= 0) return exact;
    const std::string pakName = ToPakPath(name);
    const int pakForm = FindEntry(pakName);
    return pakForm >= 0 ? pakForm : m_index.FindAlias(m_entries, pakName);
}

bool CPakFile::HasFolder(std::string_view folder) const
{
    return m_index.HasPrefix(m_entries, FolderPrefix(folder));
}

int CPakFile::FindDeletedEntry(std::string_view name) const
{
    for (std::size_t i = 0; i < m_gibbed.size(); ++i)
        if (m_gibbed[i].Name() == name) return static_cast<int>(i);
    return -1;
}

void CPakFile::FindPrefix(std::string_view prefix, std::vector<std::uint32_t>& indices) const
{
    m_index.FindPrefix(m_entries, prefix, indices);
}

void CPakFile::ListFolderRecords(std::string_view folder, std::vector<std::uint32_t>& indices) const
{
    FindPrefix(FolderPrefix(folder), indices);
}

void CPakFile::ListFolder(std::string_view folder, StringArray& out)
{
    try {
        std::vector<std::uint32_t> indices;
        ListFolderRecords(folder, indices);
        out.reserve(out.size() + indices.size());
        for (const std::uint32_t i : indices) out.emplace_back(m_entries[i].Name());
    } catch (const std::bad_alloc&) {
        out.clear();
        m_nError = errOutOfMemory;
        return;
    }
    m_nError = errUnspecified;
}

}  // namespace vantor
