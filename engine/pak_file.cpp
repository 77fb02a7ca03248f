// The primitive reads and writes of an open pak, and opening one.
#include "pak_file.h"

#include <algorithm>
#include <filesystem>
#include <new>

namespace vantor {
namespace {

// Directories are read and written this many records at a time.
constexpr std::size_t kRecordsPerSlice = 16384;

}  // namespace

CPakFile::CPakFile(IFileSystem& fileSystem) : m_fs(fileSystem) {}

CPakFile::~CPakFile() = default;

std::string CPakFile::GetErrorText() const { return PakErrorText(m_nError); }

bool CPakFile::IsFatalError() const { return IsFatalCode(m_nError); }

void CPakFile::SetErrorFromCause(FileCause cause) { m_nError = CodeFromCause(cause); }

bool CPakFile::PakFailed(FileCause cause) { return PakFailedWith(CodeFromCause(cause)); }

bool CPakFile::PakFailedWith(int code)
{
    m_nError = code;
    m_bPakFault = true;
    return false;
}

char* CPakFile::TransferBuffer()
{
    if (!m_pTransfer) m_pTransfer = std::make_unique_for_overwrite<char[]>(kTransferChunk);
    return m_pTransfer.get();
}

bool CPakFile::CheckPakExists()
{
    FileStatus status;
    FileIdentity open;
    // A pak deleted or replaced while open must never be written through
    // the stale handle: the path has to name the very file we hold.
    if (m_pFile == nullptr || m_fs.Status(m_strPath, status, true) != FileCause::none ||
        m_pFile->GetIdentity(open) != FileCause::none || !(status.identity == open)) {
        return PakFailedWith(errPakInaccessible);
    }
    return true;
}

namespace {

// Device, inode, length, modification and change time. A write by another
// program in the same clock tick as our last one that keeps the length is
// not seen: the file system's times are only as fine as its clock.
bool SameDiskState(const FileStatus& seen, const FileStatus& now)
{
    return seen.kind == FileKind::file && now.kind == FileKind::file && seen.identity == now.identity &&
           seen.size == now.size && seen.modifiedNs == now.modifiedNs && seen.changedNs == now.changedNs;
}

}  // namespace

bool CPakFile::HasChangedOnDisk() const
{
    if (m_pFile == nullptr) return false;
    FileStatus now;
    return m_fs.Status(m_strPath, now, true) != FileCause::none || !SameDiskState(m_seen, now);
}

bool CPakFile::CheckUnchangedOnDisk()
{
    if (!CheckPakExists()) return false;
    return !HasChangedOnDisk() || PakFailedWith(errPakInaccessible);
}

void CPakFile::NoteDiskState()
{
    if (m_pFile == nullptr || m_pFile->GetStatus(m_seen) != FileCause::none) m_seen = {};
}

bool CPakFile::ResizePak(std::uint64_t length)
{
    if (!CheckUnchangedOnDisk()) return false;
    const FileCause cause = m_pFile->SetLength(length);
    NoteDiskState();
    return cause == FileCause::none || PakFailed(cause);
}

bool CPakFile::ReadPakExactly(std::uint64_t offset, void* buffer, std::size_t count)
{
    std::size_t got = 0;
    const FileCause cause = m_pFile->ReadAt(offset, buffer, count, got);
    if (cause != FileCause::none) return PakFailed(cause);
    if (got < count) return PakFailedWith(errReadFailed);
    return true;
}

bool CPakFile::WritePakBytes(std::uint64_t offset, const void* buffer, std::size_t count)
{
    if (!CheckUnchangedOnDisk()) return false;
    const FileCause cause = m_pFile->WriteAt(offset, buffer, count);
    NoteDiskState();
    return cause == FileCause::none || PakFailed(cause);
}

bool CPakFile::CheckFitsPak(std::uint64_t end)
{
    return end <= kPakMaxFileSize || PakFailedWith(errDiskFull);
}

void CPakFile::CloseFile()
{
    m_pFile.reset();
    m_seen = {};
}

bool CPakFile::OpenAndLoad(const std::string& path, OpenMode mode)
{
    CloseFile();
    std::unique_ptr<IFile> file;
    const FileCause cause = m_fs.Open(path, mode, true, file);
    if (cause != FileCause::none) {
        SetErrorFromCause(cause);
        // The file layer refuses a folder, FIFO or device as it refuses a
        // file it may not open; to the user, such a thing is not a pak.
        FileStatus status;
        if (cause == FileCause::accessDenied && m_fs.Status(path, status, true) == FileCause::none &&
            status.kind != FileKind::file)
            m_nError = errNotPak;
        return false;
    }
    m_pFile = std::move(file);
    // Taken before the first read, so that nothing another program writes
    // from here on goes unseen.
    NoteDiskState();
    // Kept absolute: extraction beside the pak and the views need its folder.
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    m_strPath = absolute.empty() ? path : absolute.string();
    if (!ReadHeader()) {
        CloseFile();
        m_header = {};
        m_nError = errNotPak;
        return false;
    }
    if (!LoadDirectory()) {
        CloseFile();
        m_header = {};
        return false;
    }
    m_gibbed.clear();
    m_bPending = false;
    return true;
}

bool CPakFile::ReadHeader()
{
    if (!CheckPakExists()) return false;
    PakHeaderBytes bytes{};
    if (!ReadPakExactly(0, bytes.data(), bytes.size())) return false;
    m_header = DecodeHeader(bytes);
    if (!m_header.HasMagic()) {
        m_nError = errNotPak;
        return false;
    }
    return true;
}

bool CPakFile::WriteHeader()
{
    if (!CheckPakExists()) return false;
    const PakHeaderBytes bytes = EncodeHeader(m_header);
    return WritePakBytes(0, bytes.data(), bytes.size());
}

void CPakFile::SetHeader(std::uint32_t dirOffset, std::uint32_t dirLength)
{
    m_header.dirOffset = dirOffset;
    m_header.dirLength = dirLength;
}

bool CPakFile::LoadDirectory()
{
    if (!CheckPakExists()) return false;
    if (m_header.dirOffset == 0 && m_header.dirLength == 0) {
        m_nError = errBadDirectory;
        return false;
    }
    const std::int64_t fileLength = GetPakLength();
    if (fileLength < 0) return false;
    // A forged length must not make us allocate what the file cannot hold.
    if (m_header.dirLength != 0 &&
        std::uint64_t{m_header.dirOffset} + m_header.dirLength > static_cast<std::uint64_t>(fileLength)) {
        m_nError = errReadFailed;
        return false;
    }
    m_committed = m_header;
    m_nLogicalLength = static_cast<std::uint64_t>(fileLength);
    // Only whole records are read; a partial one at the end is dropped so
    // that the header in memory always matches the records.
    const std::size_t count = m_header.dirLength / kPakEntrySize;
    m_header.dirLength = static_cast<std::uint32_t>(count * kPakEntrySize);
    m_entries.clear();
    EntriesChanged();
    try {
        // Read in slices: a directory of any size needs little more memory
        // than its records.
        m_entries.reserve(count);
        std::vector<unsigned char> bytes(std::min(count, kRecordsPerSlice) * kPakEntrySize);
        for (std::size_t first = 0; first < count; first += kRecordsPerSlice) {
            const std::size_t n = std::min(kRecordsPerSlice, count - first);
            if (!ReadPakExactly(m_header.dirOffset + first * kPakEntrySize, bytes.data(), n * kPakEntrySize)) {
                m_entries.clear();
                m_entries.shrink_to_fit();
                return false;
            }
            for (std::size_t i = 0; i < n; ++i) m_entries.push_back(DecodeEntry(bytes.data() + i * kPakEntrySize));
        }
        NoteLayout();
    } catch (const std::bad_alloc&) {
        m_entries.clear();
        m_entries.shrink_to_fit();
        m_nError = errOutOfMemory;
        return false;
    }
    return true;
}

bool CPakFile::WriteDirectory()
{
    if (!CheckPakExists()) return false;
    if (m_header.dirLength != m_entries.size() * kPakEntrySize) {
        m_nError = errBadDirLength;
        return false;
    }
    return WriteDirectoryAt(m_header.dirOffset);
}

bool CPakFile::WriteDirectoryAt(std::uint64_t offset)
{
    if (!CheckPakExists()) return false;
    if (m_entries.empty()) return true;
    const std::size_t total = m_entries.size() * kPakEntrySize;
    if (!CheckFitsPak(offset + total)) return false;
    try {
        // Encoded in slices so a directory of any size needs little memory.
        std::vector<unsigned char> bytes(std::min(m_entries.size(), kRecordsPerSlice) * kPakEntrySize);
        for (std::size_t first = 0; first < m_entries.size(); first += kRecordsPerSlice) {
            const std::size_t count = std::min(kRecordsPerSlice, m_entries.size() - first);
            for (std::size_t i = 0; i < count; ++i) EncodeEntry(m_entries[first + i], bytes.data() + i * kPakEntrySize);
            if (!WritePakBytes(offset + first * kPakEntrySize, bytes.data(), count * kPakEntrySize)) return false;
        }
    } catch (const std::bad_alloc&) {
        m_nError = errOutOfMemory;
        return false;
    }
    return true;
}

std::int64_t CPakFile::GetPakLength()
{
    if (!CheckPakExists()) return -1;
    std::uint64_t length = 0;
    const FileCause cause = m_pFile->GetLength(length);
    if (cause != FileCause::none) {
        PakFailed(cause);
        return -1;
    }
    return static_cast<std::int64_t>(length);
}

bool CPakFile::SetPakLength(std::uint64_t length)
{
    if (!CheckPakExists()) return false;
    if (!CheckFitsPak(length)) return false;
    return ResizePak(length);
}

bool CPakFile::ReadEntryPart(std::size_t index, std::uint64_t offsetInEntry, void* buffer, std::size_t count)
{
    if (!CheckPakExists()) return false;
    if (index >= m_entries.size()) {
        m_nError = errBadIndex;
        return false;
    }
    const PakEntry& entry = m_entries[index];
    std::uint64_t fileLength = 0;
    const FileCause cause = m_pFile->GetLength(fileLength);
    if (cause != FileCause::none) return PakFailed(cause);
    if (offsetInEntry + count > entry.length) {
        m_nError = errReadFailed;
        return false;
    }
    // A damaged entry that runs past the end of the file: that entry's
    // failure (12, not fatal), not the disk's, so the others still come out.
    if (entry.length != 0 && entry.End() > fileLength) return PakFailedWith(errEndOfFile);
    return ReadPakExactly(entry.offset + offsetInEntry, buffer, count);
}

bool CPakFile::ReadEntryData(std::size_t index, void* buffer)
{
    if (index >= m_entries.size()) {
        m_nError = errBadIndex;
        return false;
    }
    return ReadEntryPart(index, 0, buffer, m_entries[index].length);
}

bool CPakFile::WriteData(std::uint64_t offset, std::size_t length, const void* buffer)
{
    if (!CheckPakExists()) return false;
    if (!CheckFitsPak(offset + length)) return false;
    return WritePakBytes(offset, buffer, length);
}

bool CPakFile::FlushPak()
{
    if (!CheckPakExists()) return false;
    const FileCause cause = m_pFile->Flush();
    return cause == FileCause::none || PakFailed(cause);
}

}  // namespace vantor
