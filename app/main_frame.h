// CMainFrame: the main window. Menus, toolbar and shortcuts built from the
// command table; a two-pane status bar; a splitter with the folder tree on
// the left, the item list in the middle and the preview, which View ›
// Preview shows and hides, on the right. Commands go to the active pane
// first, then to the frame (see res/command_target.h). On closing it saves
// the pane and column widths, then its placement.
#pragma once

#include "persistent_frame.h"
#include "command_target.h"
#include "main_frame_services.h"

#include <QHash>
#include <QList>

class QAction;
class QLabel;
class QSplitter;
class QTimer;
class QToolBar;

namespace vantor {

class CPakList;
class CPakTree;
class CPreviewPane;
class IPrompt;
class IShellServices;

class CMainFrame : public CPersistentFrame, public IMainFrame {
    Q_OBJECT

public:
    // strCmdLinePak goes to the tree view, which opens it at its first
    // update.
    CMainFrame(IPrompt& prompt, IShellServices& shell, const QString& strCmdLinePak, QWidget* pParent = nullptr);
    ~CMainFrame() override;

    // Builds menus, toolbar, status bar and the panes. False when a part
    // cannot be made; the frame must not be shown then.
    bool Create();

    // The first call also sizes the panes and gives them their first update.
    void ActivateFrame() override;

    // Offers the command to the active pane, then to the frame. True when a
    // handler ran. Enabled states are refreshed afterwards.
    bool RouteCommand(int nID);

    // The pane commands go to first. Focus moving into a pane makes it active.
    IFramePane* GetActivePane() const { return m_pActivePane; }

    CPakTree* GetTree() const { return m_pTree; }
    CPakList* GetList() const { return m_pList; }
    // Null in frames whose panes are stand-ins.
    CPreviewPane* GetPreview() const { return m_pPreview; }

    // IMainFrame
    void SetPaneText(int nPane, const QString& text) override;
    QMenu* GetRecentPakMenu() override { return m_pRecentMenu; }
    void UpdateCommands() override;
    // The action of a command id; null for ids not in the command table.
    QAction* GetCommandAction(int nID) const override;
    void SetActivePane(IFramePane* pPane) override;
    void TrackPopupMenu(int nPopup, const QPoint& globalPos) override;

protected:
    // Creates the splitter's panes with AddPane, left to right: at least
    // two, a preview third. Returns whether they were made. Tests override it to put stand-ins in place of
    // the views.
    virtual bool OnCreateClient();
    void AddPane(QWidget* pWidget, IFramePane* pPane);

    // The frame's own handlers, asked after the active pane.
    bool OnCommand(int nID);
    bool OnUpdateCommand(CCmdUI& ui);

    void OnPlacementRestored(const QRect& rectNormal) override;
    void OnDestroy() override;
    void closeEvent(QCloseEvent* pEvent) override;
    bool event(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    QMenu* createPopupMenu() override;

    IPrompt& m_prompt;
    IShellServices& m_shell;
    QString m_strCmdLinePak;

private:
    struct Pane {
        QWidget* pWidget;
        IFramePane* pTarget;
    };

    void CreateActions();
    void CreateMenus();
    void CreateToolbar();
    void CreateStatusBar();
    void SizePanes();
    void UpdateAction(QAction* pAction, int nID);
    // Status text after a menu closed or the pointer left the toolbar: the
    // active pane's own, empty when there is none.
    void RestoreStatusText();
    // Qt gives a greyed menu item no prompt; the pointer resting on one
    // shows its prompt all the same, so that it says what the command does.
    void ShowPromptOfDisabledItem(QMenu* pMenu, const QPoint& position);
    void OnFocusChanged(QWidget* pNow);
    void ActivateNextPane(int nStep);
    void TogglePreview();

    QHash<int, QAction*> m_actions;
    QMenu* m_pRecentMenu = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QLabel* m_pStatusPane0 = nullptr;
    QLabel* m_pStatusPane1 = nullptr;
    QSplitter* m_pSplitter = nullptr;
    QTimer* m_pIdleUpdate = nullptr;
    QList<Pane> m_panes;
    IFramePane* m_pActivePane = nullptr;
    CPakTree* m_pTree = nullptr;
    CPakList* m_pList = nullptr;
    CPreviewPane* m_pPreview = nullptr;
    int m_nClientWidth = 0;
};

}  // namespace vantor
