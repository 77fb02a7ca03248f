// The settings removal program's message boxes on screen, every one with
// the caption "Uninstall Vantor" and no owner window.
#pragma once

#include "uninstall_prompt.h"

namespace vantor {

class CQtUninstallPrompt : public IUninstallPrompt {
public:
    bool AskYesNo(const QString& text) override;
    void Inform(const QString& text) override;
    void ShowError(const QString& text) override;
};

}  // namespace vantor
