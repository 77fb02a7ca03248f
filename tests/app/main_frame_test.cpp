// The main window: every command with its texts and keys where the user
// finds it, routing to the active pane and enabling through update
// handlers, menu and toolbar prompts in the status bar, the frame's own
// commands, and closing without questions.
#include "main_frame.h"
#include "frame_test_support.h"
#include "resource.h"
#include "version.h"
#include "wait_for.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>

using namespace vantor;
using namespace vantor::test;

namespace {

struct ExpectedCommand {
    int nID;
    const char* menu;  // the menu holding it, "" when it is not in a menu
    const char* text;
    const char* keys;
    const char* prompt;   // status bar text
    const char* toolTip;  // "" when the command has none
};

const ExpectedCommand kCommands[] = {
    {32774, "&File", "&New Pak", "", "Creates a new pak file", "New pak"},
    {32771, "&File", "&Open Pak", "", "Opens an existing pak file", "Open pak"},
    {32803, "R&eopen Pak", "(none)", "", "", ""},
    {32860, "&File", "Open &Game Folder...", "", "Shows which copy of every file a game folder loads",
     "Open game folder"},
    {32782, "&File", "Recover &Unused Space", "", "Eliminates unused space in the pak", ""},
    {32783, "&File", "Extract &All", "", "Extract all items", "Extract all"},
    {32784, "&File", "E&xtract", "", "Extract the selected items", "Extract"},
    {32850, "&File", "&Extract To...", "", "Extract to location", "Extract To"},
    {32786, "&File", "&Delete\tDel", "Del", "Delete the selected items", "Delete"},
    {32787, "&File", "&Rename\tF2", "F2", "Rename the selected item", ""},
    {32798, "&File", "New &Folder", "", "Create new folder", "New folder"},
    {32796, "&File", "R&estore Deleted Files\tCtrl+Z", "Ctrl+Z", "Display the restore files dialog", "Restore files"},
    {57602, "&File", "&Close", "", "", ""},
    {57635, "&Edit", "Cu&t\tCtrl+X", "Ctrl+X; Shift+Del", "Cut the selected items", "Cut"},
    {57634, "&Edit", "&Copy\tCtrl+C", "Ctrl+C; Ctrl+Ins", "Copy the selected items", "Copy"},
    {57637, "&Edit", "&Paste\tCtrl+V", "Ctrl+V; Shift+Ins", "Paste the cut or copied items", "Paste"},
    {57642, "&Edit", "Select &All\tCtrl+A", "Ctrl+A", "Select all items", ""},
    {32789, "&Edit", "&Invert Selection", "", "Invert the current selection", ""},
    {57636, "&Edit", "&Filter\tCtrl+F", "Ctrl+F", "Show only the items whose names match", "Filter"},
    {59392, "&View", "&Toolbar", "", "Show or hide the toolbar", ""},
    {59393, "&View", "&Status Bar", "", "Show or hide the status bar", ""},
    {32870, "&View", "&Preview\tF3", "F3", "Show or hide the preview of the selected file", ""},
    {32794, "&View", "&Refresh\tF5", "F5", "Refresh view", ""},
    {32797, "&View", "&Options", "", "Display options dialog", ""},
    {57664, "&About", "&Vantor...", "", "Display program information", ""},
    {32781, "", "", "Backspace", "Up one level", "Up one level"},
    {32795, "", "", "Tab; Shift+F10", "", ""},
    {32851, "", "", "", "Play wave file", "Play sound"},
    {32811, "", "", "", "Stops playing wave", "Stop Sound"},
    {57680, "", "", "F6", "", ""},
    {57681, "", "", "Shift+F6", "", ""},
    // Ctrl+Z reaches Restore Deleted Files, as its menu item says.
    {57643, "", "", "", "Undo the last action", "Undo"},
};

template <typename Frame>
class FrameFixture : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        ASSERT_TRUE(m_frame.Create());
        m_frame.ActivateFrame();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_frame));
    }
    void TearDown() override
    {
        m_frame.close();
        SettingsTest::TearDown();
    }

    QMenu* Menu(const QString& title) const
    {
        for (QAction* pAction : m_frame.menuBar()->actions()) {
            if (pAction->text() == title)
                return pAction->menu();
        }
        return title == u"R&eopen Pak" ? m_frame.template findChild<QMenu*>("recentPakMenu") : nullptr;
    }

    // The ids of a menu's or toolbar's items in order, 0 for a separator and
    // -1 for a submenu.
    static std::vector<int> Layout(const QList<QAction*>& actions)
    {
        std::vector<int> ids;
        for (const QAction* pAction : actions)
            ids.push_back(pAction->isSeparator() ? 0 : pAction->menu() ? -1 : pAction->data().toInt());
        return ids;
    }

    QString Pane0() const { return m_frame.template findChild<QLabel*>("statusPane0")->text(); }

    CScriptedPrompt m_prompt;
    CFakeShell m_shell;
    Frame m_frame{m_prompt, m_shell, QString()};
};

