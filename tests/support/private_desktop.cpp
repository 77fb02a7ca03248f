#include "private_desktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace vantor::test {

namespace {

CPrivateDesktop MakePrivateDesktop()
{
    static QTemporaryDir root;
    CPrivateDesktop desktop;
    desktop.strRoot = root.path();
    // The homes of the test's main() stay: the program's settings live there.
    desktop.strConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME", root.filePath("config"));
    desktop.strDataHome = qEnvironmentVariable("XDG_DATA_HOME", root.filePath("data"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(desktop.strConfigHome));
    qputenv("XDG_DATA_HOME", QFile::encodeName(desktop.strDataHome));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root.filePath("etc-xdg")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(root.filePath("usr")));
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    QDir().mkpath(root.filePath("usr/applications"));
    QDir().mkpath(root.filePath("etc-xdg"));
    QDir().mkpath(desktop.strConfigHome);
    QDir().mkpath(desktop.strDataHome + QStringLiteral("/applications"));
    // Only the tests' applications, but the system's types and their parents.
    QFile::link(QStringLiteral("/usr/share/mime"), root.filePath("usr/mime"));

    const QString editor = root.filePath("editor.sh");
    desktop.Write(QStringLiteral("editor.sh"), QStringLiteral(R"SH(#!/bin/sh
log=${%1:-/dev/null}
{
  echo "argc=$#"
  echo "cwd=$(pwd -P)"
  for a in "$@"; do echo "arg=$a"; done
} >> "$log"
[ -z "$%2" ] || sh -c "$%2" editor "$@"
exit 0
)SH")
                                                   .arg(QLatin1String(kEditorLogVariable),
                                                        QLatin1String(kEditorActionVariable)));
    QFile::setPermissions(editor, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    desktop.Write(QStringLiteral("usr/applications/vantor-test-editor.desktop"),
                  QStringLiteral("[Desktop Entry]\nType=Application\nName=Test Editor\nExec=%1 %f\n"
                                 "MimeType=application/x-test-txt;application/x-test-map;\n")
                      .arg(editor));
    desktop.Write(QStringLiteral("etc-xdg/mimeapps.list"),
                  QStringLiteral("[Default Applications]\napplication/x-test-txt=vantor-test-editor.desktop\n"
                                 "application/x-test-map=vantor-test-editor.desktop\n"));
    return desktop;
}

}  // namespace

void CPrivateDesktop::Write(const QString& relative, const QString& text) const
{
    const QString path = QDir::isAbsolutePath(relative) ? relative : strRoot + u'/' + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
}

QString CPrivateDesktop::Install(const QString& dataFolder, const QString& relative, const QString& extra) const
{
    const QString path = dataFolder + QStringLiteral("/applications/") + relative;
    Write(path, QStringLiteral("[Desktop Entry]\nType=Application\nName=X\nExec=true %f\n") + extra);
    return QDir::isAbsolutePath(path) ? path : strRoot + u'/' + path;
}

const CPrivateDesktop& PrivateDesktop()
{
    static const CPrivateDesktop desktop = MakePrivateDesktop();
    return desktop;
}

}  // namespace vantor::test
