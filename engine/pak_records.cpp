// The record operations on the live directory and the gibbed list. They
// change memory only; callers write.
#include "pak_file.h"
#include "pak_names.h"
#include "pak_range.h"

#include <new>

namespace vantor {

bool CPakFile::AddEntry(std::string_view name, std::uint32_t offset, std::uint32_t length)
{
    if (name.size() > kPakMaxNameLength) {
        m_nError = errPathTooLong;
        return false;
    }
    if (FindEntry(name) != -1) {
        m_nError = errNameExists;
        return false;
    }
    PakEntry entry;
    entry.SetName(name);
    entry.offset = offset;
    entry.length = length;
    try {
        m_entries.push_back(entry);
    } catch (const std::bad_alloc&) {
        m_nError = errOutOfMemory;
        return false;
    }
    EntryAppended();
    return true;
}

bool CPakFile::RenameEntry(std::size_t index, std::string_view name)
{
    if (index >= m_entries.size()) {
        m_nError = errBadIndex;
        return false;
    }
    const std::string pakName = ToPakPath(name);
    if (!IsValidPakPath(pakName) || !IsValidDosName(GetNamePart(pakName))) return false;
    SetEntryName(index, pakName);
    return true;
}

void CPakFile::SetEntryName(std::size_t index, std::string_view name)
{
    const std::string oldName(m_entries[index].Name());
    m_entries[index].SetName(name);
    EntryRenamed(index, oldName);
}

bool CPakFile::GibEntry(std::size_t index)
{
    if (index >= m_entries.size()) {
        m_nError = errBadIndex;
        return false;
    }
    try {
        m_gibbed.push_back(m_entries[index]);
    } catch (const std::bad_alloc&) {
        m_nError = errOutOfMemory;
        return false;
    }
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
    if (m_entries.empty()) m_entries.shrink_to_fit();
    EntryErased(index, m_gibbed.back().Name());
    m_header.dirLength -= static_cast<std::uint32_t>(kPakEntrySize);
    return true;
}

bool CPakFile::RestoreEntry(std::size_t index)
{
    if (index >= m_gibbed.size()) {
        m_nError = errBadIndex;
        return false;
    }
    const PakEntry record = m_gibbed[index];
    if (CollidesWithLiveData(record, -1)) {
        // Its bytes belong to live data now: it can never come back.
        m_gibbed.erase(m_gibbed.begin() + static_cast<std::ptrdiff_t>(index));
        return false;
    }
    try {
        m_entries.push_back(record);
    } catch (const std::bad_alloc&) {
        m_nError = errOutOfMemory;
        return false;
    }
    EntryAppended();
    m_gibbed.erase(m_gibbed.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

bool CPakFile::CollidesWithLiveData(const PakEntry& record, int except) const
{
    const ByteRange data = DataOf(record);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (static_cast<int>(i) != except && data.Overlaps(DataOf(m_entries[i]))) return true;
    }
    return false;
}

void CPakFile::GetGibbedNames(StringArray& names) const
{
    for (const PakEntry& record : m_gibbed) names.emplace_back(record.Name());
}

}  // namespace vantor
