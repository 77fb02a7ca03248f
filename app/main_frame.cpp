#include "main_frame.h"

#include "about_dlg.h"
#include "prompt.h"
#include "command_table.h"
#include "frame_layout.h"
#include "resource.h"
#include "settings.h"
#include "list_filter_bar.h"
#include "pak_list.h"
#include "pak_tree.h"
#include "preview_pane.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QSplitter>
#include <QVBoxLayout>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

namespace vantor {

namespace {

const QString kWindowSize = QString::fromLatin1(setting::kWindowSize);

// How often the toolbar's enabled states are refreshed while nothing else
// asks for it: often enough to look immediate, rarely enough to cost nothing.
constexpr int kIdleUpdateMs = 200;

}  // namespace

CMainFrame::CMainFrame(IPrompt& prompt, IShellServices& shell, const QString& strCmdLinePak, QWidget* pParent)
    : CPersistentFrame(pParent), m_prompt(prompt), m_shell(shell), m_strCmdLinePak(strCmdLinePak)
{
    setObjectName(QStringLiteral("mainFrame"));
    // The title is the program's own; no document name is ever added.
    setWindowTitle(QStringLiteral("Vantor"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/vantor.svg")));
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::Create()
{
    CreateActions();
    CreateMenus();
    CreateToolbar();
    CreateStatusBar();

    m_pSplitter = new QSplitter(Qt::Horizontal, this);
    m_pSplitter->setObjectName(QStringLiteral("splitter"));
    m_pSplitter->setChildrenCollapsible(false);
    setCentralWidget(m_pSplitter);
    if (!OnCreateClient() || m_panes.size() < 2)
        return false;
    // Only the list grows with the window; the tree and the preview keep
    // their widths.
    m_pSplitter->setStretchFactor(0, 0);
    m_pSplitter->setStretchFactor(1, 1);
    if (m_panes.size() > 2)
        m_pSplitter->setStretchFactor(2, 0);
    m_pActivePane = m_panes.constFirst().pTarget;

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* pNow) { OnFocusChanged(pNow); });
    m_pIdleUpdate = new QTimer(this);
    m_pIdleUpdate->setInterval(kIdleUpdateMs);
    connect(m_pIdleUpdate, &QTimer::timeout, this, &CMainFrame::UpdateCommands);
    UpdateCommands();
    return true;
}

bool CMainFrame::OnCreateClient()
{
    const CViewServices services{m_prompt, m_shell, *this};
    m_pTree = new CPakTree(services, m_strCmdLinePak);
    m_pList = new CPakList(services);
    m_pPreview = new CPreviewPane(services);
    m_pTree->SetList(m_pList);
    m_pList->SetTree(m_pTree);
    // The filter field sits above the list, as part of its pane.
    auto* pListPane = new QWidget;
    pListPane->setObjectName(QStringLiteral("listPane"));
    auto* pFilterBar = new CListFilterBar(m_pList->Model(), pListPane);
    auto* pLayout = new QVBoxLayout(pListPane);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(pFilterBar);
    pLayout->addWidget(m_pList, 1);
    pListPane->setFocusProxy(m_pList);
    m_pList->SetFilterBar(pFilterBar);
    m_pPreview->SetTree(m_pTree);
    m_pPreview->SetList(m_pList);
    AddPane(m_pTree, m_pTree);
    AddPane(pListPane, m_pList);
    AddPane(m_pPreview, m_pPreview);
    m_pPreview->setVisible(ReadSetting(setting::kPreview) != 0);
    return true;
}

void CMainFrame::AddPane(QWidget* pWidget, IFramePane* pPane)
{
    m_pSplitter->addWidget(pWidget);
    m_panes.append({pWidget, pPane});
}

void CMainFrame::CreateActions()
{
    for (const CommandInfo& command : GetCommandTable()) {
        const int nID = command.nID;
        auto* pAction = new QAction(QString::fromUtf8(command.pszMenuText), this);
        pAction->setObjectName(QStringLiteral("command%1").arg(nID));
        pAction->setData(nID);
        pAction->setStatusTip(StatusPromptOf(command.pszPrompt));
        const QString toolTip = ToolTipOf(command.pszPrompt);
        if (!toolTip.isEmpty())
            pAction->setToolTip(toolTip);
        pAction->setShortcuts(ShortcutsOf(command));
        if (command.pszIcon)
            pAction->setIcon(QIcon(QString::fromLatin1(command.pszIcon)));
        pAction->setCheckable(nID == ID_VIEW_TOOLBAR || nID == ID_VIEW_STATUS_BAR || nID == ID_VIEW_PREVIEW);
        pAction->setEnabled(false);
        connect(pAction, &QAction::triggered, this, [this, nID] { RouteCommand(nID); });
        // On the frame too, so that commands reached only by keys have their
        // shortcuts.
        addAction(pAction);
        m_actions.insert(nID, pAction);
    }
}

void CMainFrame::CreateMenus()
{
    for (const MenuLayout& layout : GetMenuBarLayout()) {
        QMenu* pMenu = menuBar()->addMenu(QString::fromUtf8(layout.pszTitle));
        for (const int nItem : layout.items) {
            if (nItem == ID_SEPARATOR) {
                pMenu->addSeparator();
            } else if (nItem == ID_RECENT_SUBMENU) {
                m_pRecentMenu = pMenu->addMenu(QString::fromUtf8(GetRecentSubmenuTitle()));
                m_pRecentMenu->setObjectName(QStringLiteral("recentPakMenu"));
                m_pRecentMenu->installEventFilter(this);
                m_pRecentMenu->addAction(m_actions.value(ID_FILE_MRU_NONE));
                connect(m_pRecentMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
                // Entries the recent list puts in carry their id; table
                // commands route through their own connection.
                connect(m_pRecentMenu, &QMenu::triggered, this, [this](QAction* pAction) {
                    const int nID = pAction->data().toInt();
                    if (m_actions.value(nID) != pAction && nID != 0)
                        RouteCommand(nID);
                });
            } else {
                pMenu->addAction(m_actions.value(nItem));
            }
        }
        connect(pMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
        pMenu->installEventFilter(this);
        // Menu prompts replace the pane's status text only while the menu is open.
        connect(pMenu, &QMenu::aboutToHide, this, [this] {
            QTimer::singleShot(0, this, [this] {
                if (!QApplication::activePopupWidget())
                    RestoreStatusText();
            });
        });
    }
}

void CMainFrame::CreateToolbar()
{
    m_pToolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_pToolBar->setObjectName(QStringLiteral("toolbar"));
    m_pToolBar->setMovable(false);
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const int nItem : GetToolbarLayout()) {
        if (nItem == ID_SEPARATOR)
            m_pToolBar->addSeparator();
        else
            m_pToolBar->addAction(m_actions.value(nItem));
    }
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* pStatusBar = statusBar();
    pStatusBar->setObjectName(QStringLiteral("statusBar"));
    m_pStatusPane0 = new QLabel;
    m_pStatusPane0->setObjectName(QStringLiteral("statusPane0"));
    // Long texts are cut, never widen the window.
    m_pStatusPane0->setMinimumWidth(1);
    m_pStatusPane0->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_pStatusPane1 = new QLabel;
    m_pStatusPane1->setObjectName(QStringLiteral("statusPane1"));
    for (QLabel* pPane : {m_pStatusPane0, m_pStatusPane1}) {
        pPane->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        pPane->setIndent(3);
    }
    pStatusBar->addWidget(m_pStatusPane0, 1);
    pStatusBar->addPermanentWidget(m_pStatusPane1);
}

void CMainFrame::OnPlacementRestored(const QRect& rectNormal)
{
    m_nClientWidth = rectNormal.width();
    // Pane 1 keeps the width it gets now, whatever the window does later.
    m_pStatusPane1->setFixedWidth(m_nClientWidth * 11 / 20);
}

void CMainFrame::ActivateFrame()
{
    const bool bFirstTime = m_bFirstTime;
    CPersistentFrame::ActivateFrame();
    m_pIdleUpdate->start();
    if (!bFirstTime)
        return;
    SizePanes();
    for (const Pane& pane : m_panes)
        pane.pTarget->OnInitialUpdate();
    m_panes.constFirst().pWidget->setFocus();
    UpdateCommands();
}

void CMainFrame::SizePanes()
{
    // The right pane takes whatever the tree leaves, so only the tree's width
    // decides the split; "ListWidth" is kept for what it records.
    const int nTreeWidth = ReadSetting(setting::kTreeWidth, m_nClientWidth / 4);
    const int nSplitterWidth = m_pSplitter->width() > 0 ? m_pSplitter->width() : m_nClientWidth;
    int nRest = nSplitterWidth - nTreeWidth - m_pSplitter->handleWidth();
    if (!m_pPreview) {
        m_pSplitter->setSizes({nTreeWidth, std::max(nRest, 1)});
        return;
    }
    // A hidden preview keeps its width for when it is shown again.
    const int nPreviewWidth = std::max(ReadSetting(setting::kPreviewWidth, m_nClientWidth / 3), 1);
    if (!m_pPreview->isHidden())
        nRest -= nPreviewWidth + m_pSplitter->handleWidth();
    m_pSplitter->setSizes({nTreeWidth, std::max(nRest, 1), nPreviewWidth});
}

void CMainFrame::OnDestroy()
{
    const QList<int> sizes = m_pSplitter->sizes();
    WriteSetting(setting::kTreeWidth, sizes.value(0));
    WriteSetting(setting::kListWidth, sizes.value(1));
    if (m_pPreview) {
        WriteSetting(setting::kPreview, m_pPreview->isHidden() ? 0 : 1);
        if (!m_pPreview->isHidden())
            WriteSetting(setting::kPreviewWidth, sizes.value(2));
    }
    if (m_pList) {
        for (int nColumn = 0; nColumn < 3; ++nColumn)
            WriteProfileInt(kWindowSize, setting::ColumnKey(nColumn), m_pList->GetColumnWidth(nColumn));
    }
    CPersistentFrame::OnDestroy();
}

void CMainFrame::closeEvent(QCloseEvent* pEvent)
{
    const bool bWasShown = !m_bFirstTime;
    // Never asks to save: every change is in the pak already. Only items
    // still open in other programs are asked about.
    if (bWasShown) {
        for (const Pane& pane : m_panes) {
            if (!pane.pTarget->CanCloseFrame()) {
                pEvent->ignore();
                return;
            }
        }
    }
    CPersistentFrame::closeEvent(pEvent);
    if (bWasShown) {
        for (const Pane& pane : m_panes)
            pane.pTarget->OnFrameClosing();
    }
    if (m_pIdleUpdate)
        m_pIdleUpdate->stop();
}

QMenu* CMainFrame::createPopupMenu()
{
    // The bars are switched from the View menu; no context menu over them.
    return nullptr;
}

bool CMainFrame::event(QEvent* pEvent)
{
    if (pEvent->type() != QEvent::StatusTip)
        return CPersistentFrame::event(pEvent);
    // Menu and toolbar prompts go into pane 0 rather than over the whole bar.
    const QString tip = static_cast<QStatusTipEvent*>(pEvent)->tip();
    if (!tip.isEmpty() || QApplication::activePopupWidget())
        SetPaneText(0, tip);
    else
        RestoreStatusText();
    return true;
}

bool CMainFrame::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::MouseMove) {
        auto* pMenu = qobject_cast<QMenu*>(pWatched);
        const QPoint position = static_cast<QMouseEvent*>(pEvent)->position().toPoint();
        // After the menu has handled the move, which may clear the prompt.
        QMetaObject::invokeMethod(
            this, [this, pMenu = QPointer<QMenu>(pMenu), position] { ShowPromptOfDisabledItem(pMenu, position); },
            Qt::QueuedConnection);
    }
    return CPersistentFrame::eventFilter(pWatched, pEvent);
}

void CMainFrame::ShowPromptOfDisabledItem(QMenu* pMenu, const QPoint& position)
{
    if (!pMenu || !pMenu->isVisible())
        return;
    const QAction* pAction = pMenu->actionAt(position);
    if (pAction && !pAction->isEnabled() && !pAction->isSeparator())
        SetPaneText(0, pAction->statusTip());
}

void CMainFrame::RestoreStatusText()
{
    if (m_pActivePane)
        m_pActivePane->UpdateStatusBar();
    else
        SetPaneText(0, QString());
}

void CMainFrame::SetPaneText(int nPane, const QString& text)
{
    if (nPane == 0)
        m_pStatusPane0->setText(text);
    else if (nPane == 1)
        m_pStatusPane1->setText(text);
}

QAction* CMainFrame::GetCommandAction(int nID) const
{
    return m_actions.value(nID);
}

void CMainFrame::SetActivePane(IFramePane* pPane)
{
    if (pPane == m_pActivePane)
        return;
    m_pActivePane = pPane;
    UpdateCommands();
}

void CMainFrame::TrackPopupMenu(int nPopup, const QPoint& globalPos)
{
    QMenu menu(this);
    for (const PopupItem& item : GetPopupMenuLayout(nPopup)) {
        if (item.nID == ID_SEPARATOR) {
            menu.addSeparator();
            continue;
        }
        QAction* pAction = menu.addAction(QString::fromUtf8(item.pszText));
        pAction->setData(item.nID);
        UpdateAction(pAction, item.nID);
    }
    const QAction* pChosen = m_prompt.TrackPopupMenu(menu, globalPos);
    // The menu's own prompts gave way to nothing; the pane's text returns.
    RestoreStatusText();
    if (pChosen && pChosen->isEnabled())
        RouteCommand(pChosen->data().toInt());
}

void CMainFrame::OnFocusChanged(QWidget* pNow)
{
    if (!pNow)
        return;
    for (const Pane& pane : m_panes) {
        if (pane.pWidget == pNow || pane.pWidget->isAncestorOf(pNow)) {
            SetActivePane(pane.pTarget);
            return;
        }
    }
}

void CMainFrame::ActivateNextPane(int nStep)
{
    const auto count = m_panes.size();
    qsizetype current = 0;
    while (current < count && m_panes[current].pTarget != m_pActivePane)
        ++current;
    // Hidden panes are passed over; the tree and the list never hide.
    qsizetype next = current;
    do
        next = (next + nStep + count) % count;
    while (m_panes[next].pWidget->isHidden() && next != current);
    m_panes[next].pWidget->setFocus(Qt::OtherFocusReason);
    SetActivePane(m_panes[next].pTarget);
}

void CMainFrame::TogglePreview()
{
    if (m_pPreview->isHidden()) {
        // The preview takes its last width from the list, and a handle's.
        const QList<int> sizes = m_pSplitter->sizes();
        const int nWidth = std::max(ReadSetting(setting::kPreviewWidth, m_pSplitter->width() / 3), 1);
        m_pPreview->show();
        m_pSplitter->setSizes(
            {sizes.value(0), std::max(sizes.value(1) - nWidth - m_pSplitter->handleWidth(), 1), nWidth});
        return;
    }
    if (m_pActivePane == m_pPreview)
        ActivateNextPane(-1);
    // Hidden, the pane has no width the splitter would tell.
    WriteSetting(setting::kPreviewWidth, m_pSplitter->sizes().value(2));
    m_pPreview->hide();
}

bool CMainFrame::RouteCommand(int nID)
{
    const bool bHandled = (m_pActivePane && m_pActivePane->OnCommand(nID)) || OnCommand(nID);
    UpdateCommands();
    return bHandled;
}

void CMainFrame::UpdateAction(QAction* pAction, int nID)
{
    CCmdUI ui(nID);
    const bool bClaimed = (m_pActivePane && m_pActivePane->OnUpdateCommand(ui)) || OnUpdateCommand(ui);
    pAction->setEnabled(bClaimed && ui.IsEnabled());
    if (pAction->isCheckable())
        pAction->setChecked(ui.IsChecked());
    if (!ui.GetStatusTip().isEmpty())
        pAction->setStatusTip(ui.GetStatusTip());
    else if (const CommandInfo* pCommand = FindCommand(nID))
        pAction->setStatusTip(StatusPromptOf(pCommand->pszPrompt));
}

void CMainFrame::UpdateCommands()
{
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        UpdateAction(it.value(), it.key());
    if (m_pRecentMenu) {
        for (QAction* pAction : m_pRecentMenu->actions()) {
            const int nID = pAction->data().toInt();
            if (nID != 0 && m_actions.value(nID) != pAction)
                UpdateAction(pAction, nID);
        }
    }
}

bool CMainFrame::OnCommand(int nID)
{
    switch (nID) {
    case ID_FILE_CLOSE:
        close();
        return true;
    case ID_VIEW_TOOLBAR:
        m_pToolBar->setHidden(!m_pToolBar->isHidden());
        return true;
    case ID_VIEW_STATUS_BAR:
        statusBar()->setHidden(!statusBar()->isHidden());
        return true;
    case ID_VIEW_PREVIEW:
        if (!m_pPreview)
            return false;
        TogglePreview();
        return true;
    case ID_APP_ABOUT: {
        CAboutDlg dialog(this);
        m_prompt.DoModal(dialog);
        return true;
    }
    case ID_NEXT_PANE:
        ActivateNextPane(1);
        return true;
    case ID_PREV_PANE:
        ActivateNextPane(-1);
        return true;
    }
    return false;
}

bool CMainFrame::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.GetID()) {
    case ID_VIEW_TOOLBAR:
        ui.SetCheck(!m_pToolBar->isHidden());
        return true;
    case ID_VIEW_STATUS_BAR:
        ui.SetCheck(!statusBar()->isHidden());
        return true;
    case ID_VIEW_PREVIEW:
        if (!m_pPreview)
            return false;
        ui.SetCheck(!m_pPreview->isHidden());
        return true;
    case ID_FILE_CLOSE:
    case ID_APP_ABOUT:
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
        return true;
    }
    return false;
}

}  // namespace vantor
