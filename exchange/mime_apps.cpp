#include "mime_apps.h"

#include "desktop_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace vantor {

namespace {

QString EnvPath(const char* name, const QString& fallback)
{
    const QString value = qEnvironmentVariable(name);
    // Relative values are invalid by the base-directory rules and are ignored.
    return QDir::isAbsolutePath(value) ? value : fallback;
}

QStringList EnvPathList(const char* name, const QStringList& fallback)
{
    QStringList paths;
    for (const QString& path : qEnvironmentVariable(name).split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(path))
            paths.append(path);
    }
    return paths.isEmpty() ? fallback : paths;
}

// mimeapps.list files from the highest precedence to the lowest.
QStringList MimeAppsLists(const XdgDirectories& dirs)
{
    QStringList folders{dirs.strConfigHome};
    folders += dirs.configDirs;
    folders.append(dirs.strDataHome + QStringLiteral("/applications"));
    for (const QString& dataDir : dirs.dataDirs)
        folders.append(dataDir + QStringLiteral("/applications"));

    QStringList files;
    for (const QString& folder : folders) {
        for (const QString& desktop : dirs.desktops)
            files.append(folder + u'/' + desktop + QStringLiteral("-mimeapps.list"));
        files.append(folder + QStringLiteral("/mimeapps.list"));
    }
    return files;
}

}  // namespace

XdgDirectories XdgDirectories::FromEnvironment()
{
    const QString home = QDir::homePath();
    XdgDirectories dirs;
    dirs.strConfigHome = EnvPath("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    dirs.configDirs = EnvPathList("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
    dirs.strDataHome = EnvPath("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    dirs.dataDirs = EnvPathList("XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
    for (const QString& desktop : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        dirs.desktops.append(desktop.toLower());
    return dirs;
}

QStringList XdgDirectories::ApplicationDirs() const
{
    QStringList folders{strDataHome + QStringLiteral("/applications")};
    for (const QString& dataDir : dataDirs)
        folders.append(dataDir + QStringLiteral("/applications"));
    return folders;
}

QString FindDesktopEntry(const QString& desktopId, const XdgDirectories& dirs)
{
    if (!desktopId.endsWith(QStringLiteral(".desktop")) || desktopId.contains(u'/'))
        return {};
    // Each '-' of an id may stand for a folder level; try the plain name
    // first, then the leading dashes as folders one by one.
    QStringList relativePaths{desktopId};
    QString candidate = desktopId;
    for (qsizetype dash = candidate.indexOf(u'-'); dash > 0; dash = candidate.indexOf(u'-', dash + 1)) {
        candidate[dash] = u'/';
        relativePaths.append(candidate);
    }
    for (const QString& folder : dirs.ApplicationDirs()) {
        for (const QString& relative : relativePaths) {
            const QString path = folder + u'/' + relative;
            if (!QFileInfo(path).isFile())
                continue;
            // The first file found for an id is the entry, even when it hides it.
            CDesktopFile entry;
            if (!entry.Load(path))
                return {};
            const bool bHidden = entry.Value(QStringLiteral("Desktop Entry"), QStringLiteral("Hidden")) == u"true";
            return bHidden ? QString() : path;
        }
    }
    return {};
}

QString FindDefaultApplication(const QString& mimeType, const XdgDirectories& dirs)
{
    const QString defaults = QStringLiteral("Default Applications");
    const QString added = QStringLiteral("Added Associations");
    const QString removed = QStringLiteral("Removed Associations");

    QList<CDesktopFile> lists;
    for (const QString& path : MimeAppsLists(dirs)) {
        CDesktopFile list;
        if (list.Load(path))
            lists.append(list);
    }

    for (const CDesktopFile& list : lists) {
        for (const QString& id : list.ListValue(defaults, mimeType)) {
            const QString path = FindDesktopEntry(id, dirs);
            if (!path.isEmpty())
                return path;
        }
    }

    // Associations: a file's removals hide what files of lower precedence
    // (and the caches) add, not what it adds itself.
    QSet<QString> removedIds;
    for (const CDesktopFile& list : lists) {
        for (const QString& id : list.ListValue(added, mimeType)) {
            if (removedIds.contains(id))
                continue;
            const QString path = FindDesktopEntry(id, dirs);
            if (!path.isEmpty())
                return path;
        }
        for (const QString& id : list.ListValue(removed, mimeType))
            removedIds.insert(id);
    }
    for (const QString& folder : dirs.ApplicationDirs()) {
        CDesktopFile cache;
        if (!cache.Load(folder + QStringLiteral("/mimeinfo.cache")))
            continue;
        for (const QString& id : cache.ListValue(QStringLiteral("MIME Cache"), mimeType)) {
            if (removedIds.contains(id))
                continue;
            const QString path = FindDesktopEntry(id, dirs);
            if (!path.isEmpty())
                return path;
        }
    }
    return {};
}

}  // namespace vantor
