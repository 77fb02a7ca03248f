#include "private_folder.h"

#include <QDir>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vantor {

QString PrivateFolderPath(const QString& tempPath)
{
#ifdef Q_OS_UNIX
    return tempPath + QStringLiteral("/vantor-%1").arg(geteuid());
#else
    // The temporary folder is per user on Windows already.
    return tempPath + QStringLiteral("/Vantor");
#endif
}

bool EnsurePrivateFolder(const QString& path)
{
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) == 0)
        return true;
    if (errno != EEXIST)
        return false;
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid())
        return false;
    if ((info.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0)
        return false;
    return true;
#else
    return QDir().mkpath(path);
#endif
}

}  // namespace vantor
