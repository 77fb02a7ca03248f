// CPakFile: one open pak: its file, header, live directory and the records
// gibbed since it was opened, with the primitive reads and writes of the
// format. No operation throws or shows anything: each returns success and,
// on failure, leaves a PakError code in m_nError (GetError()).
#pragma once

#include "file_layer.h"
#include "pak_error.h"
#include "pak_format.h"
#include "pak_index.h"
#include "pak_progress.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

using StringArray = std::vector<std::string>;

class CPakFile;

// New data on its way into the pak, read in pieces.
class IPakDataSource {
public:
    virtual ~IPakDataSource() = default;
    // Reads count bytes at offset of the data; sets the pak's code on failure.
    virtual bool Read(std::uint64_t offset, void* buffer, std::size_t count, CPakFile& pak) = 0;
    // Called after the last byte: the source must not have grown.
    virtual bool Finish(CPakFile& pak) = 0;
};

class CPakFile {
public:
    explicit CPakFile(IFileSystem& fileSystem = PlatformFileSystem());
    virtual ~CPakFile();
    CPakFile(const CPakFile&) = delete;
    CPakFile& operator=(const CPakFile&) = delete;

    // --- State -------------------------------------------------------------
    bool IsOpen() const { return m_pFile != nullptr; }
    const std::string& GetFilePath() const { return m_strPath; }
    virtual void SetFilePath(const std::string& path) { m_strPath = path; }
    const PakHeader& GetHeader() const { return m_header; }
    // The header as the file stores it now (a directory length that is not
    // a multiple of 64 included), which GetHeader cuts to whole records.
    const PakHeader& GetStoredHeader() const { return m_committed; }
    const PakEntryArray& GetEntries() const { return m_entries; }
    const PakEntryArray& GetGibbed() const { return m_gibbed; }
    IFileSystem& FileSystem() const { return m_fs; }

    // --- Errors ------------------------------------------------------------
    int GetError() const { return m_nError; }
    std::string GetErrorText() const;
    bool IsFatalError() const;
    void SetErrorFromCause(FileCause cause);
    void SetError(int code) { m_nError = code; }
    // Whether the last failure happened on the pak file itself (reading or
    // writing it, its length, its place on disk), not on a file read from
    // or written to beside it.
    bool FailedOnPak() const { return m_bPakFault; }

    // Whether the file at the path is no longer the one this pak last
    // opened or wrote: gone, replaced, or rewritten by another program (its
    // length, modification or change time differ). Every change fails with
    // 28, writing nothing, while this holds; reopening the pak ends it.
    // False when no pak is open.
    bool HasChangedOnDisk() const;

    // --- Primitives (each starts with the existence check) ----------------
    // Opens with mode read or readWrite, locked against other openers, then
    // reads the header (any failure: code 16) and the directory. The path
    // is kept in absolute form (GetFilePath).
    bool OpenAndLoad(const std::string& path, OpenMode mode);
    bool ReadHeader();
    // Reads the whole records of the directory (a dirLength that is not a
    // multiple of 64 is cut down to them). Fails with 15 for a header of
    // zeros and with 13, before allocating, when a non-empty directory runs
    // past the end of the file.
    bool LoadDirectory();
    // The file's length, or -1 (code set).
    std::int64_t GetPakLength();
    // Reads all bytes of live entry `index` into buffer (which holds at least
    // its length). An entry that runs past the end of the file fails with 12.
    bool ReadEntryData(std::size_t index, void* buffer);
    // Reads count bytes from `offsetInEntry` of live entry `index`.
    bool ReadEntryPart(std::size_t index, std::uint64_t offsetInEntry, void* buffer, std::size_t count);
    // Makes every write so far durable before any later one (the commit
    // point of every change).
    bool FlushPak();

    // Whole disk files (not the pak). ReadDiskFile reads the file into a
    // buffer of `capacity` bytes; a file longer than that (one that grew
    // since its size was taken) or shorter than it was fails with 13.
    // WriteDiskFile writes a temporary file beside the target and renames
    // it over it, so a failure never destroys a file that was there.
    bool ReadDiskFile(const std::string& path, void* buffer, std::size_t capacity, std::size_t& count);
    bool WriteDiskFile(const std::string& path, std::size_t length, const void* buffer);

    // --- Gibbed records ---------------------------------------------------------
    bool HasGibbedEntries() const { return !m_gibbed.empty(); }
    void GetGibbedNames(StringArray& names) const;

