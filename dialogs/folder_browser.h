// The folder browser behind IPrompt::BrowseForFolder: the platform's folder
// chooser, refusing folders on optical discs, which cannot take files.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QWidget;

namespace vantor {

// True for the file systems of CDs, DVDs and Blu-ray discs.
bool IsOpticalFileSystem(const QByteArray& fileSystemType);

// True when path lies on a mounted optical disc.
bool IsOnOpticalDisc(const QString& path);

// Runs the chooser modally. A folder on an optical disc is refused with a
// message and the chooser opens again at it. The chosen folder in native
// form, or nothing when the user cancelled.
std::optional<QString> RunFolderBrowser(QWidget* pOwner, const QString& title, const QString& initialPath);

}  // namespace vantor
