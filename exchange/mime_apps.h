// The user's default application for a MIME type, looked up the freedesktop
// way: mimeapps.list files in order of precedence, then the associations
// that installed applications declare (mimeinfo.cache).
#pragma once

#include <QString>
#include <QStringList>

namespace vantor {

// The XDG base folders the lookup reads, from the environment or from a test.
struct XdgDirectories {
    QString strConfigHome;
    QStringList configDirs;
    QString strDataHome;
    QStringList dataDirs;
    QStringList desktops;  // XDG_CURRENT_DESKTOP, lower case, in order

    static XdgDirectories FromEnvironment();

    // $XDG_DATA_HOME/applications first, then each data dir's.
    QStringList ApplicationDirs() const;
};

// The .desktop file of the application that opens mimeType: the first
// installed default, else the first installed association that no file
// removes. Empty when there is none. Parent types are not consulted; the
// caller walks them.
QString FindDefaultApplication(const QString& mimeType, const XdgDirectories& dirs);

// The file of an installed desktop entry id ("org.example.App.desktop", or
// "vendor-app.desktop" for vendor/app.desktop); empty when it is not
// installed or marked Hidden.
QString FindDesktopEntry(const QString& desktopId, const XdgDirectories& dirs);

}  // namespace vantor
