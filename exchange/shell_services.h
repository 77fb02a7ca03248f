// IShellServices: what the views and transfers ask of the desktop shell.
// CDesktopShell answers on Qt and freedesktop; tests hand in a fake. The
// views get one in their constructor and never call the desktop directly.
#pragma once

#include "launched_process.h"
#include "wave_decoder.h"

#include <QIcon>
#include <QString>
#include <Qt>

#include <string>

class QMimeData;
class QWidget;

namespace vantor {

enum class FolderIcon { closed, open };

// Plays one sound at a time for the whole program, without waiting for it.
class IWavePlayer {
public:
    virtual ~IWavePlayer() = default;
    // Stops what plays, then starts wave, which must be decoded. False when
    // no sound device takes it; nothing plays then.
    virtual bool Play(CDecodedWave wave) = 0;
    // Silences the sound and lets its samples go; nothing when none plays.
    virtual void Stop() = 0;
};

class IShellServices {
public:
    virtual ~IShellServices() = default;

    // The type name of a file judged by its name alone; the disk is never
    // touched. Exactly "Unknown" when the desktop knows no type for the name,
    // so that callers can put the program's own type names in its place.
    virtual QString GetTypeName(const QString& fileName) = 0;

    // The small icon of a file judged by its name alone.
    virtual QIcon GetFileIcon(const QString& fileName) = 0;

    virtual QIcon GetFolderIcon(FolderIcon which) = 0;

    // The MIME type a file of this name has; "application/octet-stream"
    // when nothing matches.
    virtual QString GetMimeType(const QString& fileName) = 0;

    // The desktop entry (full path of its .desktop file) of the application
    // the user has chosen to open this MIME type with; empty when there is
    // none, which counts as no association.
    virtual QString GetDefaultApplication(const QString& mimeType) = 0;

    // Opens filePath (absolute, in the file system's bytes) with the default
    // application of mimeType or of a type it derives from, the program
    // starting in workFolder. The file reaches the program as one argument,
    // whatever its name. On failure the outcome has no process and says why.
    virtual CLaunchOutcome OpenWithDefaultApplication(const std::string& filePath, const QString& mimeType,
                                                      const std::string& workFolder) = 0;

    // The system's temporary folder, shared between users.
    virtual QString GetTempPath() = 0;

    // A folder below the temporary folder that only this user can enter,
    // created on first use. Extracted copies go here, never straight into the
    // shared folder. Empty when it cannot be created or is not safe to use
    // (someone else's, a link, not a folder).
    virtual QString GetPrivateTempPath() = 0;

    // Drags pData out of pSource until the user drops it or gives up, and
    // returns what the receiver did (Qt::IgnoreAction for nothing). Takes
    // ownership of pData, which may be gone when this returns: whatever
    // must outlive the drop (the extracted files) needs an owner of its
    // own. Copy is the action offered first.
    virtual Qt::DropAction StartDrag(QWidget* pSource, QMimeData* pData, Qt::DropActions actions) = 0;

    // The program's one sound player.
    virtual IWavePlayer& GetWavePlayer() = 0;
};

}  // namespace vantor
