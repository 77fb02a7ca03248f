// The settings removal program apart from its main(): it asks, removes the
// current user's Vantor settings and checks that they are gone. Vantor
// itself is not linked; all the two programs share is where the settings
// live, QSettings("Tessamont", "Vantor").
#pragma once

#include <QString>

namespace vantor {

class IUninstallPrompt;

inline constexpr char kSettingsOrganisation[] = "Tessamont";
inline constexpr char kSettingsApplication[] = "Vantor";
inline constexpr char kUninstallCaption[] = "Uninstall Vantor";

struct CRemovalResult {
    bool bRemoved = false;
    QString strReason;  // why the settings are still there, for the user
};

// Where Vantor keeps this user's settings: a file on Linux, a registry key
// on Windows.
QString SettingsLocation();

// Removes every setting Vantor keeps for this user, then looks again: only
// settings that are really gone count as removed. Settings that are not
// there to begin with count as removed too. System-wide defaults an
// administrator installed are not this user's and stay.
CRemovalResult RemoveSettings();

// The whole program: the question, the removal on Yes, the outcome. Returns
// the exit code: 0 when the user said No or the settings are gone, 1 when
// they could not be removed.
int RunUninstall(IUninstallPrompt& prompt);

}  // namespace vantor
