// How commands reach the panes of the main window.
//
// Menus, toolbar and keys send a command id to CMainFrame::RouteCommand. The
// frame offers it first to the active pane (the splitter pane that last had
// the keyboard focus; the tree until then), then handles it itself. Enabled
// and checked states are asked the same way, through OnUpdateCommand, each
// time a menu opens, the focus moves, a command has run, and on a short idle
// timer for the toolbar. A command that no target claims is disabled, so a
// command whose handler is not written yet stays grey on its own.
//
// A pane's two handlers read like a message map:
//
//     bool CPakTree::OnCommand(int nID)
//     {
//         switch (nID) {
//         case ID_FILE_NEWPAK: OnNewPak(); return true;
//         ...
//         }
//         return false;
//     }
//     bool CPakTree::OnUpdateCommand(CCmdUI& ui)
//     {
//         switch (ui.GetID()) {
//         case ID_FILE_NEWPAK: return true;                        // always enabled
//         case ID_FILE_RESTORE: ui.Enable(m_archive.HasGibbedEntries()); return true;
//         ...
//         }
//         return false;
//     }
//
// A pane that forwards a command to another (the list to the tree) returns
// whatever the other pane's handler returns.
#pragma once

#include "cmd_ui.h"

namespace vantor {

class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;

    // Runs the handler of nID and returns true; returns false when this
    // target has none, so that the next target is asked.
    virtual bool OnCommand(int nID) = 0;

    // Returns false when this target has no handler for ui.GetID(): the next
    // target decides. Returns true when it has one; the command is then
    // enabled unless the target called ui.Enable(false).
    virtual bool OnUpdateCommand(CCmdUI& ui) = 0;
};

// A view in the main window's splitter. Besides commands it hears from the
// frame at the three moments below.
class IFramePane : public ICommandTarget {
public:
    // Once, after the frame has been placed and shown.
    virtual void OnInitialUpdate() {}

    // Recompute this pane's status bar texts: a menu has closed, or the mouse
    // has left the toolbar, while this pane is active.
    virtual void UpdateStatusBar() = 0;

    // The frame is about to close; false keeps it open (the pane has asked
    // the user, who chose to go back).
    virtual bool CanCloseFrame() { return true; }

    // The frame is closing, after it saved its layout. The last moment to ask
    // the user questions and write settings; closing goes on whatever the
    // pane does.
    virtual void OnFrameClosing() {}
};

}  // namespace vantor
