// The views on paks the tests build, with the scripted prompter and a fake
// desktop shell: inside the real main window (OpenFrame), or as a bare pair of
// panes on a stand-in frame (OpenPanes) for what needs no menus or routing.
#pragma once

#include "fake_frame.h"
#include "frame_test_support.h"
#include "main_frame.h"
#include "pak_builder.h"
#include "pak_list.h"
#include "pak_tree.h"

#include <QSplitter>
#include <QStringList>

#include <initializer_list>
#include <memory>
#include <string>

namespace vantor::test {

class ViewsTest : public SettingsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the pak under name in the test's folder; returns its path.
    std::string WritePak(const PakBuilder& pak, const std::string& name = "test.pak");
    // Creates and shows the main window with cmdLinePak as the command line.
    void OpenFrame(const std::string& cmdLinePak);
    // Creates the two views on m_fakeFrame, side by side, shown and
    // initialised as the window would.
    void OpenPanes(const std::string& cmdLinePak);
    // Closes the window as the user does, running everything closing runs.
    void CloseFrame();

    CMainFrame& Frame() { return *m_pFrame; }
    CPakTree& Tree() { return *m_pTree; }
    CPakList& List() { return *m_pList; }

    // The texts of the list's column (0 name, 1 size, 2 type), top to bottom.
    QStringList Column(int nColumn = 0);
    // The names of a tree item's children in order.
    static QStringList Children(const QTreeWidgetItem* pItem);
    // A tree folder by its path below the root ("maps/dm"); the root for "".
    QTreeWidgetItem* Folder(const QString& path);
    // Makes the folder current, as a click on it does.
    void Enter(const QString& path);
    // Selects exactly these rows of the list.
    void SelectRows(std::initializer_list<int> rows);
    // Status bar pane 0 or 1, of the window or of the stand-in.
    QString Pane(int nPane);
    // What was said in message boxes (questions and progress windows left out).
    QStringList Messages() const;
    // The command's enabled state as the active pane decides it now (the
    // real window only).
    bool Enabled(int nID);

    TempDir m_dir;
    CScriptedPrompt m_prompt;
    CFakeShell m_shell;
    std::unique_ptr<CMainFrame> m_pFrame;
    CFakeFrame m_fakeFrame;
    std::unique_ptr<QSplitter> m_pPanes;
    CPakTree* m_pTree = nullptr;
    CPakList* m_pList = nullptr;
};

}  // namespace vantor::test
