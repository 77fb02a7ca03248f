#include "pak_index.h"

#include "pak_names.h"

#include <algorithm>
#include <numeric>

namespace vantor {
namespace {

unsigned char AsPak(char c) { return static_cast<unsigned char>(c == '\\' ? '/' : c); }

// Byte order of the names as the pak form reads them.
bool LessAsPak(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return AsPak(x) < AsPak(y); });
}

std::string PakForm(std::string_view name)
{
    std::string form(name);
    std::replace(form.begin(), form.end(), '\\', '/');
    return form;
}

}  // namespace

void CPakIndex::Invalidate()
{
    m_bFirstValid = false;
    m_bSortedValid = false;
    m_first.clear();
    m_aliases.clear();
    m_sorted.clear();
    m_tail.clear();
}

void CPakIndex::NoteAppended(const PakEntryArray& entries)
{
    const auto index = static_cast<std::uint32_t>(entries.size() - 1);
    if (m_bFirstValid) {
        const std::string_view name = entries.back().Name();
        if (!m_first.emplace(std::string(name), index).second) ++m_nDuplicates;
        if (name.find('\\') != std::string_view::npos) m_aliases.emplace(PakForm(name), index);
    }
    if (m_bSortedValid) {
        m_tail.push_back(index);
        // Re-sort once the unsorted tail would make listings slow.
        if (m_tail.size() > 256 + m_sorted.size() / 16) {
            m_bSortedValid = false;
            m_sorted.clear();
            m_tail.clear();
        }
    }
}

bool CPakIndex::KeepFirstAfterNameChange()
{
    m_bSortedValid = false;
    m_sorted.clear();
    m_tail.clear();
    if (!m_bFirstValid) return false;
    if (m_nDuplicates != 0 || !m_aliases.empty()) {
        // The next record of a name would have to be found: start over.
        m_bFirstValid = false;
        m_first.clear();
        m_aliases.clear();
        return false;
    }
    return true;
}

void CPakIndex::NoteErased(std::size_t index, std::string_view name)
{
    if (!KeepFirstAfterNameChange()) return;
    // Cheaper than a rebuild: no names are copied, only places shift.
    m_first.erase(std::string(name));
    for (auto& [key, place] : m_first)
        if (place > index) --place;
}

void CPakIndex::NoteRenamed(const PakEntryArray& entries, std::size_t index, std::string_view oldName)
{
    if (!KeepFirstAfterNameChange()) return;
    m_first.erase(std::string(oldName));
    const std::string_view name = entries[index].Name();
    const auto [it, inserted] = m_first.emplace(std::string(name), static_cast<std::uint32_t>(index));
    if (!inserted) {
        ++m_nDuplicates;
        it->second = std::min(it->second, static_cast<std::uint32_t>(index));
    }
    if (name.find('\\') != std::string_view::npos) m_aliases.emplace(PakForm(name), static_cast<std::uint32_t>(index));
}

void CPakIndex::BuildFirst(const PakEntryArray& entries)
{
    m_first.clear();
    m_aliases.clear();
    m_first.reserve(entries.size());
    m_nDuplicates = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string_view name = entries[i].Name();
        if (!m_first.emplace(std::string(name), static_cast<std::uint32_t>(i)).second) ++m_nDuplicates;
        if (name.find('\\') != std::string_view::npos) m_aliases.emplace(PakForm(name), static_cast<std::uint32_t>(i));
    }
    m_bFirstValid = true;
}

void CPakIndex::BuildSorted(const PakEntryArray& entries)
{
    m_sorted.resize(entries.size());
    std::iota(m_sorted.begin(), m_sorted.end(), 0u);
    std::stable_sort(m_sorted.begin(), m_sorted.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return LessAsPak(entries[a].Name(), entries[b].Name()); });
    m_tail.clear();
    m_bSortedValid = true;
}

int CPakIndex::Find(const PakEntryArray& entries, std::string_view name)
{
    if (!m_bFirstValid) BuildFirst(entries);
    const auto it = m_first.find(std::string(name));
    return it == m_first.end() ? -1 : static_cast<int>(it->second);
}

int CPakIndex::FindAlias(const PakEntryArray& entries, std::string_view pakName)
{
    if (!m_bFirstValid) BuildFirst(entries);
    if (m_aliases.empty()) return -1;
    const auto it = m_aliases.find(std::string(pakName));
    return it == m_aliases.end() ? -1 : static_cast<int>(it->second);
}

void CPakIndex::FindPrefix(const PakEntryArray& entries, std::string_view prefix, std::vector<std::uint32_t>& indices)
{
    indices.clear();
    if (prefix.empty()) {
        indices.resize(entries.size());
        std::iota(indices.begin(), indices.end(), 0u);
        return;
    }
    if (!m_bSortedValid) BuildSorted(entries);
    auto it = std::lower_bound(m_sorted.begin(), m_sorted.end(), prefix,
                               [&](std::uint32_t i, std::string_view p) { return LessAsPak(entries[i].Name(), p); });
    for (; it != m_sorted.end() && StartsWithPakPrefix(entries[*it].Name(), prefix); ++it) indices.push_back(*it);
    for (const std::uint32_t i : m_tail)
        if (StartsWithPakPrefix(entries[i].Name(), prefix)) indices.push_back(i);
    std::sort(indices.begin(), indices.end());
}

bool CPakIndex::HasPrefix(const PakEntryArray& entries, std::string_view prefix)
{
    if (prefix.empty()) return !entries.empty();
    if (!m_bSortedValid) BuildSorted(entries);
    const auto it = std::lower_bound(m_sorted.begin(), m_sorted.end(), prefix,
                                     [&](std::uint32_t i, std::string_view p) { return LessAsPak(entries[i].Name(), p); });
    if (it != m_sorted.end() && StartsWithPakPrefix(entries[*it].Name(), prefix)) return true;
    return std::any_of(m_tail.begin(), m_tail.end(), [&](std::uint32_t i) { return StartsWithPakPrefix(entries[i].Name(), prefix); });
}

}  // namespace vantor