    // --- Space ----------------------------------------------------------------
    // Unused bytes in kilobytes (0 for none, at least 1 for some): the
    // bytes of the file neither the header, the directory nor any entry
    // covers (CountUnusedBytes), however broken the layout. Whether
    // recovery could reclaim them is GetRecoveryRefusal's to say.
    int GetUnusedSpaceKB() const;
    std::uint64_t GetUnusedSpaceBytes() const;
    // Packs the live data from offset 12 in offset order, the directory
    // right behind it, and forgets the gibbed entries. Refuses with
    // GetRecoveryRefusal's code, nothing changed. Entries that cannot be
    // moved stay where they are (25 at the end).
    bool RecoverUnusedSpace(const PakProgressFn& progress = {});
    // The code recovery would refuse with before moving a byte, or
    // errGeneric (0) when it may run: 28 when no pak is open or the file
    // changed on disk, 25 when entries overlap each other, the header or
    // the directory, or lie outside the file.
    virtual PakError GetRecoveryRefusal() const;

    // --- Batches --------------------------------------------------------------
    // Inside a batch, changes are made in memory and on free space only; the
    // directory and header are written once when the outermost batch ends
    // (or at CommitPending), so a crash leaves the pak as before the batch.
    // When the outermost EndBatch cannot commit (code kept), memory returns
    // to the state of the outermost BeginBatch or of the last commit made
    // inside the batch: the live directory, the gibbed records and the
    // length, so nothing counts as done that the file does not hold. (When
    // a header naming the new directory did reach the disk and only
    // tidying failed, memory keeps the changes the file now holds.)
    void BeginBatch();
    bool EndBatch();
    bool InBatch() const { return m_nBatchDepth > 0; }
    bool HasPendingChanges() const { return m_bPending; }
    // Writes the pending directory and header now, batch or not.
    bool CommitPending();

    // --- Names (Part of every lookup and rule check) ------------------------
    bool IsValidPakPath(std::string_view path);
    bool IsValidDosName(std::string_view name);
    int FindEntry(std::string_view name) const;
    // A name as callers give it: the exact stored name first (paks from
    // other tools may store '\'), else its pak form.
    int FindEntryByName(std::string_view name) const;
    int FindDeletedEntry(std::string_view name) const;
    // Appends every live entry at any depth beneath folder, in directory
    // order. Leaves code 19 (or 17 with an empty result).
    void ListFolder(std::string_view folder, StringArray& out);
    // Indices of the live records beneath folder ("" is the whole pak), in
    // directory order. A '\' in a stored name counts as a separator.
    void ListFolderRecords(std::string_view folder, std::vector<std::uint32_t>& indices) const;

protected:
    // --- Raw writes and record changes -----------------------------------------
    // Only the engine's own changes call these, and they keep the commit
    // protocol: nothing is written where the header on disk points until
    // the next header write.
    bool WriteHeader();
    void SetHeader(std::uint32_t dirOffset, std::uint32_t dirLength);
    // Writes m_entries at dirOffset; 18 when dirLength does not match them.
    bool WriteDirectory();
    bool SetPakLength(std::uint64_t length);
    bool WriteData(std::uint64_t offset, std::size_t length, const void* buffer);
    // Records in memory only. AddEntry: 21 for a name over 55 bytes, 22 when
    // a live entry has it; the header is the caller's business.
    bool AddEntry(std::string_view name, std::uint32_t offset, std::uint32_t length);
    // Renames live record `index` to ToPakPath(name), which must pass both
    // name rules (21 or 23); 20 for a bad index. No clash check.
    bool RenameEntry(std::size_t index, std::string_view name);
    // Moves live record `index` to the gibbed list; dirLength drops by 64.
    bool GibEntry(std::size_t index);
    // Moves gibbed record `index` back to the end of the live directory.
    // When live data now occupies its bytes the record is dropped for good
    // and the call fails without a code.
    bool RestoreEntry(std::size_t index);

