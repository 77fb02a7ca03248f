// Deleting ("gibbing") and restoring entries by name.
#include "pak_archive.h"
#include "pak_names.h"

#include <new>

namespace vantor {

bool CPakArchive::GibEntryByName(std::string_view name, bool writeNow)
{
    if (RefuseChange()) return false;
    const int index = FindEntryByName(name);
    if (index < 0) return false;
    const bool directoryEndedFile = DirectoryEndsFile();
    if (!GibEntry(static_cast<std::size_t>(index))) return false;
    if (directoryEndedFile) m_nLogicalLength -= kPakEntrySize;
    if (!writeNow) {
        m_bPending = true;
        return true;
    }
    return DirectoryChanged();
}

bool CPakArchive::GibFolder(std::string_view folder)
{
    if (RefuseChange()) return false;
    // The root would be every entry: never by a name that only looks like
    // a folder ("//", "C:\\").
    if (IsRootName(folder)) {
        m_nError = errBadName;
        return false;
    }
    const std::string prefix = FolderPrefix(folder);
    const std::uint32_t lengthBefore = m_header.dirLength;
    const bool directoryEndedFile = DirectoryEndsFile();
    try {
        // One pass in directory order: the same records, in the same order,
        // as gibbing each listed name in turn, without a scan per name.
        std::vector<std::uint32_t> doomed;
        FindPrefix(prefix, doomed);
        m_gibbed.reserve(m_gibbed.size() + doomed.size());
        PakEntryArray kept;
        kept.reserve(m_entries.size() - doomed.size());
        std::size_t next = 0;
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            if (next < doomed.size() && doomed[next] == i) {
                m_gibbed.push_back(m_entries[i]);
                ++next;
            } else {
                kept.push_back(m_entries[i]);
            }
        }
        m_entries.swap(kept);
        if (m_entries.empty()) m_entries.shrink_to_fit();
        EntriesChanged();
        m_header.dirLength = static_cast<std::uint32_t>(m_entries.size() * kPakEntrySize);
    } catch (const std::bad_alloc&) {
        m_nError = errOutOfMemory;
        return false;
    }
    if (directoryEndedFile) m_nLogicalLength -= lengthBefore - m_header.dirLength;
    return DirectoryChanged();
}

bool CPakArchive::RestoreByName(std::string_view name)
{
    if (RefuseChange()) return false;
    const int deleted = FindDeletedEntry(name);
    if (deleted < 0) return false;
    const int live = FindEntryByName(name);

    // Decide before touching the live entry whether the gibbed one can come
    // back: its bytes must not belong to live data other than the entry of
    // the same name, which it is about to replace.
    if (CollidesWithLiveData(m_gibbed[static_cast<std::size_t>(deleted)], live)) {
        m_gibbed.erase(m_gibbed.begin() + deleted);
        return false;
    }

    // Where the directory and the end of the file will be, worked out
    // before anything changes so that a pak too large to grow stays as is.
    const GrowthPlan plan = PlanGrowth(0, live >= 0);
    if (!CheckGrowthFits(plan)) return false;

    // The swap is one commit, so the pak never shows neither version.
    if (live >= 0 && !GibEntry(static_cast<std::size_t>(live))) return false;
    if (!RestoreEntry(static_cast<std::size_t>(deleted))) {
        // The live entry stays gibbed (and restorable); that is written, and
        // a failure to write it is the one to report.
        if (live >= 0) {
            const int code = m_nError;
            m_nLogicalLength = plan.lengthBefore;
            if (DirectoryChanged()) m_nError = code;
        }
        return false;
    }
    m_nLogicalLength = plan.length;
    SetHeader(static_cast<std::uint32_t>(plan.dataOffset), static_cast<std::uint32_t>(plan.dirLength));
    return DirectoryChanged();
}

bool CPakArchive::RecoverUnusedSpace(const PakProgressFn& progress)
{
    if (RefuseReadOnly()) return false;
    return CPakFile::RecoverUnusedSpace(progress);
}

}  // namespace vantor
