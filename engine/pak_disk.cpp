// Whole-file transfers between memory and disk files other than the pak.
#include "pak_file.h"
#include "pak_names.h"

namespace vantor {

bool CPakFile::ReadDiskFile(const std::string& path, void* buffer, std::size_t capacity, std::size_t& count)
{
    count = 0;
    std::unique_ptr<IFile> file;
    FileCause cause = m_fs.Open(path, OpenMode::read, false, file);
    if (cause != FileCause::none) {
        SetErrorFromCause(cause);
        return false;
    }
    std::uint64_t length = 0;
    cause = file->GetLength(length);
    if (cause == FileCause::none) cause = file->ReadAt(0, buffer, capacity, count);
    if (cause != FileCause::none) {
        SetErrorFromCause(cause);
        return false;
    }
    // One byte more than the buffer holds tells a file that grew.
    char extra = 0;
    std::size_t more = 0;
    if (file->ReadAt(capacity, &extra, 1, more) != FileCause::none || more != 0 || count < length) {
        m_nError = errReadFailed;
        return false;
    }
    return true;
}

bool CPakFile::WriteDiskFile(const std::string& path, std::size_t length, const void* buffer)
{
    std::unique_ptr<IFile> file;
    std::string temporary;
    FileCause cause = m_fs.CreateTemporary(GetFolderPart(path), file, temporary);
    if (cause != FileCause::none) {
        SetErrorFromCause(cause);
        return false;
    }
    cause = file->WriteAt(0, buffer, length);
    file.reset();
    if (cause == FileCause::none) cause = m_fs.Rename(temporary, path);
    if (cause != FileCause::none) {
        m_fs.Remove(temporary);
        SetErrorFromCause(cause);
        return false;
    }
    return true;
}

}  // namespace vantor
