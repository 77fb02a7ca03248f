#include "fake_shell.h"

#include <QFileInfo>

namespace vantor::test {

namespace {

QString ExtensionOf(const QString& fileName)
{
    return QFileInfo(fileName).suffix().toLower();
}

}  // namespace

QString CFakeShell::GetTypeName(const QString& fileName)
{
    return m_typeNames.value(ExtensionOf(fileName), QStringLiteral("Unknown"));
}

QIcon CFakeShell::GetFileIcon(const QString& /*fileName*/)
{
    return QIcon();
}

QIcon CFakeShell::GetFolderIcon(FolderIcon /*which*/)
{
    return QIcon();
}

QString CFakeShell::GetMimeType(const QString& fileName)
{
    const QString extension = ExtensionOf(fileName);
    return extension.isEmpty() ? QStringLiteral("application/octet-stream")
                               : QStringLiteral("application/x-test-") + extension;
}

QString CFakeShell::GetDefaultApplication(const QString& mimeType)
{
    return m_defaultApplications.value(mimeType);
}

}  // namespace vantor::test
