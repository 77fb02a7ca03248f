// The per-user folder below the shared temporary folder where extracted
// copies live. A shared /tmp lets any user create names in it first, so the
// folder is only used when it is a real folder, owned by this user and
// closed to everyone else.
#pragma once

#include <QString>

namespace vantor {

// The folder's path for this user below tempPath ("vantor-<uid>" on POSIX).
QString PrivateFolderPath(const QString& tempPath);

// Creates path with access for the owner only, or checks an existing one:
// it must be a folder, not a link, and belong to this user; wider
// permissions are narrowed. False when the folder cannot be made safe.
bool EnsurePrivateFolder(const QString& path);

}  // namespace vantor
