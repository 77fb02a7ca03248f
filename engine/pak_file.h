// CPakFile: one open pak: its file, header, live directory and the records
// gibbed since it was opened, with the primitive reads and writes of the
// format. No operation throws or shows anything: each returns success and,
// on failure, leaves a PakError code in m_nError (GetError()).
#pragma once

#include "file_layer.h"
#include "pak_error.h"
#include "pak_format.h"
#include "pak_index.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

using StringArray = std::vector<std::string>;

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
    const PakEntryArray& GetEntries() const { return m_entries; }
    const PakEntryArray& GetGibbed() const { return m_gibbed; }
    IFileSystem& FileSystem() const { return m_fs; }

    // --- Errors ------------------------------------------------------------
    int GetError() const { return m_nError; }
    std::string GetErrorText() const;
    bool IsFatalError() const;
    void SetErrorFromCause(FileCause cause);
    void SetError(int code) { m_nError = code; }

    // --- Primitives (each starts with the existence check) ----------------
    // Opens with mode read or readWrite, locked against other openers, then
    // reads the header (any failure: code 16) and the directory.
    bool OpenAndLoad(const std::string& path, OpenMode mode);
    bool ReadHeader();
    bool WriteHeader();
    void SetHeader(std::uint32_t dirOffset, std::uint32_t dirLength);
    // Reads the whole records of the directory (a dirLength that is not a
    // multiple of 64 is cut down to them). Fails with 15 for a header of
    // zeros and with 13, before allocating, when a non-empty directory runs
    // past the end of the file.
    bool LoadDirectory();
    // Writes m_entries at dirOffset; 18 when dirLength does not match them.
    bool WriteDirectory();
    // The file's length, or -1 (code set).
    std::int64_t GetPakLength();
    bool SetPakLength(std::uint64_t length);
    // Reads all bytes of live entry `index` into buffer (which holds at least
    // its length). An entry that runs past the end of the file fails with 13.
    bool ReadEntryData(std::size_t index, void* buffer);
    // Reads count bytes from `offsetInEntry` of live entry `index`.
    bool ReadEntryPart(std::size_t index, std::uint64_t offsetInEntry, void* buffer, std::size_t count);
    bool WriteData(std::uint64_t offset, std::size_t length, const void* buffer);
    // Makes every write so far durable before any later one (the commit
    // point of every change).
    bool FlushPak();

    // --- Names (Part of every lookup and rule check) ------------------------
    bool IsValidPakPath(std::string_view path);
    bool IsValidDosName(std::string_view name);
    int FindEntry(std::string_view name) const;
    int FindDeletedEntry(std::string_view name) const;
    // Appends every live entry at any depth beneath folder, in directory
    // order. Leaves code 19 (or 17 with an empty result).
    void ListFolder(std::string_view folder, StringArray& out);

protected:
    // The path still names the file that is open; else code 28.
    bool CheckPakExists();
    // A write ending beyond this would not fit the format's 32-bit offsets.
    bool CheckFitsPak(std::uint64_t end);
    void CloseFile();
    // Every change to m_entries that moves or renames records goes through
    // these, so that the name index follows.
    void EntriesChanged() { m_index.Invalidate(); }
    void EntryAppended() { m_index.NoteAppended(m_entries); }
    void EntryRenamed(std::size_t index, std::string_view oldName) { m_index.NoteRenamed(m_entries, index, oldName); }
    // Indices of the live records beneath a pak-form prefix, ascending.
    void FindPrefix(std::string_view prefix, std::vector<std::uint32_t>& indices) const;

    PakHeader m_header;
    PakEntryArray m_entries;
    PakEntryArray m_gibbed;
    int m_nError = errUnspecified;

    IFileSystem& m_fs;
    std::unique_ptr<IFile> m_pFile;
    std::string m_strPath;
    FileIdentity m_identity;
    mutable CPakIndex m_index;
};

}  // namespace vantor
