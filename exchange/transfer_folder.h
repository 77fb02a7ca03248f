// The folder of one transfer to the desktop (a clipboard copy or a drag):
// the extracted copies live there until nothing offers them any more. It is
// made inside the private per-user folder under a name nobody can guess,
// and removed with everything in it when its last owner lets go.
#pragma once

#include <QString>

#include <memory>
#include <string>

namespace vantor {

class CTransferFolder {
public:
    // A new, empty folder inside privateRoot (which must already be safe:
    // EnsurePrivateFolder). Null when privateRoot is empty or the folder
    // cannot be made.
    static std::shared_ptr<CTransferFolder> Create(const QString& privateRoot);

    ~CTransferFolder();
    CTransferFolder(const CTransferFolder&) = delete;
    CTransferFolder& operator=(const CTransferFolder&) = delete;

    // Absolute, without a trailing separator.
    const QString& Path() const { return m_path; }
    // The same path as the bytes the file system knows it by.
    const std::string& DiskPath() const { return m_diskPath; }

private:
    explicit CTransferFolder(std::string diskPath);

    std::string m_diskPath;
    QString m_path;
};

// Removes an absolute folder path and everything beneath it. Symbolic
// links met inside are removed themselves, never followed. 1 on success,
// 0 when something inside could not be removed (the rest is), -1 when the
// path is missing, relative or cannot be entered, -2 when it is not a
// folder (a link to a folder included: nothing behind it is touched).
int DeleteFolderTree(const std::string& path);

// The part after the last '/' or '\'; the whole path when it has neither.
// One separator at the very end is dropped first ("maps/" gives "maps").
QString LeafName(const QString& path);

}  // namespace vantor
