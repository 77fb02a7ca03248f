// CPakArchive: the open pak as the program uses it. Adds the read-only flag
// and every item operation; each returns success and leaves a PakError code
// on failure (GetError(), GetErrorText()). Changing operations refuse a
// read-only pak with code 3, and one another program changed on disk with
// 28, before touching anything.
#pragma once

#include "pak_file.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace vantor {

// Why an open pak is read-only.
enum class ReadOnlyReason {
    none,         // read-write
    asked,        // opened with OpenPakReadOnly
    tooBig,       // longer than 2 GiB: the format's offsets cannot reach its end
    notWritable,  // the file or its file system may not be written
    inUse,        // another program reads it (a reader's lock keeps writers out)
};

class CPakArchive : public CPakFile {
public:
    explicit CPakArchive(IFileSystem& fileSystem = PlatformFileSystem());
    ~CPakArchive() override;

    bool IsReadOnly() const { return m_bReadOnly; }
    // none while no pak is open.
    ReadOnlyReason GetReadOnlyReason() const { return m_readOnlyReason; }
    // As CPakFile's, and 3 first on a read-only pak.
    PakError GetRecoveryRefusal() const override;

    // Told about every item that fails inside a multi-item operation (the
    // folder extractions and ImportFolder): the entry name or disk path and
    // its code. The operation's own result and code stay as documented.
    using ItemFailureFn = std::function<void(const std::string& item, int code)>;
    void SetItemFailureReporter(ItemFailureFn reporter) { m_itemFailed = std::move(reporter); }

    // --- Opening and closing ------------------------------------------------
    // Read-write when possible, else read-only (GetReadOnlyReason says
    // why); the code of the read-only attempt on failure. A pak longer than
    // 2 GiB always opens read-only. Anything but a regular file fails with
    // 16. Any pak already open is closed first.
    bool OpenPak(const std::string& path);
    // For reading only: shared with other readers, refused while a writer
    // has the pak.
    bool OpenPakReadOnly(const std::string& path);
    // Commits what is pending, forgets the pak and releases its file.
    // Fails with the commit's code when that commit fails, or with 28 when
    // the path no longer names the open file; releases it all the same.
    bool ClosePak();

    // --- Deleting and restoring -------------------------------------------
    // Gibs the first live entry named ToPakPath(name); false without a code
    // when there is none. With writeNow the change is committed at once
    // (the file shrinks by 64 bytes when the directory ended it); without,
    // it waits for the next commit (CommitPending, the end of a batch, or
    // any later change).
    bool GibEntryByName(std::string_view name, bool writeNow);
    // Gibs every live entry beneath folder and commits once.
    bool GibFolder(std::string_view folder);
    // Brings back the oldest gibbed entry of that name; a live entry of the
    // same name is gibbed in the same commit (the two swap). Fails, leaving
    // the live entry alone, when the gibbed bytes have been reused.
    bool RestoreByName(std::string_view name);
    // Fails with GetRecoveryRefusal's code when that is not 0.
    bool RecoverUnusedSpace(const PakProgressFn& progress = {});

    // --- Extracting ------------------------------------------------------------
    // The entry's length (0 when absent); with a buffer of at least that
    // size, also its bytes (0 when they cannot be read).
    std::uint32_t ReadEntryByName(std::string_view name, void* buffer);
    // Writes the entry into diskFolder under its leaf name. An existing
    // file is kept (success) unless overwrite. Names that could leave the
    // folder fail with 23.
    bool ExtractEntry(std::string_view name, std::string_view diskFolder, bool overwrite);
    // Beneath the folder holding the pak, or beneath diskFolder, recreating
    // the entry's folders.
    bool ExtractEntryBesidePak(std::string_view name, bool overwrite);
    bool ExtractEntryTo(std::string_view name, std::string_view diskFolder, bool overwrite);
    // Every entry beneath a pak folder ("" is the whole pak), as above. Go
    // on after ordinary failures, stop at the first fatal one.
    bool ExtractFolderBesidePak(std::string_view folder, bool overwrite, const PakProgressFn& progress = {});
    bool ExtractFolderTo(std::string_view folder, std::string_view diskFolder, bool overwrite,
                         const PakProgressFn& progress = {});
    // Recreates the folder from its own name downwards (maps/dm into /tmp
    // gives /tmp/dm/...). The root cannot be extracted this way (14).
    bool ExtractFolderRelative(std::string_view folder, std::string_view diskFolder, bool overwrite,
                               const PakProgressFn& progress = {});
    // Creates the disk folders an entry's pak folders need beneath
    // diskFolder; 27 when something other than a folder is in the way
    // (a symbolic link included), 0 when a folder cannot be made.
    bool CreateDiskFolders(std::string_view name, std::string_view diskFolder);