class MainFrame : public FrameFixture<CMainFrame> {};
class Routing : public FrameFixture<CFrameWithFakePanes> {};

TEST_F(MainFrame, EveryCommandHasItsTextKeysPromptAndToolTip)
{
    for (const ExpectedCommand& expected : kCommands) {
        SCOPED_TRACE(expected.nID);
        QAction* pAction = m_frame.GetCommandAction(expected.nID);
        ASSERT_NE(pAction, nullptr);
        EXPECT_EQ(pAction->text(), QString::fromUtf8(expected.text));
        EXPECT_EQ(pAction->shortcuts(),
                  QKeySequence::listFromString(QString::fromUtf8(expected.keys), QKeySequence::PortableText));
        EXPECT_EQ(pAction->statusTip(), QString::fromUtf8(expected.prompt));
        if (*expected.toolTip) {
            EXPECT_EQ(pAction->toolTip(), QString::fromUtf8(expected.toolTip));
        }
        if (*expected.menu) {
            QMenu* pMenu = Menu(QString::fromUtf8(expected.menu));
            ASSERT_NE(pMenu, nullptr);
            EXPECT_TRUE(pMenu->actions().contains(pAction));
        }
    }
    EXPECT_EQ(m_frame.findChildren<QAction*>(QRegularExpression("^command")).size(), std::size(kCommands));
}

TEST_F(MainFrame, MenusHoldTheirCommandsInOrder)
{
    QStringList titles;
    for (const QAction* pAction : m_frame.menuBar()->actions())
        titles.append(pAction->text());
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&View", "&About"}));

    EXPECT_EQ(Layout(Menu("&File")->actions()),
              (std::vector<int>{32774, 32771, -1, 32860, 0, 32782, 0, 32783, 32784, 32850, 0, 32786, 32787, 32798, 0,
                                32796, 0, 57602}));
    // The recent list finds its submenu as the File menu's third item.
    QMenu* pRecent = Menu("&File")->actions().at(2)->menu();
    EXPECT_EQ(pRecent, m_frame.GetRecentPakMenu());
    EXPECT_EQ(Menu("&File")->actions().at(2)->text(), "R&eopen Pak");
    EXPECT_EQ(Layout(pRecent->actions()), std::vector<int>{ID_FILE_MRU_NONE});
    EXPECT_FALSE(m_frame.GetCommandAction(ID_FILE_MRU_NONE)->isEnabled());
    EXPECT_EQ(Layout(Menu("&Edit")->actions()), (std::vector<int>{57635, 57634, 57637, 0, 57642, 32789, 0, 57636}));
    EXPECT_EQ(Layout(Menu("&View")->actions()), (std::vector<int>{59392, 59393, 32870, 0, 32794, 0, 32797}));
    EXPECT_EQ(Layout(Menu("&About")->actions()), std::vector<int>{57664});
}

TEST_F(MainFrame, ToolbarButtonsInOrderWithIcons)
{
    auto* pToolBar = m_frame.findChild<QToolBar*>("toolbar");
    ASSERT_NE(pToolBar, nullptr);
    EXPECT_EQ(Layout(pToolBar->actions()), (std::vector<int>{32774, 32771, 0, 32784, 32783, 0, 57635, 57634, 57637,
                                                              32798, 0, 32786, 32796, 0, 32781, 0, 32851, 32811}));
    for (const QAction* pAction : pToolBar->actions()) {
        if (!pAction->isSeparator()) {
            EXPECT_FALSE(pAction->icon().isNull()) << pAction->data().toInt();
        }
    }
}

TEST_F(MainFrame, WithoutAPakOnlyCommandsThatNeedNoneAreEnabled)
{
    const std::set<int> enabled{ID_FILE_NEWPAK,  ID_FILE_OPENPAK, ID_FILE_CLOSE,   ID_VIEW_TOOLBAR,
                                ID_VIEW_STATUS_BAR, ID_VIEW_OPTIONS, ID_APP_ABOUT, ID_NEXT_PANE,
                                ID_PREV_PANE,    ID_VIEW_REFRESH, ID_SWITCH_PANE, ID_FILE_OPENGAMEFOLDER,
                                ID_VIEW_PREVIEW};
    m_frame.UpdateCommands();
    for (const ExpectedCommand& command : kCommands)
        EXPECT_EQ(m_frame.GetCommandAction(command.nID)->isEnabled(), enabled.count(command.nID) == 1)
            << command.nID;
}

