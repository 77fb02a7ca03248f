// Writing changes so that a crash between any two writes leaves a pak that
// opens with either the old or the new directory: new bytes go only where
// the header on disk does not point, and the header, written last after a
// flush, is the commit point.
#include "pak_file.h"
#include "pak_range.h"

#include <algorithm>
#include <new>

namespace vantor {

bool CPakFile::OverlapsCommittedDirectory(std::uint64_t offset, std::uint64_t length) const
{
    return ByteRange{offset, length}.Overlaps({m_committed.dirOffset, m_committed.dirLength});
}

bool CPakFile::CommitHeader(std::uint32_t dirOffset, std::uint32_t dirLength)
{
    // Whatever the new header points at must be on disk before it is.
    if (!FlushPak()) return false;
    const PakHeader previous = m_header;
    m_header.magic = kPakMagic;
    m_header.dirOffset = dirOffset;
    m_header.dirLength = dirLength;
    const bool written = WriteHeader();
    const PakHeader wanted = m_header;
    m_header = previous;
    if (!written) return false;
    m_committed = wanted;
    ++m_nCommits;
    // And no later write may reach the disk before the header does.
    return FlushPak();
}

bool CPakFile::CopyWithinPak(std::uint64_t from, std::uint64_t to, std::uint64_t length)
{
    if (!CheckPakExists()) return false;
    if (!CheckFitsPak(to + length)) return false;
    try {
        char* buffer = TransferBuffer();
        for (std::uint64_t done = 0; done < length;) {
            const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(length - done, kTransferChunk));
            if (!ReadPakExactly(from + done, buffer, count) || !WritePakBytes(to + done, buffer, count)) return false;
            done += count;
        }
    } catch (const std::bad_alloc&) {
        m_nError = errOutOfMemory;
        return false;
    }
    return true;
}

bool CPakFile::CommitDirectory()
{
    if (!CheckPakExists()) return false;
    std::uint32_t target = m_header.dirOffset;
    const std::uint32_t length = static_cast<std::uint32_t>(m_entries.size() * kPakEntrySize);
    if (m_header.dirLength != length) {
        m_nError = errBadDirLength;
        return false;
    }
    // A header of zeros would not open again.
    if (target == 0 && length == 0) target = static_cast<std::uint32_t>(kPakHeaderSize);
    if (!CheckFitsPak(std::uint64_t{target} + length) || !CheckFitsPak(m_nLogicalLength)) return false;

    if (OverlapsCommittedDirectory(target, length)) {
        // The new directory would land on the one the header points at:
        // commit it past everything first, then move it into place.
        std::uint64_t realLength = 0;
        const FileCause cause = m_pFile->GetLength(realLength);
        if (cause != FileCause::none) {
            SetErrorFromCause(cause);
            return false;
        }
        const std::uint64_t scratch = std::max({realLength, m_nLogicalLength, m_nClaimedEnd, std::uint64_t{target} + length,
                                                std::uint64_t{m_committed.dirOffset} + m_committed.dirLength});
        if (!CheckFitsPak(scratch + length)) return false;
        if (!WriteDirectoryAt(scratch)) return false;
        if (!CommitHeader(static_cast<std::uint32_t>(scratch), length)) return false;
    }
    if (!WriteDirectoryAt(target)) return false;
    if (!CommitHeader(target, length)) return false;
    m_header.dirOffset = target;

    std::uint64_t realLength = 0;
    const FileCause cause = m_pFile->GetLength(realLength);
    if (cause != FileCause::none) {
        SetErrorFromCause(cause);
        return false;
    }
    if (realLength != m_nLogicalLength && !ResizePak(m_nLogicalLength)) return false;
    m_bPending = false;
    // A commit inside a batch is what a later failure returns to.
    if (m_nBatchDepth > 0) TakeBatchSnapshot();
    return true;
}

bool CPakFile::DirectoryChanged()
{
    m_bPending = true;
    ++m_nLayoutChanges;
    if (m_nBatchDepth > 0 && m_pBatchStart) return true;
    return CommitDirectory();
}

bool CPakFile::CommitPending()
{
    if (!m_bPending) return true;
    return CommitDirectory();
}

void CPakFile::TakeBatchSnapshot()
{
    try {
        if (!m_pBatchStart) m_pBatchStart = std::make_unique<BatchSnapshot>();
        m_pBatchStart->entries = m_entries;
        m_pBatchStart->gibbed = m_gibbed;
    } catch (const std::bad_alloc&) {
        m_pBatchStart.reset();
        return;
    }
    m_pBatchStart->header = m_header;
    m_pBatchStart->logicalLength = m_nLogicalLength;
    m_pBatchStart->pending = m_bPending;
}

void CPakFile::ReturnToBatchSnapshot()
{
    BatchSnapshot& start = *m_pBatchStart;
    m_entries.swap(start.entries);
    m_gibbed.swap(start.gibbed);
    EntriesChanged();
    m_header = start.header;
    m_nLogicalLength = start.logicalLength;
    m_bPending = start.pending;
    // Making room for new data may have committed the same directory at a
    // new place past the end: that is where it is now.
    if (!m_bPending && m_committed.dirOffset != m_header.dirOffset) {
        m_header.dirOffset = m_committed.dirOffset;
        m_nLogicalLength = std::max(m_nLogicalLength, std::uint64_t{m_committed.dirOffset} + m_header.dirLength);
    }
}

void CPakFile::BeginBatch()
{
    if (m_nBatchDepth++ > 0) return;
    m_nBatchBytes = 0;
    TakeBatchSnapshot();
}

bool CPakFile::EndBatch()
{
    if (m_nBatchDepth > 0) --m_nBatchDepth;
    if (m_nBatchDepth > 0) return true;
    const std::uint64_t commits = m_nCommits;
    // Even with nothing to commit, a failed change may have grown the file.
    const bool settled = SettleFile();
    if (!settled && m_nCommits == commits && m_pBatchStart && IsOpen()) {
        const int code = m_nError;
        const bool fault = m_bPakFault;
        ReturnToBatchSnapshot();
        // Gives back what the failed commit may have grown, unless another
        // program changed the file (then nothing is written).
        if (!m_bPending && !HasChangedOnDisk()) SettleFile();
        m_nError = code;
        m_bPakFault = fault;
    }
    m_pBatchStart.reset();
    return settled;
}

}  // namespace vantor
