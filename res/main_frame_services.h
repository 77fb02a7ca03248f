// What a pane may ask of the main window it lives in. The views get this
// interface in their constructor, so they never include the frame itself and
// tests can hand them a stand-in.
#pragma once

class QAction;
class QMenu;
class QPoint;
class QString;

namespace vantor {

class IFramePane;

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

    // The action of a command id (null for ids not in the command table),
    // for the few places that show a command outside the menu bar.
    virtual QAction* GetCommandAction(int nID) const = 0;

    // Makes a pane the one commands go to first. Giving a pane the focus
    // does this too, but only while the window is active.
    virtual void SetActivePane(IFramePane* pPane) = 0;

    // Shows context menu nPopup (see GetPopupMenuLayout) at a screen
    // position, with each item enabled as its update handler says, and
    // routes the chosen command like a menu command.
    virtual void TrackPopupMenu(int nPopup, const QPoint& globalPos) = 0;
};

}  // namespace vantor