TEST_F(MainFrame, TitleIsTheProgramsNameAndClosingAsksNothing)
{
    EXPECT_EQ(m_frame.windowTitle(), "Vantor");
    m_frame.RouteCommand(ID_FILE_CLOSE);
    EXPECT_FALSE(m_frame.isVisible());
    EXPECT_TRUE(m_prompt.Questions().empty());
    EXPECT_TRUE(Stored("Window size", "Rect").isValid());
}

TEST_F(MainFrame, BarTogglesHideTheBarsAndShowTheirState)
{
    auto* pToolBar = m_frame.findChild<QToolBar*>("toolbar");
    QAction* pToggle = m_frame.GetCommandAction(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(pToggle->isChecked());
    pToggle->trigger();
    EXPECT_TRUE(pToolBar->isHidden());
    EXPECT_FALSE(pToggle->isChecked());
    pToggle->trigger();
    EXPECT_FALSE(pToolBar->isHidden());
    EXPECT_TRUE(pToggle->isChecked());

    QAction* pStatusToggle = m_frame.GetCommandAction(ID_VIEW_STATUS_BAR);
    pStatusToggle->trigger();
    EXPECT_TRUE(m_frame.statusBar()->isHidden());
    EXPECT_FALSE(pStatusToggle->isChecked());
}

TEST_F(MainFrame, OptionsAndAboutOpenTheirDialogs)
{
    m_prompt.AnswerDialog([](QDialog& dialog) {
        EXPECT_STREQ(dialog.metaObject()->className(), "vantor::COptionsDlg");
        // Opened from the menu, the dialog can be cancelled.
        EXPECT_TRUE(dialog.findChild<QWidget*>("buttonCancel")->isEnabled());
        dialog.reject();
    });
    EXPECT_TRUE(m_frame.RouteCommand(ID_VIEW_OPTIONS));
    m_prompt.AnswerDialog([](QDialog& dialog) {
        EXPECT_STREQ(dialog.metaObject()->className(), "vantor::CAboutDlg");
        EXPECT_TRUE(dialog.findChild<QLabel*>("labelName")->text().contains("Vantor"));
        EXPECT_TRUE(dialog.findChild<QLabel*>("labelVersion")->text().contains(VANTOR_VERSION_TEXT));
    });
    EXPECT_TRUE(m_frame.RouteCommand(ID_APP_ABOUT));
    EXPECT_TRUE(m_prompt.AllAnswered());
}

TEST_F(Routing, CommandsGoToTheActivePaneFirst)
{
    m_frame.m_pLeft->m_handled = {ID_FILE_NEWPAK, ID_VIEW_TOOLBAR};
    m_frame.m_pRight->m_handled = {ID_FILE_NEWPAK};
    m_frame.m_pRight->m_enabled[ID_FILE_NEWPAK] = false;
    EXPECT_EQ(m_frame.GetActivePane(), m_frame.m_pLeft);

    m_frame.UpdateCommands();
    EXPECT_TRUE(m_frame.GetCommandAction(ID_FILE_NEWPAK)->isEnabled());
    m_frame.GetCommandAction(ID_FILE_NEWPAK)->trigger();
    EXPECT_EQ(m_frame.m_pLeft->m_received, std::vector<int>{ID_FILE_NEWPAK});
    // A pane's handler comes before the frame's own.
    EXPECT_TRUE(m_frame.RouteCommand(ID_VIEW_TOOLBAR));
    EXPECT_FALSE(m_frame.findChild<QToolBar*>("toolbar")->isHidden());

    m_frame.SetActivePane(m_frame.m_pRight);
    EXPECT_FALSE(m_frame.GetCommandAction(ID_FILE_NEWPAK)->isEnabled());
    EXPECT_TRUE(m_frame.RouteCommand(ID_VIEW_TOOLBAR));
    EXPECT_TRUE(m_frame.findChild<QToolBar*>("toolbar")->isHidden());
    EXPECT_FALSE(m_frame.RouteCommand(ID_FILE_EXTRACT));
    EXPECT_EQ(m_frame.m_pLeft->m_received.size(), 2u);
    EXPECT_TRUE(m_frame.m_pRight->m_received.empty());
}

TEST_F(Routing, FocusMakesAPaneActiveAndF6MovesIt)
{
    m_frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_frame));
    m_frame.m_pRight->setFocus();
    EXPECT_EQ(m_frame.GetActivePane(), m_frame.m_pRight);

    m_frame.RouteCommand(ID_NEXT_PANE);
    EXPECT_EQ(m_frame.GetActivePane(), m_frame.m_pLeft);
    EXPECT_TRUE(m_frame.m_pLeft->hasFocus());
    m_frame.RouteCommand(ID_PREV_PANE);
    EXPECT_EQ(m_frame.GetActivePane(), m_frame.m_pRight);
    QTest::keyClick(&m_frame, Qt::Key_F6);
    EXPECT_EQ(m_frame.GetActivePane(), m_frame.m_pLeft);
}

