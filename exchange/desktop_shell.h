// CDesktopShell: the shell services on Qt and the freedesktop conventions
// (shared-mime-info for types and icons, mimeapps.list for defaults).
#pragma once

#include "shell_services.h"

#include <QHash>
#include <QMimeDatabase>

namespace vantor {

class CDesktopShell : public IShellServices {
public:
    CDesktopShell();

    QString GetTypeName(const QString& fileName) override;
    QIcon GetFileIcon(const QString& fileName) override;
    QIcon GetFolderIcon(FolderIcon which) override;
    QString GetMimeType(const QString& fileName) override;
    QString GetDefaultApplication(const QString& mimeType) override;
    QString GetTempPath() override;
    QString GetPrivateTempPath() override;
    Qt::DropAction StartDrag(QWidget* pSource, QMimeData* pData, Qt::DropActions actions) override;

private:
    QMimeType MimeTypeOf(const QString& fileName) const;

    QMimeDatabase m_mimeDatabase;
    // Lists of many files ask for the same few icons over and over.
    QHash<QString, QIcon> m_iconsByType;
};

}  // namespace vantor
