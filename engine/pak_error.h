// The numbered failure codes of every archive operation, their user-facing
// texts, and the translation of file-layer causes into codes.
#pragma once

#include "file_layer.h"

namespace vantor {

enum PakError : int {
    errGeneric = 0,
    errFileNotFound = 1,
    errTooManyOpenFiles = 2,
    errAccessDenied = 3,
    errInvalidFile = 4,
    errRemoveCurrentDir = 5,
    errDirectoryFull = 6,
    errBadSeek = 7,
    errHardIO = 8,
    errSharingViolation = 9,
    errLockViolation = 10,
    errDiskFull = 11,
    errEndOfFile = 12,
    errReadFailed = 13,
    errBadPath = 14,
    errBadDirectory = 15,
    errNotPak = 16,
    errOutOfMemory = 17,
    errBadDirLength = 18,
    errUnspecified = 19,
    errBadIndex = 20,
    errPathTooLong = 21,
    errNameExists = 22,
    errBadName = 23,
    errEmptyPak = 24,
    errRecoverIncomplete = 25,
    errCannotGib = 26,
    errFolderConflict = 27,
    errPakInaccessible = 28,
};

// The message for a code; any value without a text of its own gives the
// text of errUnspecified.
const char* PakErrorText(int code);

// Codes after which a multi-item operation must stop at once.
bool IsFatalCode(int code);

int CodeFromCause(FileCause cause);

}  // namespace vantor
