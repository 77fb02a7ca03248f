// CPakArchive: the open pak as the program uses it. Adds the read-only flag
// and every item operation; each returns success and leaves a PakError code
// on failure (GetError(), GetErrorText()). Changing operations refuse a
// read-only pak with code 3 before touching anything.
#pragma once

#include "pak_file.h"

#include <string>
#include <string_view>

namespace vantor {

class CPakArchive : public CPakFile {
public:
    explicit CPakArchive(IFileSystem& fileSystem = PlatformFileSystem());
    ~CPakArchive() override;

    bool IsReadOnly() const { return m_bReadOnly != 0; }

    // --- Opening and closing ------------------------------------------------
    // Read-write when possible, else read-only; the code of the read-only
    // attempt on failure. Any pak already open is closed first.
    bool OpenPak(const std::string& path);
    // Forgets the pak and releases its file. Fails with 28 when the path no
    // longer names the open file, but releases it all the same.
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
    // Fails with 3 on a read-only pak.
    bool RecoverUnusedSpace(const PakProgressFn& progress = {});

    // --- Queries --------------------------------------------------------------
    bool EntryExists(std::string_view name) const;
    bool EntryExistsIn(std::string_view folder, std::string_view name) const;
    bool FolderExists(std::string_view parent, std::string_view name);
    // Entries directly in folder, as leaf names, in directory order.
    int ListFolderFiles(std::string_view folder, StringArray& out);
    // Folders directly in folder, each once, in order of first appearance.
    int ListSubfolders(std::string_view folder, StringArray& out);
    // -1 when not a live entry; else the size shown to users (0, at least 1).
    int GetEntrySizeKB(std::string_view name) const;
    static const char* GetTypeName(std::string_view name);

protected:
    int m_bReadOnly = 0;
};

}  // namespace vantor
