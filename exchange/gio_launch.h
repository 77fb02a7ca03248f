// Opening a file with the user's default program through GIO, the
// freedesktop implementation file managers use: default applications, added
// and removed associations and the desktop-specific lists, resolved as the
// desktop itself resolves them. Kept free of Qt, whose keywords collide
// with GLib's headers.
#pragma once

#include "launched_process.h"

#include <string>
#include <vector>

namespace vantor {

// The .desktop file of the default application of the first of mimeTypes
// that has one (a type, then its parents); empty when none has, which
// counts as no association.
std::string FindDefaultApplication(const std::vector<std::string>& mimeTypes);

// Starts that application on filePath (absolute, in the file system's own
// bytes), its process entering workFolder first. The file reaches the
// program as one file URI, never through a command line of ours, so no
// name can be read as options or shell code. The process is reaped and
// marked ended by GLib's main context, which Qt's event loop runs.
CLaunchOutcome LaunchDefaultApplication(const std::string& filePath, const std::vector<std::string>& mimeTypes,
                                        const std::string& workFolder);

}  // namespace vantor
