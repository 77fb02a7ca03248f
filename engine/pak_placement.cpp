// Placing new data in the pak. The layout is fixed (data where the
// directory began when the directory ended the file, else at the end; the
// directory last), but the directory the header points at is first copied
// out of the way, so no crash can leave the header pointing at new data.
#include "pak_file.h"
#include "pak_range.h"

#include <algorithm>
#include <new>

namespace vantor {

bool CPakFile::RelocateCommittedDirectory(std::uint64_t minimum)
{
    std::uint64_t realLength = 0;
    const FileCause cause = m_pFile->GetLength(realLength);
    if (cause != FileCause::none) {
        SetErrorFromCause(cause);
        return false;
    }
    const std::uint64_t length = m_committed.dirLength / kPakEntrySize * kPakEntrySize;
    std::uint64_t target = std::max(realLength, minimum);
    // In a batch more data will follow: leave room for as much again, so
    // the copy moves only a few times however many files come.
    if (m_nBatchDepth > 0) {
        const std::uint64_t room = target + std::max<std::uint64_t>(length, m_nBatchBytes);
        if (room + length <= kPakMaxFileSize) target = room;
    }
    if (!CheckFitsPak(target + length)) return false;
    if (!CopyWithinPak(m_committed.dirOffset, target, length)) return false;
    return CommitHeader(static_cast<std::uint32_t>(target), static_cast<std::uint32_t>(length));
}

void CPakFile::RestoreLayout()
{
    if (m_nBatchDepth > 0 || !IsOpen()) return;
    const int code = m_nError;
    const bool fault = m_bPakFault;
    SettleFile();
    m_nError = code;
    m_bPakFault = fault;
}

bool CPakFile::SettleFile()
{
    if (m_bPending || m_header.dirOffset != m_committed.dirOffset || m_header.dirLength != m_committed.dirLength)
        return CommitDirectory();
    // The directory on disk is the one in memory: nothing to write, and a
    // rewrite would need room the disk may not have.
    std::uint64_t realLength = 0;
    const FileCause cause = m_pFile->GetLength(realLength);
    if (cause != FileCause::none) return PakFailed(cause);
    return realLength == m_nLogicalLength || ResizePak(m_nLogicalLength);
}

bool CPakFile::RefuseUnsafeLayout()
{
    if (!m_bUnsafeLayout) return false;
    PakFailedWith(errBadDirectory);
    return true;
}

void CPakFile::NoteLayout()
{
    ++m_nLayoutChanges;
    const ByteRange header{0, kPakHeaderSize};
    const ByteRange directory{m_header.dirOffset, m_header.dirLength};
    m_bUnsafeLayout = directory.Overlaps(header);
    m_nClaimedEnd = kPakHeaderSize;
    for (const PakEntry& entry : m_entries) {
        const ByteRange data = DataOf(entry);
        if (data.length == 0) continue;
        m_nClaimedEnd = std::max(m_nClaimedEnd, data.End());
        if (data.Overlaps(header) || data.Overlaps(directory)) m_bUnsafeLayout = true;
    }
}

CPakFile::GrowthPlan CPakFile::PlanGrowth(std::uint64_t size, bool replacing) const
{
    GrowthPlan plan;
    // The layout as if the replaced record were already gone.
    plan.lengthBefore = m_nLogicalLength;
    std::uint64_t dirLength = m_header.dirLength;
    const std::uint64_t dirOffset = m_header.dirOffset;
    if (replacing) {
        if (dirOffset + dirLength == plan.lengthBefore) plan.lengthBefore -= kPakEntrySize;
        dirLength -= kPakEntrySize;
    }
    const std::uint64_t ruleOffset = dirOffset + dirLength == plan.lengthBefore ? dirOffset : plan.lengthBefore;
    plan.dataOffset = std::max(ruleOffset, m_nClaimedEnd);
    plan.pushed = plan.dataOffset != ruleOffset;
    plan.dirLength = dirLength + kPakEntrySize;
    plan.length = plan.dataOffset + size + plan.dirLength;
    return plan;
}

bool CPakFile::CheckGrowthFits(const GrowthPlan& plan)
{
    if (CheckFitsPak(plan.length)) return true;
    // Pushed that far only by a record that claims bytes past the end.
    if (plan.pushed) PakFailedWith(errBadDirectory);
    return false;
}

bool CPakFile::PlaceNewData(std::string_view name, std::uint64_t size, IPakDataSource& source, int replaceIndex)
{
    if (!CheckPakExists() || RefuseUnsafeLayout()) return false;
    const GrowthPlan plan = PlanGrowth(size, replaceIndex >= 0);
    if (!CheckGrowthFits(plan)) return false;
    const std::uint64_t dataOffset = plan.dataOffset;
    const std::uint64_t newLength = plan.length;

    if (OverlapsCommittedDirectory(dataOffset, size) && !RelocateCommittedDirectory(newLength)) {
        RestoreLayout();
        return false;
    }

    try {
        char* buffer = TransferBuffer();
        for (std::uint64_t done = 0; done < size;) {
            const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(size - done, kTransferChunk));
            if (!source.Read(done, buffer, count, *this) || !WriteData(dataOffset + done, count, buffer)) {
                RestoreLayout();
                return false;
            }
            done += count;
        }
    } catch (const std::bad_alloc&) {
        m_nError = errOutOfMemory;
        return false;
    }
    if (!source.Finish(*this)) {
        RestoreLayout();
        return false;
    }

    const PakHeader headerBefore = m_header;
    const std::uint64_t lengthBefore = m_nLogicalLength;
    const std::uint64_t claimedBefore = m_nClaimedEnd;
    const bool pendingBefore = m_bPending;
    if (replaceIndex >= 0 && !GibEntry(static_cast<std::size_t>(replaceIndex))) return false;
    if (!AddEntry(name, static_cast<std::uint32_t>(dataOffset), static_cast<std::uint32_t>(size))) {
        if (replaceIndex >= 0) {
            RestoreEntry(m_gibbed.size() - 1);
            m_header.dirLength += kPakEntrySize;
        }
        RestoreLayout();
        return false;
    }
    SetHeader(static_cast<std::uint32_t>(dataOffset + size), static_cast<std::uint32_t>(plan.dirLength));
    m_nLogicalLength = newLength;
    if (size != 0) m_nClaimedEnd = std::max(m_nClaimedEnd, dataOffset + size);
    m_nBatchBytes += size;
    const std::uint64_t commits = m_nCommits;
    if (DirectoryChanged()) return true;
    // A header naming the new entry reached the disk (its directory perhaps
    // still at a scratch place past the end): the entry is in the pak, and
    // only tidying the file failed, which the next commit does.
    if (m_nCommits != commits) return true;
    // The commit did not happen: forget the entry, so that memory says what
    // the disk says and a failed add leaves no trace, not even length.
    const int code = m_nError;
    m_entries.pop_back();
    EntriesChanged();
    if (replaceIndex >= 0) {
        m_entries.insert(m_entries.begin() + replaceIndex, m_gibbed.back());
        m_gibbed.pop_back();
    }
    m_header = headerBefore;
    m_nLogicalLength = lengthBefore;
    m_nClaimedEnd = claimedBefore;
    m_bPending = pendingBefore;
    RestoreLayout();
    m_nError = code;
    m_bPakFault = true;
    return false;
}

}  // namespace vantor