    // The path still names the file that is open; else code 28.
    bool CheckPakExists();
    // Before every write: the file is still as this pak last saw it (28,
    // a pak fault, otherwise), so nothing is written over what another
    // program put there.
    bool CheckUnchangedOnDisk();
    // After every write of our own, done or failed, and after opening:
    // remembers the file's status, so that our own changes never trip the
    // check above.
    void NoteDiskState();
    // Sets the pak file's length through the check above, without the
    // format's limit (SetPakLength adds it).
    bool ResizePak(std::uint64_t length);
    // The file layer's reads and writes on the open pak, a failure classified
    // into m_nError; a read that comes back short is 13. No existence check.
    bool ReadPakExactly(std::uint64_t offset, void* buffer, std::size_t count);
    bool WritePakBytes(std::uint64_t offset, const void* buffer, std::size_t count);
    // Stores a failure of the pak file itself (FailedOnPak); returns false.
    bool PakFailed(FileCause cause);
    bool PakFailedWith(int code);
    // A write ending beyond this would not fit the format's 32-bit offsets.
    bool CheckFitsPak(std::uint64_t end);
    void CloseFile();
    // Whether a gibbed record's bytes now belong to live data (a live record
    // at index `except`, about to be replaced, does not count).
    bool CollidesWithLiveData(const PakEntry& record, int except) const;
    // The directory, as memory has it, ends the file.
    bool DirectoryEndsFile() const { return std::uint64_t{m_header.dirOffset} + m_header.dirLength == m_nLogicalLength; }
    // Marks the in-memory directory as changed and, outside a batch, commits
    // it at once.
    bool DirectoryChanged();
    // Makes m_header/m_entries the pak's directory and m_nLogicalLength its
    // length. Never overwrites a byte the header on disk refers to: when the
    // new place overlaps the committed directory, the directory is first
    // committed at a scratch place past the end.
    bool CommitDirectory();
    // Writes m_entries at offset (the directory bytes only).
    bool WriteDirectoryAt(std::uint64_t offset);
    // Flush, write the header (offset, length), flush: the commit point.
    bool CommitHeader(std::uint32_t dirOffset, std::uint32_t dirLength);
    // Copies bytes inside the pak in bounded chunks (ascending, so a copy to
    // a lower offset may overlap its source).
    bool CopyWithinPak(std::uint64_t from, std::uint64_t to, std::uint64_t length);
    // Bytes the committed header points at: the directory region on disk.
    bool OverlapsCommittedDirectory(std::uint64_t offset, std::uint64_t length) const;
    // Entries that lie inside the file, after the header, clear of the
    // directory and of each other; recovery needs this.
    // `order` lists the records by ascending offset (OffsetOrder).
    bool EntriesAreSound(std::uint64_t fileLength, const std::vector<std::uint32_t>& order) const;
    // Indices of the live records by ascending offset; equal offsets keep
    // directory order. Throws std::bad_alloc.
    std::vector<std::uint32_t> OffsetOrder() const;
    // The unused bytes and whether the entries are sound, kept: working them
    // out sorts every record, and the views ask on every update of the menus
    // and the status bar. Kept under what they depend on: the records (their
    // changes counted), the headers and the file's length.
    struct SpaceKey {
        std::uint64_t layoutChanges = 0;
        std::uint64_t commits = 0;
        std::uint64_t logicalLength = 0;
        std::size_t records = 0;
        PakHeader header;
        PakHeader committed;
        bool pending = false;
        bool operator==(const SpaceKey&) const = default;
    };
    struct SpaceFigures {
        SpaceKey key;
        bool bKnown = false;
        std::uint64_t unusedBytes = 0;
        bool bEntriesSound = false;
    };
    SpaceKey CurrentSpaceKey() const;
    // Throws std::bad_alloc.
    const SpaceFigures& Space() const;
    // After a failed recovery: commits the directory right behind the data
    // when that place is free, so the file is no longer than it needs.
    void PackDirectoryBehindData();
    // One buffer for every transfer, kept between them: bytes move through
    // it in chunks of at most kTransferChunk, so memory stays bounded
    // whatever the size of an entry. Throws std::bad_alloc like new.
    static constexpr std::size_t kTransferChunk = std::size_t{1} << 20;
    char* TransferBuffer();

