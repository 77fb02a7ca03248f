// IUninstallPrompt: the message boxes of the settings removal program.
// CQtUninstallPrompt shows them with QMessageBox; tests answer from a script.
#pragma once

#include <QString>

namespace vantor {

class IUninstallPrompt {
public:
    virtual ~IUninstallPrompt() = default;

    // The question icon with Yes and No; true only for Yes.
    virtual bool AskYesNo(const QString& text) = 0;

    // Only an OK button, no icon.
    virtual void Inform(const QString& text) = 0;

    // Only an OK button, with the warning icon.
    virtual void ShowError(const QString& text) = 0;
};

}  // namespace vantor
