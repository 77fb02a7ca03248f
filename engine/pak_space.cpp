// Unused space: measuring it, and recovering it by packing the live data
// towards the start of the file without ever exposing a torn pak.
#include "pak_file.h"
#include "pak_range.h"

#include <algorithm>
#include <new>
#include <numeric>
#include <optional>

namespace vantor {
namespace {

// The old places of entries moved since the last commit. The header on disk
// still points at them, so nothing may be written there until it no longer
// does. Kept in ascending order, as entries are moved in offset order.
class CPendingSources {
public:
    void Add(ByteRange range) { m_ranges.push_back(range); }
    void SetScratch(ByteRange range) { m_scratch = range; }
    void Clear()
    {
        m_ranges.clear();
        m_scratch.reset();
    }
    bool Empty() const { return m_ranges.empty() && !m_scratch; }
    bool Overlaps(const ByteRange& target) const
    {
        if (m_scratch && m_scratch->Overlaps(target)) return true;
        const auto it = std::upper_bound(m_ranges.begin(), m_ranges.end(), target.offset,
                                         [](std::uint64_t offset, const ByteRange& r) { return offset < r.End(); });
        return it != m_ranges.end() && it->Overlaps(target);
    }

private:
    std::vector<ByteRange> m_ranges;
    std::optional<ByteRange> m_scratch;
};

}  // namespace

std::uint64_t CountUnusedBytes(std::uint64_t fileLength, std::uint64_t dirOffset, std::uint64_t dirLength,
                               std::span<const PakEntry> entries)
{
    struct Span {
        std::uint64_t begin = 0;
        std::uint64_t end = 0;
    };
    std::vector<Span> used;
    used.reserve(entries.size() + 2);
    const auto use = [&](std::uint64_t begin, std::uint64_t length) {
        const std::uint64_t end = std::min(begin + length, fileLength);
        if (begin < end) used.push_back({begin, end});
    };
    use(0, kPakHeaderSize);
    use(dirOffset, dirLength);
    for (const PakEntry& entry : entries) use(entry.offset, entry.length);
    std::sort(used.begin(), used.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
    std::uint64_t covered = 0;
    std::uint64_t reached = 0;
    for (const Span& span : used) {
        const std::uint64_t begin = std::max(span.begin, reached);
        if (span.end > begin) covered += span.end - begin;
        reached = std::max(reached, span.end);
    }
    return fileLength - covered;
}

std::vector<std::uint32_t> CPakFile::OffsetOrder() const
{
    std::vector<std::uint32_t> order(m_entries.size());
    std::iota(order.begin(), order.end(), 0u);
    const auto byOffset = [&](std::uint32_t a, std::uint32_t b) { return m_entries[a].offset < m_entries[b].offset; };
    if (!std::is_sorted(order.begin(), order.end(), byOffset)) std::stable_sort(order.begin(), order.end(), byOffset);
    return order;
}

bool CPakFile::EntriesAreSound(std::uint64_t fileLength, const std::vector<std::uint32_t>& order) const
{
    const ByteRange directory{m_header.dirOffset, m_header.dirLength};
    if (directory.length != 0 && (directory.offset < kPakHeaderSize || directory.End() > fileLength)) return false;
    // Empty entries hold no bytes to lose.
    std::uint64_t previousEnd = kPakHeaderSize;
    for (const std::uint32_t i : order) {
        const PakEntry& entry = m_entries[i];
        if (entry.length == 0) continue;
        const ByteRange data{entry.offset, entry.length};
        if (data.offset < previousEnd || data.End() > fileLength || data.Overlaps(directory)) return false;
        previousEnd = data.End();
    }
    return true;
}

CPakFile::SpaceKey CPakFile::CurrentSpaceKey() const
{
    return {m_nLayoutChanges, m_nCommits, m_nLogicalLength, m_entries.size(), m_header, m_committed, m_bPending};
}

const CPakFile::SpaceFigures& CPakFile::Space() const
{
    const SpaceKey key = CurrentSpaceKey();
    if (m_space.bKnown && m_space.key == key) return m_space;
    // With nothing pending the directory is the stored one, a length that
    // is not whole records included, exactly as check reads the file.
    const PakHeader& directory = m_bPending ? m_header : m_committed;
    SpaceFigures figures;
    figures.unusedBytes = CountUnusedBytes(m_nLogicalLength, directory.dirOffset, directory.dirLength, m_entries);
    figures.bEntriesSound = EntriesAreSound(m_nLogicalLength, OffsetOrder());
    figures.key = key;
    figures.bKnown = true;
    m_space = figures;
    return m_space;
}

std::uint64_t CPakFile::GetUnusedSpaceBytes() const
{
    if (!IsOpen()) return 0;
    try {
        return Space().unusedBytes;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

PakError CPakFile::GetRecoveryRefusal() const
{
    if (!IsOpen() || HasChangedOnDisk()) return errPakInaccessible;
    try {
        if (!Space().bEntriesSound) return errRecoverIncomplete;
    } catch (const std::bad_alloc&) {
        return errOutOfMemory;
    }
    return errGeneric;
}

int CPakFile::GetUnusedSpaceKB() const
{
    const std::uint64_t gap = GetUnusedSpaceBytes();
    if (gap == 0) return 0;
    const std::uint64_t kb = gap / 1024;
    return kb == 0 ? 1 : static_cast<int>(std::min<std::uint64_t>(kb, 0x7FFFFFFF));
}

void CPakFile::PackDirectoryBehindData()
{
    std::uint64_t end = kPakHeaderSize;
    for (const PakEntry& entry : m_entries)
        if (entry.length != 0) end = std::max(end, entry.End());
    const std::uint64_t dirLength = m_header.dirLength;
    if (end >= m_header.dirOffset || OverlapsCommittedDirectory(end, dirLength)) return;
    const int code = m_nError;
    const bool fault = m_bPakFault;
    const std::uint64_t length = m_nLogicalLength;
    m_header.dirOffset = static_cast<std::uint32_t>(end);
    m_nLogicalLength = end + dirLength;
    if (!CommitDirectory() && m_committed.dirOffset != end) {
        m_header.dirOffset = m_committed.dirOffset;
        m_nLogicalLength = length;
        m_bPending = false;
    }
    m_nError = code;
    m_bPakFault = fault;
}

bool CPakFile::RecoverUnusedSpace(const PakProgressFn& progress)
{
    if (!CheckPakExists()) return false;
    if (const PakError refusal = GetRecoveryRefusal(); refusal != errGeneric) {
        if (refusal == errPakInaccessible) return PakFailedWith(refusal);
        m_nError = refusal;
        return false;
    }
    if (!CommitPending()) return false;
    // Data moves in offset order; the records keep their directory order,
    // which decides what a name twice in the pak reads.
    std::vector<std::uint32_t> order;
    try {
        order = OffsetOrder();
    } catch (const std::bad_alloc&) {
        m_nError = errOutOfMemory;
        return false;
    }
    const std::uint64_t fileLength = m_nLogicalLength;
    // Checked again here, not taken from what the views were shown: moving
    // data on a wrong belief about the layout would destroy entries.
    if (!EntriesAreSound(fileLength, order)) {
        m_nError = errRecoverIncomplete;
        return false;
    }

    const std::uint64_t dirLength = m_header.dirLength;
    // Scratch room past everything: two places for the directory, used in
    // turn by the commits along the way, then room to park entries that
    // must move by less than their own length.
    std::uint64_t beyond = std::max<std::uint64_t>(fileLength, std::uint64_t{m_committed.dirOffset} + m_committed.dirLength);
    std::uint64_t largestSelfOverlap = 0;
    std::uint64_t bytesToMove = 0;
    {
        std::uint64_t expected = kPakHeaderSize;
        for (const std::uint32_t i : order) {
            const PakEntry& entry = m_entries[i];
            // Empty entries claim no bytes and stay where they are.
            if (entry.length == 0) continue;
            beyond = std::max(beyond, entry.End());
            if (entry.offset != expected) {
                bytesToMove += entry.length;
                if (expected + entry.length > entry.offset) largestSelfOverlap = std::max<std::uint64_t>(largestSelfOverlap, entry.length);
            }
            expected += entry.length;
        }
    }
    const std::uint64_t slotA = beyond;
    const std::uint64_t slotB = beyond + dirLength;
    const std::uint64_t parking = beyond + 2 * dirLength;
    if (!CheckFitsPak(parking + largestSelfOverlap)) return false;
    // Parked entries are committed together: one commit per this many bytes,
    // not one per entry, on paks whose entries lie a few bytes apart.
    constexpr std::uint64_t kParkingBudget = std::uint64_t{64} << 20;
    constexpr std::uint64_t kCommitWorthGap = std::uint64_t{4} << 20;
    const std::uint64_t parkingEnd =
        std::min(kPakMaxFileSize, std::max(parking + largestSelfOverlap, parking + kParkingBudget));

    m_gibbed.clear();
    m_gibbed.shrink_to_fit();

    if (m_entries.empty()) {
        SetHeader(static_cast<std::uint32_t>(kPakHeaderSize), 0);
        m_nLogicalLength = kPakHeaderSize;
        if (!CommitDirectory()) return false;
        NoteLayout();
        return true;
    }

    struct Parked {
        std::size_t index;
        std::uint64_t target;
    };
    std::vector<Parked> parked;           // copied to the parking place, not yet committed there
    std::uint64_t parkedEnd = parking;     // next free byte of the parking place
    bool parkingBlocked = false;           // an entry could not leave it: never reuse it
    CPendingSources pending;
    std::vector<std::uint32_t> committedOffsets;
    for (const PakEntry& entry : m_entries) committedOffsets.push_back(entry.offset);
    std::size_t failures = 0;
    PakProgress report{0, m_entries.size(), 0, bytesToMove};

    // On a failed commit, memory goes back to what the disk says, so that
    // no later change can write over bytes the header still points at.
    const auto giveUp = [&]() {
        const int code = m_nError;
        for (std::size_t i = 0; i < m_entries.size(); ++i) m_entries[i].offset = committedOffsets[i];
        EntriesChanged();
        m_header.dirOffset = m_committed.dirOffset;
        m_bPending = false;
        // The file as long as the committed header needs it; a directory
        // committed past the end on the way comes back behind the data.
        NoteLayout();
        m_nLogicalLength = std::max(m_nClaimedEnd, std::uint64_t{m_committed.dirOffset} + dirLength);
        PackDirectoryBehindData();
        SettleFile();
        m_nError = code;
        m_bPakFault = true;
        return false;
    };
    // Commits the directory as memory has it (parked entries at their
    // parking places), then moves the parked entries down to their targets.
    const auto commitMoves = [&]() {
        const std::uint64_t slot = m_committed.dirOffset == slotA ? slotB : slotA;
        if (!WriteDirectoryAt(slot) || !CommitHeader(static_cast<std::uint32_t>(slot), static_cast<std::uint32_t>(dirLength)))
            return false;
        m_header.dirOffset = static_cast<std::uint32_t>(slot);
        m_nLogicalLength = std::max(m_nLogicalLength, slot + dirLength);
        for (std::size_t i = 0; i < m_entries.size(); ++i) committedOffsets[i] = m_entries[i].offset;
        pending.Clear();
        for (const Parked& p : parked) {
            PakEntry& entry = m_entries[p.index];
            if (!CopyWithinPak(entry.offset, p.target, entry.length)) {
                ++failures;  // it stays safely parked
                parkingBlocked = true;
                continue;
            }
            entry.offset = static_cast<std::uint32_t>(p.target);
            report.bytesDone += entry.length;
        }
        // Their committed copies stay referenced until the next commit.
        if (!parked.empty()) pending.SetScratch({parking, parkedEnd - parking});
        parked.clear();
        if (!parkingBlocked) parkedEnd = parking;
        return true;
    };
    const auto mustCommitBefore = [&](const ByteRange& target) {
        return OverlapsCommittedDirectory(target.offset, target.length) || pending.Overlaps(target);
    };

    std::uint64_t expected = kPakHeaderSize;
    for (std::size_t k = 0; k < order.size(); ++k) {
        report.itemsDone = k;
        if (progress && !progress(report)) {
            failures += order.size() - k;
            break;
        }
        PakEntry& entry = m_entries[order[k]];
        if (entry.length == 0) continue;
        if (entry.offset == expected) {
            expected = entry.End();
            continue;
        }
        const ByteRange source{entry.offset, entry.length};
        const ByteRange target{expected, entry.length};
        // The directory lying among the data goes out of the way first.
        if (OverlapsCommittedDirectory(target.offset, target.length) && !commitMoves()) return giveUp();

        // A move onto a place the header still points at needs a commit
        // first. That pays when the gap the data moves by is large (the
        // commit frees room for many moves); on small gaps, and whenever an
        // entry moves by less than its own length, it is parked instead.
        bool park = target.Overlaps(source);
        if (!park && pending.Overlaps(target)) {
            const std::uint64_t gap = source.offset - target.offset;
            if (gap >= std::max<std::uint64_t>(dirLength, kCommitWorthGap)) {
                if (!commitMoves()) return giveUp();
            } else {
                park = true;
            }
        }
        if (park) {
            if (parkingBlocked) {
                ++failures;
                expected = source.End();
                continue;
            }
            ByteRange place{parkedEnd, entry.length};
            if (place.End() > parkingEnd || mustCommitBefore(place)) {
                if (!commitMoves()) return giveUp();
                if (parkingBlocked) {
                    ++failures;
                    expected = source.End();
                    continue;
                }
                place = {parkedEnd, entry.length};
                if (mustCommitBefore(place) && !commitMoves()) return giveUp();
            }
            if (!CopyWithinPak(source.offset, place.offset, place.length)) {
                ++failures;
                expected = source.End();
                continue;
            }
            entry.offset = static_cast<std::uint32_t>(place.offset);
            parked.push_back({order[k], target.offset});
            pending.Add(source);
            parkedEnd = place.End();
        } else {
            if (!CopyWithinPak(source.offset, target.offset, target.length)) {
                ++failures;
                expected = source.End();
                continue;
            }
            pending.Add(source);
            entry.offset = static_cast<std::uint32_t>(target.offset);
            report.bytesDone += target.length;
        }
        expected = target.End();
    }

    // Parked entries come down only after a commit. The directory then
    // settles right behind the data; where old places the header on disk
    // still points at lie there, the moves are committed first (else the
    // final commit covers them, one flush pair fewer).
    if (!parked.empty() && !commitMoves()) return giveUp();
    std::uint64_t end = kPakHeaderSize;
    for (const PakEntry& entry : m_entries)
        if (entry.length != 0) end = std::max(end, entry.End());
    if (pending.Overlaps({end, dirLength}) && !commitMoves()) return giveUp();
    SetHeader(static_cast<std::uint32_t>(end), static_cast<std::uint32_t>(dirLength));
    m_nLogicalLength = end + dirLength;
    const std::uint64_t commits = m_nCommits;
    if (!CommitDirectory()) {
        // A header with every move may have reached the disk before the
        // failure (the directory at a scratch place, or only the trim
        // missing): then the disk has the offsets memory has.
        if (m_nCommits != commits)
            for (std::size_t i = 0; i < m_entries.size(); ++i) committedOffsets[i] = m_entries[i].offset;
        return giveUp();
    }
    NoteLayout();
    if (progress) {
        report.itemsDone = report.itemsTotal;
        progress(report);
    }
    if (failures != 0) {
        m_nError = errRecoverIncomplete;
        return false;
    }
    return true;
}

}  // namespace vantor