    // Where a change that adds `size` bytes of data and one record puts
    // them (the record at `replacing` gibbed in the same change): the data
    // where the directory began when it ended the file, else at the end,
    // but never before a byte a live record claims; the directory right
    // behind the data, last in the file.
    struct GrowthPlan {
        std::uint64_t dataOffset = 0;    // the directory follows the data
        std::uint64_t dirLength = 0;     // after the change
        std::uint64_t length = 0;        // the file's, after the change
        std::uint64_t lengthBefore = 0;  // the file's with a replaced record gone
        bool pushed = false;             // moved out by a claim past the end
    };
    GrowthPlan PlanGrowth(std::uint64_t size, bool replacing) const;
    // 2 GiB at most: else 11, or 15 when only a damaged claim pushed it.
    bool CheckGrowthFits(const GrowthPlan& plan);
    // Places `size` bytes under `name` by the placement rule: where the
    // directory began when it ended the file (the file grows by size + 64),
    // else at the end (the directory follows). The live record at
    // replaceIndex (or -1) is gibbed in the same change. Nothing in memory
    // changes when the data cannot be read or written.
    bool PlaceNewData(std::string_view name, std::uint64_t size, IPakDataSource& source, int replaceIndex);
    // Copies the directory the header points at past `minimum` and commits
    // it there, freeing its old place for new data.
    bool RelocateCommittedDirectory(std::uint64_t minimum);
    // After a failed change outside a batch: write what memory holds so the
    // file takes its normal shape again.
    void RestoreLayout();
    // Brings the file to what memory holds: commits a directory that differs
    // from the one on disk, else only returns the file to its length (a
    // failed change may have grown it).
    bool SettleFile();
    // Refuses (15) any change to a pak whose directory or entries overlap
    // the header, or whose entries overlap the directory: a write there
    // could destroy the header or the data.
    bool RefuseUnsafeLayout();
    // Works out m_bUnsafeLayout and m_nClaimedEnd from the records.
    void NoteLayout();

    // Every change to m_entries that moves or renames records goes through
    // these, so that the name index and the space figures follow.
    void EntriesChanged()
    {
        m_index.Invalidate();
        ++m_nLayoutChanges;
    }
    void EntryAppended()
    {
        m_index.NoteAppended(m_entries);
        ++m_nLayoutChanges;
    }
    void EntryErased(std::size_t index, std::string_view name)
    {
        m_index.NoteErased(index, name);
        ++m_nLayoutChanges;
    }
    void EntryRenamed(std::size_t index, std::string_view oldName) { m_index.NoteRenamed(m_entries, index, oldName); }
    // Gives live record `index` a name the caller has checked (at most 55
    // bytes, pak form).
    void SetEntryName(std::size_t index, std::string_view name);
    // Whether any live record lies beneath the folder ("" for the root).
    bool HasFolder(std::string_view folder) const;
    // Indices of the live records beneath a pak-form prefix, ascending.
    void FindPrefix(std::string_view prefix, std::vector<std::uint32_t>& indices) const;

    PakHeader m_header;
    PakEntryArray m_entries;
    PakEntryArray m_gibbed;
    int m_nError = errUnspecified;
    bool m_bPakFault = false;  // see FailedOnPak

    // What the header on disk says now (dirLength as stored). Changes write
    // only where this does not point until the next header write.
    PakHeader m_committed;
    // The file's length as the directory in memory would have it.
    std::uint64_t m_nLogicalLength = 0;
    bool m_bPending = false;
    // Headers written since the pak was opened: tells whether a failed
    // commit still reached the disk.
    std::uint64_t m_nCommits = 0;
    bool m_bUnsafeLayout = false;
    // No live record claims a byte at or past this (empty records claim
    // none): new data and directories go here or later, so a damaged
    // entry that runs past the end of the file never reads new bytes.
    std::uint64_t m_nClaimedEnd = kPakHeaderSize;
    int m_nBatchDepth = 0;
    std::uint64_t m_nBatchBytes = 0;  // new data placed in the current batch
    // The committed state a failed batch returns to (see BeginBatch).
    // Without it (no memory for the copy) a batch commits every change.
    struct BatchSnapshot {
        PakEntryArray entries;
        PakEntryArray gibbed;
        PakHeader header;
        std::uint64_t logicalLength = 0;
        bool pending = false;
    };
    std::unique_ptr<BatchSnapshot> m_pBatchStart;
    void TakeBatchSnapshot();
    void ReturnToBatchSnapshot();

    IFileSystem& m_fs;
    std::unique_ptr<IFile> m_pFile;
    std::string m_strPath;
    // The file as this pak last opened or wrote it (kind none: unknown,
    // which every check takes as changed).
    FileStatus m_seen;
    mutable CPakIndex m_index;
    mutable SpaceFigures m_space;
    // Moves of records outside the hooks above (recovery's, the directory's)
    // count here too.
    std::uint64_t m_nLayoutChanges = 0;
    std::unique_ptr<char[]> m_pTransfer;
};

}  // namespace vantor
