#include "folder_browser.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStorageInfo>

namespace vantor {

bool IsOpticalFileSystem(const QByteArray& fileSystemType)
{
    const QByteArray type = fileSystemType.toLower();
    return type == "iso9660" || type == "udf" || type == "cdfs";
}

bool IsOnOpticalDisc(const QString& path)
{
    const QStorageInfo storage(path);
    return storage.isValid() && IsOpticalFileSystem(storage.fileSystemType());
}

std::optional<QString> RunFolderBrowser(QWidget* pOwner, const QString& title, const QString& initialPath)
{
    const QString caption = title.isEmpty() ? QStringLiteral("Browse for Folder") : title;
    QString start = initialPath;
    for (;;) {
        const QString chosen = QFileDialog::getExistingDirectory(pOwner, caption, start, QFileDialog::ShowDirsOnly);
        if (chosen.isEmpty())
            return std::nullopt;
        if (!IsOnOpticalDisc(chosen))
            return QDir::toNativeSeparators(chosen);
        QMessageBox::warning(pOwner, QStringLiteral("Vantor"),
                             QStringLiteral("Files cannot be written to a CD or DVD.  Please select another folder."));
        start = chosen;
    }
}

}  // namespace vantor
