// CDesktopShell: the shell services on Qt and the freedesktop conventions
// (shared-mime-info for types and icons, GIO for default applications,
// Qt Multimedia for sound).
#pragma once

#include "shell_services.h"
#include "wave_player.h"

#include <QHash>
#include <QMimeDatabase>

#include <vector>

namespace vantor {

class CDesktopShell : public IShellServices {
public:
    CDesktopShell();

    QString GetTypeName(const QString& fileName) override;
    QIcon GetFileIcon(const QString& fileName) override;
    QIcon GetFolderIcon(FolderIcon which) override;
    QString GetMimeType(const QString& fileName) override;
    QString GetDefaultApplication(const QString& mimeType) override;
    CLaunchOutcome OpenWithDefaultApplication(const std::string& filePath, const QString& mimeType,
                                              const std::string& workFolder) override;
    QString GetTempPath() override;
    QString GetPrivateTempPath() override;
    Qt::DropAction StartDrag(QWidget* pSource, QMimeData* pData, Qt::DropActions actions) override;
    IWavePlayer& GetWavePlayer() override { return m_wavePlayer; }

private:
    QMimeType MimeTypeOf(const QString& fileName) const;
    // The type and the types it derives from, nearest first.
    std::vector<std::string> TypeAndParents(const QString& mimeType) const;

    QMimeDatabase m_mimeDatabase;
    // Lists of many files ask for the same few icons over and over.
    QHash<QString, QIcon> m_iconsByType;
    CWavePlayer m_wavePlayer;
};

}  // namespace vantor
