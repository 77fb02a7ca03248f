// A stand-in for the main window, so that the views can be tested as a pair
// of panes without menus, toolbars or command routing: it keeps what the
// panes tell it.
#pragma once

#include "main_frame_services.h"

#include <QAction>
#include <QMenu>
#include <QString>

#include <map>
#include <memory>
#include <vector>

namespace vantor::test {

class CFakeFrame : public IMainFrame {
public:
    void SetPaneText(int nPane, const QString& text) override;
    QMenu* GetRecentPakMenu() override { return &m_recentPakMenu; }
    void UpdateCommands() override { ++m_nUpdates; }
    // A plain action per id, made when first asked for.
    QAction* GetCommandAction(int nID) const override;
    void SetActivePane(IFramePane* pPane) override { m_pActivePane = pPane; }
    void TrackPopupMenu(int nPopup, const QPoint&) override { m_popups.push_back(nPopup); }

    QString m_paneTexts[2];
    QMenu m_recentPakMenu;
    int m_nUpdates = 0;
    IFramePane* m_pActivePane = nullptr;
    std::vector<int> m_popups;  // the context menus asked for, in order

private:
    mutable std::map<int, std::unique_ptr<QAction>> m_actions;
};

}  // namespace vantor::test