TEST_F(Routing, RecentPakEntriesAreRoutedAndUpdatedLikeCommands)
{
    m_frame.m_pLeft->m_handled = {ID_FILE_MRU_FIRST + 1};
    QAction* pEntry = m_frame.GetRecentPakMenu()->addAction("/data/pak1.pak");
    pEntry->setData(ID_FILE_MRU_FIRST + 1);
    QAction* pOther = m_frame.GetRecentPakMenu()->addAction("/data/pak2.pak");
    pOther->setData(ID_FILE_MRU_FIRST + 2);

    m_frame.UpdateCommands();
    EXPECT_TRUE(pEntry->isEnabled());
    EXPECT_FALSE(pOther->isEnabled());
    pEntry->trigger();
    EXPECT_EQ(m_frame.m_pLeft->m_received, std::vector<int>{ID_FILE_MRU_FIRST + 1});
}

TEST_F(Routing, MenuPromptsShowInPaneZeroUntilTheMenuCloses)
{
    m_frame.m_pLeft->m_handled = {ID_FILE_OPENPAK};
    m_frame.SetPaneText(0, "left pane status");
    QMenu* pFile = Menu("&File");
    pFile->popup(m_frame.mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pFile));
    auto hover = [pFile, this](int nID) {
        QTest::mouseMove(pFile, pFile->actionGeometry(m_frame.GetCommandAction(nID)).center());
    };

    hover(ID_FILE_OPENPAK);
    EXPECT_SOON(Pane0() == "Opens an existing pak file");
    EXPECT_TRUE(m_frame.statusBar()->currentMessage().isEmpty());
    hover(ID_FILE_CLOSE);  // no prompt of its own
    EXPECT_SOON(Pane0() == "");
    hover(ID_FILE_EXTRACT);  // greyed, but it still says what it does
    EXPECT_FALSE(m_frame.GetCommandAction(ID_FILE_EXTRACT)->isEnabled());
    EXPECT_SOON(Pane0() == "Extract the selected items");

    m_frame.SetActivePane(m_frame.m_pRight);
    pFile->hide();
    EXPECT_SOON(Pane0() == "right pane status");
}

TEST_F(Routing, ToolbarPromptsGiveWayToThePanesStatus)
{
    auto* pToolBar = m_frame.findChild<QToolBar*>("toolbar");
    QWidget* pButton = pToolBar->widgetForAction(m_frame.GetCommandAction(ID_FILE_EXTRACT));
    QStatusTipEvent enter(m_frame.GetCommandAction(ID_FILE_EXTRACT)->statusTip());
    QCoreApplication::sendEvent(pButton, &enter);
    EXPECT_EQ(Pane0(), "Extract the selected items");
    QStatusTipEvent leave{QString()};
    QCoreApplication::sendEvent(pButton, &leave);
    EXPECT_EQ(Pane0(), "left pane status");
}

TEST_F(Routing, PanesHearOfTheFirstUpdateAndOfClosing)
{
    EXPECT_EQ(m_frame.m_pLeft->m_nInitialUpdates, 1);
    EXPECT_EQ(m_frame.m_pRight->m_nInitialUpdates, 1);
    m_frame.ActivateFrame();
    EXPECT_EQ(m_frame.m_pLeft->m_nInitialUpdates, 1);
    m_frame.close();
    EXPECT_EQ(m_frame.m_pLeft->m_nClosings, 1);
    EXPECT_EQ(m_frame.m_pRight->m_nClosings, 1);
    EXPECT_TRUE(Stored("Window size", "TreeWidth").isValid());
}

}  // namespace