    // --- Importing ---------------------------------------------------------------
    // Adds one disk file to a pak folder. An entry of that name is kept
    // (success) unless replace; a replaced entry becomes gibbed only once
    // the new file has been read.
    bool AddFileFromDisk(std::string_view diskPath, std::string_view folder, bool replace);
    // Adds a disk folder with everything beneath it inside a pak folder, in
    // one batch. Symbolic links to folders are not followed; FIFOs, sockets
    // and devices fail as items.
    bool ImportFolder(std::string_view diskFolder, std::string_view folder, bool replace,
                      const PakProgressFn& progress = {});

    // --- Renaming, new folders, new paks -------------------------------------
    // Gives one entry a new full name (possibly in another folder).
    bool RenameEntryByName(std::string_view oldName, std::string_view newName);
    // Gives every entry beneath a folder the new folder path; never merges
    // into an existing folder. False when any entry could not be renamed.
    bool RenameFolder(std::string_view oldFolder, std::string_view newFolder);
    // Adds the empty placeholder "temp.tmp" that makes a folder exist.
    bool CreateFolder(std::string_view folder);
    // Writes a new empty pak (12 bytes) named `name` in disk folder `folder`.
    // Does not open it; refuses a file another program holds open (9).
    bool CreatePak(std::string_view folder, std::string_view name);

    // --- Queries --------------------------------------------------------------
    bool EntryExists(std::string_view name) const;
    bool EntryExistsIn(std::string_view folder, std::string_view name) const;
    bool FolderExists(std::string_view parent, std::string_view name);
    // Entries directly in folder, as leaf names, in directory order: one per
    // record, so a name stored twice is listed twice, each with its own
    // length. A name with a separator in front lies in a folder with an
    // empty name, never in the root.
    struct CFolderFile {
        std::string name;
        std::uint32_t nLength = 0;
    };
    int ListFolderFiles(std::string_view folder, std::vector<CFolderFile>& out);
    int ListFolderFiles(std::string_view folder, StringArray& out);
    // Folders directly in folder, each once, in order of first appearance.
    int ListSubfolders(std::string_view folder, StringArray& out);
    // -1 when not a live entry; else the size shown to users (0, at least 1).
    int GetEntrySizeKB(std::string_view name) const;
    // -1 when not a live entry; else its length in bytes.
    std::int64_t GetEntryLength(std::string_view name) const;
    // The kilobytes users see for a number of bytes: 0 for none, 1 for 1 to
    // 1023, else whole kilobytes rounded down.
    static std::uint64_t ShownKB(std::uint64_t bytes);
    static const char* GetTypeName(std::string_view name);

protected:
    // Whether a change may create this pak-form name (a folder's name
    // without its trailing '/' when isFolder): the path rule on the whole,
    // no file where a folder of that name is or the reverse (22), and the
    // 8.3 rule on each level the pak does not have yet. Levels from
    // `keptFrom` on are carried over unchanged by a move and not checked.
    bool CheckCreatedName(std::string_view name, std::size_t keptFrom, bool isFolder);
    // 3 on a read-only pak.
    bool RefuseReadOnly();
    // 3 on a read-only pak, 28 on one changed on disk, 15 on one whose
    // layout a write could damage.
    bool RefuseChange();
    // The one-entry extractions, given a checked entry name.
    bool ExtractOne(std::size_t index, const std::string& diskFolder, bool overwrite);
    // The live entry a caller names, or -1 (no code); -2 with 23 when its
    // stored name could lead out of a folder.
    int FindSafeEntry(std::string_view name);
    void ReportItemFailure(const std::string& item);
    // The entries beneath a pak-form prefix, by data offset, with totals.
    bool ListInOffsetOrder(const std::string& prefix, StringArray& names, PakProgress& totals);
    bool ImportTree(const std::string& diskFolder, const std::string& folder, bool replace, int depth);
    bool AddDiskFile(const std::string& diskPath, const std::string& folder, bool replace);

    bool m_bReadOnly = false;
    ReadOnlyReason m_readOnlyReason = ReadOnlyReason::none;
    // Disk folders known to exist during one multi-item extraction.
    std::unordered_set<std::string> m_knownFolders;
    bool m_bCacheFolders = false;
    ItemFailureFn m_itemFailed;
    PakProgressFn m_progress;
    PakProgress m_report;
    bool m_bStopped = false;
};

// Groups several changes into one commit, made when the scope ends (or at
// End(), which reports whether it was written).
class CPakBatch {
public:
    explicit CPakBatch(CPakFile& pak) : m_pak(pak) { m_pak.BeginBatch(); }
    ~CPakBatch()
    {
        if (!m_bEnded) m_pak.EndBatch();
    }
    CPakBatch(const CPakBatch&) = delete;
    CPakBatch& operator=(const CPakBatch&) = delete;
    bool End()
    {
        m_bEnded = true;
        return m_pak.EndBatch();
    }

private:
    CPakFile& m_pak;
    bool m_bEnded = false;
};

}  // namespace vantor
