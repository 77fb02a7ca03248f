// What a pane may ask of the main window it lives in. The views get this
// interface in their constructor, so they never include the frame itself and
// tests can hand them a stand-in.
#pragma once

class QMenu;
class QString;

namespace vantor {

class IMainFrame {
public:
    virtual ~IMainFrame() = default;

    // Status bar pane 0 (object counts, menu prompts) or 1 (sizes).
    virtual void SetPaneText(int nPane, const QString& text) = 0;

    // The File menu's "R&eopen Pak" submenu, which the recent-pak list
    // rebuilds. Actions put into it carry their command id as
    // QAction::data() (ID_FILE_MRU_FIRST + i); the frame routes them and
    // asks their update handlers like every other command.
    virtual QMenu* GetRecentPakMenu() = 0;

    // Re-runs every update handler now, for changes the idle timer should
    // not wait for.
    virtual void UpdateCommands() = 0;
};

}  // namespace vantor
