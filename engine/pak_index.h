// Name index over the live directory, so that lookups and folder listings
// stay fast on paks of 100 000 entries. It never changes a result: lookups
// give the first record of a name, listings come back in directory order,
// names compare byte for byte, except that a '\' inside a stored name is
// the folder separator it was where the pak was made.
#pragma once

#include "pak_format.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantor {

using PakEntryArray = std::vector<PakEntry>;

class CPakIndex {
public:
    // Any change that moves records or changes names the index cannot follow.
    void Invalidate();
    // A record was appended at the end of the directory.
    void NoteAppended(const PakEntryArray& entries);
    // Record `index` (named name) was removed; later records moved up one.
    void NoteErased(std::size_t index, std::string_view name);
    // Record `index` changed its name from oldName (its place is unchanged).
    void NoteRenamed(const PakEntryArray& entries, std::size_t index, std::string_view oldName);

    int Find(const PakEntryArray& entries, std::string_view name);
    // The first record whose stored name, with each '\' read as '/', is
    // this pak-form name; -1 when none (names without '\' are not looked
    // at: Find has them).
    int FindAlias(const PakEntryArray& entries, std::string_view pakName);
    // Whether any name occurs twice (builds the lookup table if needed).
    bool HasDuplicates(const PakEntryArray& entries)
    {
        if (!m_bFirstValid) BuildFirst(entries);
        return m_nDuplicates != 0;
    }
    // Indices of every record whose name ('\' read as '/') begins with the
    // pak-form prefix, ascending.
    void FindPrefix(const PakEntryArray& entries, std::string_view prefix, std::vector<std::uint32_t>& indices);
    bool HasPrefix(const PakEntryArray& entries, std::string_view prefix);

private:
    // Drops the sorted order; keeps the first-record table only when it can
    // be updated in place (no duplicate names). Returns whether it was kept.
    bool KeepFirstAfterNameChange();
    void BuildFirst(const PakEntryArray& entries);
    void BuildSorted(const PakEntryArray& entries);

    bool m_bFirstValid = false;
    std::size_t m_nDuplicates = 0;  // records whose name an earlier record already has
    std::unordered_map<std::string, std::uint32_t> m_first;
    // Names stored with '\', by their pak form (rare: only paks from other
    // tools hold them).
    std::unordered_map<std::string, std::uint32_t> m_aliases;

    bool m_bSortedValid = false;
    std::vector<std::uint32_t> m_sorted;  // indices ordered by name
    std::vector<std::uint32_t> m_tail;    // appended since m_sorted was built
};

}  // namespace vantor
