// CCmdUI: what an update handler says about one command, before the frame
// applies it to the command's menu item, toolbar button and shortcuts.
#pragma once

#include <QString>

namespace vantor {

class CCmdUI {
public:
    explicit CCmdUI(int nID) : m_nID(nID) {}

    int GetID() const { return m_nID; }

    // A target that handles the command leaves it enabled unless its rule
    // calls Enable(false).
    void Enable(bool bOn = true) { m_bEnabled = bOn; }
    // Only checkable commands (the View menu's bar toggles) show the check.
    void SetCheck(bool bCheck = true) { m_bChecked = bCheck; }

    // Says in the status bar why a command is greyed, instead of its own
    // prompt.
    void SetStatusTip(QString tip) { m_strStatusTip = std::move(tip); }

    bool IsEnabled() const { return m_bEnabled; }
    bool IsChecked() const { return m_bChecked; }
    const QString& GetStatusTip() const { return m_strStatusTip; }

private:
    int m_nID;
    bool m_bEnabled = true;
    bool m_bChecked = false;
    QString m_strStatusTip;
};

}  // namespace vantor
