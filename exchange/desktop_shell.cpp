#include "desktop_shell.h"

#include "gio_launch.h"
#include "private_folder.h"

#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QMimeData>
#include <QStyle>
#include <QWidget>

namespace vantor {

CDesktopShell::CDesktopShell()
{
    // Without a desktop session Qt knows no icon theme and every type would
    // get the same blank icon; hicolor is the theme every system has, and
    // Adwaita carries the MIME-type icons on most.
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(QStringLiteral("hicolor"));
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == u"hicolor")
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

QMimeType CDesktopShell::MimeTypeOf(const QString& fileName) const
{
    // By name only: the file need not exist and is never opened.
    return m_mimeDatabase.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
}

QString CDesktopShell::GetTypeName(const QString& fileName)
{
    const QMimeType type = MimeTypeOf(fileName);
    if (!type.isValid() || type.isDefault() || type.comment().isEmpty())
        return QStringLiteral("Unknown");
    return type.comment();
}

QString CDesktopShell::GetMimeType(const QString& fileName)
{
    return MimeTypeOf(fileName).name();
}

QIcon CDesktopShell::GetFileIcon(const QString& fileName)
{
    const QMimeType type = MimeTypeOf(fileName);
    const auto cached = m_iconsByType.constFind(type.name());
    if (cached != m_iconsByType.cend())
        return *cached;

    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    m_iconsByType.insert(type.name(), icon);
    return icon;
}

QIcon CDesktopShell::GetFolderIcon(FolderIcon which)
{
    return QApplication::style()->standardIcon(which == FolderIcon::open ? QStyle::SP_DirOpenIcon
                                                                         : QStyle::SP_DirClosedIcon);
}

std::vector<std::string> CDesktopShell::TypeAndParents(const QString& mimeType) const
{
    // Qt's database walks the parents, so that types GLib's copy of the
    // database does not know yet still find their parents' programs.
    std::vector<std::string> types{mimeType.toStdString()};
    for (const QString& type : m_mimeDatabase.mimeTypeForName(mimeType).allAncestors())
        types.push_back(type.toStdString());
    return types;
}

QString CDesktopShell::GetDefaultApplication(const QString& mimeType)
{
    return QString::fromStdString(FindDefaultApplication(TypeAndParents(mimeType)));
}

CLaunchOutcome CDesktopShell::OpenWithDefaultApplication(const std::string& filePath, const QString& mimeType,
                                                         const std::string& workFolder)
{
    return LaunchDefaultApplication(filePath, TypeAndParents(mimeType), workFolder);
}

QString CDesktopShell::GetTempPath()
{
    return QDir::tempPath();
}

QString CDesktopShell::GetPrivateTempPath()
{
    const QString path = PrivateFolderPath(QDir::tempPath());
    return EnsurePrivateFolder(path) ? path : QString();
}

Qt::DropAction CDesktopShell::StartDrag(QWidget* pSource, QMimeData* pData, Qt::DropActions actions)
{
    if (pSource == nullptr) {
        delete pData;
        return Qt::IgnoreAction;
    }
    // Qt deletes the drag (and with it the data) once it is over.
    auto* pDrag = new QDrag(pSource);
    pDrag->setMimeData(pData);
    return pDrag->exec(actions, Qt::CopyAction);
}

}  // namespace vantor
