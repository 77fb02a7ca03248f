#include "transfer_folder.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {

namespace {

// Empties the folder open as dirFd, which it takes over. Everything is
// reached through descriptors of folders already open, so a folder swapped
// for a link while we work cannot lead outside the tree.
bool RemoveContents(int dirFd)
{
    DIR* pDir = ::fdopendir(dirFd);
    if (pDir == nullptr) {
        ::close(dirFd);
        return false;
    }
    bool bAll = true;
    while (const dirent* pEntry = ::readdir(pDir)) {
        const char* name = pEntry->d_name;
        if ((name[0] == '.' && name[1] == '\0') || (name[0] == '.' && name[1] == '.' && name[2] == '\0'))
            continue;
        struct stat info {};
        if (::fstatat(dirFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            bAll = bAll && errno == ENOENT;
            continue;
        }
        if (!S_ISDIR(info.st_mode)) {
            if (::unlinkat(dirFd, name, 0) != 0 && errno != ENOENT)
                bAll = false;
            continue;
        }
        const int childFd = ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (childFd < 0) {
            // Replaced by a link (or something else) since it was looked at.
            if (errno == ELOOP || errno == ENOTDIR) {
                if (::unlinkat(dirFd, name, 0) != 0)
                    bAll = false;
            } else {
                bAll = false;
            }
            continue;
        }
        if (!RemoveContents(childFd))
            bAll = false;
        if (::unlinkat(dirFd, name, AT_REMOVEDIR) != 0)
            bAll = false;
    }
    ::closedir(pDir);
    return bAll;
}

}  // namespace

int DeleteFolderTree(const std::string& path)
{
    if (path.empty() || path.front() != '/')
        return -1;
    // A trailing separator would make the system follow a link there.
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dirFd < 0) {
        struct stat info {};
        if (::lstat(folder.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
            return -2;
        return -1;
    }
    const bool bContents = RemoveContents(dirFd);
    // rmdir refuses a link, should the folder itself have been swapped.
    if (::rmdir(folder.c_str()) != 0)
        return 0;
    return bContents ? 1 : 0;
}

QString LeafName(const QString& path)
{
    QString rest = path;
    if (rest.endsWith(u'/') || rest.endsWith(u'\\'))
        rest.chop(1);
    const qsizetype separator = std::max(rest.lastIndexOf(u'/'), rest.lastIndexOf(u'\\'));
    return rest.mid(separator + 1);
}

std::shared_ptr<CTransferFolder> CTransferFolder::Create(const QString& privateRoot)
{
    if (privateRoot.isEmpty())
        return nullptr;
    // mkdtemp picks a fresh random name and creates it owner-only, failing
    // rather than reusing anything already there.
    QByteArray pattern = QFile::encodeName(privateRoot);
    // Only absolute paths can be offered to other programs or removed.
    if (!pattern.startsWith('/'))
        return nullptr;
    while (pattern.size() > 1 && pattern.endsWith('/'))
        pattern.chop(1);
    pattern += "/transfer-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        return nullptr;
    return std::shared_ptr<CTransferFolder>(new CTransferFolder(pattern.toStdString()));
}

CTransferFolder::CTransferFolder(std::string diskPath)
    : m_diskPath(std::move(diskPath)), m_path(QFile::decodeName(QByteArray::fromStdString(m_diskPath)))
{
}

CTransferFolder::~CTransferFolder()
{
    DeleteFolderTree(m_diskPath);
}

}  // namespace vantor
