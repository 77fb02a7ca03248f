// CFakeShell: shell services with fixed answers, for GUI tests that must not
// depend on the desktop the tests run on.
#pragma once

#include "shell_services.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vantor::test {

// Hears nothing; notes what it was asked, as "stop" and
// "play RATE CHANNELS FRAMES" (with " loop FRAME" for a cue point).
class CFakeWavePlayer : public IWavePlayer {
public:
    std::vector<std::string> m_calls;
    // Set: every sound is refused, as on a machine without sound.
    bool m_bNoDevice = false;
    bool m_bPlaying = false;

    bool Play(CDecodedWave wave) override;
    void Stop() override;
};

class CFakeShell : public IShellServices {
public:
    // Type names by lower-case extension ("txt"); other names are "Unknown".
    QHash<QString, QString> m_typeNames;
    // Default applications by MIME type.
    QHash<QString, QString> m_defaultApplications;
    QString m_strTempPath;
    QString m_strPrivateTempPath;

    QString GetTypeName(const QString& fileName) override;
    QIcon GetFileIcon(const QString& fileName) override;
    QIcon GetFolderIcon(FolderIcon which) override;
    QString GetMimeType(const QString& fileName) override;
    QString GetDefaultApplication(const QString& mimeType) override;

    // A program started on a file, as the desktop was asked.
    struct Launch {
        std::string filePath;
        QString mimeType;
        std::string workFolder;
        std::shared_ptr<CLaunchedProcess> process;
    };
    std::vector<Launch> m_launches;
    // Set: every launch fails with this text.
    std::string m_launchError;
    // Start the real default program through the desktop instead of a
    // stand-in process the test ends by hand.
    bool m_bRealLaunch = false;
    CLaunchOutcome OpenWithDefaultApplication(const std::string& filePath, const QString& mimeType,
                                              const std::string& workFolder) override;

    QString GetTempPath() override { return m_strTempPath; }
    QString GetPrivateTempPath() override { return m_strPrivateTempPath; }

    // A drag as the desktop saw it.
    struct Drag {
        QStringList formats;
        QList<QUrl> urls;
        Qt::DropActions actions;
    };
    std::vector<Drag> m_drags;
    // What the receiver does with every drag.
    Qt::DropAction m_dragResult = Qt::IgnoreAction;
    // Runs while the data is still alive, as a receiver would read it.
    std::function<void(const QMimeData&)> m_onDrag;
    // Records the drag and deletes the data, as a finished drag does.
    Qt::DropAction StartDrag(QWidget* pSource, QMimeData* pData, Qt::DropActions actions) override;

    CFakeWavePlayer m_player;
    // Set: sounds go to this player (the real one) instead.
    std::unique_ptr<IWavePlayer> m_pRealPlayer;
    IWavePlayer& GetWavePlayer() override;
};

}  // namespace vantor::test
