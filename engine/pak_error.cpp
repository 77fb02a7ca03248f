#include "pak_error.h"

#include <array>

namespace vantor {
namespace {

// Shown to users exactly as written, two spaces after a full stop included.
constexpr std::array<const char*, 29> kTexts = {
    "An error was encountered during file operations.",
    "File not found.",
    "There are too many files open.",
    "File access denied.",
    "Invalid file handle.",
    "The current working directory cannot be gibbed.",
    "The directory is full.  No more files may be added.",
    "Error seeking file position.",
#ifdef _WIN32
    "Windows has reported a disk hardware error.",
#else
    "The system has reported a disk hardware error.",
#endif
    "Sharing violation.",
    "This portion of the file is already locked.",
    "Disk full.  Gib some files and try again.",
    "The end of the file was passed.",
    "Error reading file.",
    "The directory you specified does not exist.",
    "Error reading PAK directory.  The PAK file may be gibbed.",
    "The file you selected is not a valid PAK.",
    "Memory allocation error - out of memory.",
    "The PAK header has an invalid directory size.",
    "An unspecified error occurred.",
    "Index out of bounds.",
    "The pathname is too long.",
    "A file of this name already exists.",
    "Invalid filename.",
    "This operation cannot be performed on an empty pak.",
    "Not all empty space could be recovered.",
    "Cannot gib this file.",
    "One or more folders could not be copied because a file with the same name already exists.",
    "The pak file could not be accessed.",
};

}  // namespace

const char* PakErrorText(int code)
{
    if (code < 0 || code >= static_cast<int>(kTexts.size()))
        return kTexts[errUnspecified];
    return kTexts[static_cast<std::size_t>(code)];
}

bool IsFatalCode(int code)
{
    switch (code) {
    case errTooManyOpenFiles:
    case errDirectoryFull:
    case errHardIO:
    case errDiskFull:
    case errReadFailed:
    case errOutOfMemory:
    case errPakInaccessible:
        return true;
    default:
        return false;
    }
}

int CodeFromCause(FileCause cause)
{
    switch (cause) {
    case FileCause::none: return errUnspecified;
    case FileCause::generic: return errGeneric;
    case FileCause::fileNotFound: return errFileNotFound;
    case FileCause::badPath: return errBadPath;
    case FileCause::tooManyOpenFiles: return errTooManyOpenFiles;
    case FileCause::accessDenied: return errAccessDenied;
    case FileCause::invalidFile: return errInvalidFile;
    case FileCause::removeCurrentDir: return errRemoveCurrentDir;
    case FileCause::directoryFull: return errDirectoryFull;
    case FileCause::badSeek: return errBadSeek;
    case FileCause::hardIO: return errHardIO;
    case FileCause::sharingViolation: return errSharingViolation;
    case FileCause::lockViolation: return errLockViolation;
    case FileCause::diskFull: return errDiskFull;
    case FileCause::endOfFile: return errEndOfFile;
    }
    return errUnspecified;
}

}  // namespace vantor
