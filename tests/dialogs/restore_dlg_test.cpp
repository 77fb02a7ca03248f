// The Restore Gibbed Files dialog: when Restore can be pressed, the names it
// hands back and in what order, and CQtPrompt asking through it.
#include "qt_prompt.h"
#include "restore_dlg.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace vantor;

namespace {

QPushButton* Button(QDialog& dialog, const char* pszName)
{
    auto* pButton = dialog.findChild<QPushButton*>(QString::fromLatin1(pszName));
    EXPECT_NE(pButton, nullptr) << pszName;
    return pButton;
}

QListWidget* List(QDialog& dialog)
{
    return dialog.findChild<QListWidget*>(QStringLiteral("listNames"));
}

void Press(QDialog& dialog, const char* pszName)
{
    QTest::mouseClick(Button(dialog, pszName), Qt::LeftButton);
}

void ClickRow(QDialog& dialog, int nRow)
{
    QListWidget* pList = List(dialog);
    QListWidgetItem* pItem = pList->item(nRow);
    ASSERT_NE(pItem, nullptr) << nRow;
    pList->scrollToItem(pItem);
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, Qt::NoModifier, pList->visualItemRect(pItem).center());
}

QStringList Shown(QDialog& dialog)
{
    QStringList names;
    for (int nRow = 0; nRow < List(dialog)->count(); ++nRow)
        names.append(List(dialog)->item(nRow)->text());
    return names;
}

// Runs exec() with drive acting on the open dialog; a dialog that drive
// failed to close is ended with -1 so that the test fails rather than hangs.
int RunModal(QDialog& dialog, const std::function<void(QDialog&)>& drive)
{
    QPointer<QDialog> pDialog(&dialog);
    QTimer::singleShot(0, &dialog, [&] { drive(dialog); });
    QTimer::singleShot(5000, &dialog, [pDialog] {
        if (pDialog && pDialog->isVisible())
            pDialog->done(-1);
    });
    return dialog.exec();
}

TEST(RestoreDialog, RestoreIsEnabledExactlyWhileSomethingIsChosen)
{
    // A step is a row to click, or -1 for Select All, -2 for Deselect All.
    struct Case {
        const char* pszName;
        QStringList names;
        std::vector<int> steps;
        std::vector<bool> enabledAfter;
    };
    const std::vector<Case> cases = {
        {"select then clear one by one", {"a", "b", "c"}, {0, 2, 0, 2}, {true, true, true, false}},
        {"select all then clear one by one", {"a", "b"}, {-1, 1, 0}, {true, true, false}},
        {"deselect all", {"a", "b"}, {1, -2, 0}, {true, false, true}},
        {"select all on an empty list", {}, {-1, -2, -1}, {true, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CRestoreDlg dialog;
        dialog.SetNames(c.names);
        dialog.show();
        EXPECT_FALSE(Button(dialog, "buttonRestore")->isEnabled());
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(i);
            if (c.steps[i] == -1)
                Press(dialog, "buttonSelectAll");
            else if (c.steps[i] == -2)
                Press(dialog, "buttonDeselectAll");
            else
                ClickRow(dialog, c.steps[i]);
            EXPECT_EQ(Button(dialog, "buttonRestore")->isEnabled(), c.enabledAfter[i]);
        }
    }
}

TEST(RestoreDialog, SelectAllRestoresEveryNameSortedIgnoringCase)
{
    struct Case {
        QStringList names;
        QStringList expected;
    };
    const std::vector<Case> cases = {
        {{"b.wav", "A.bsp", "c.mdl", "a.lmp"}, {"A.bsp", "a.lmp", "b.wav", "c.mdl"}},
        // Names equal but for case go by their bytes, whatever order they came in.
        {{"maps/x", "MAPS/X", "Maps/x"}, {"MAPS/X", "Maps/x", "maps/x"}},
        {{"Maps/x", "maps/x", "MAPS/X"}, {"MAPS/X", "Maps/x", "maps/x"}},
        // A name offered twice is there, and chosen, twice.
        {{"pak0/e1m1.bsp", "gfx.wad", "pak0/e1m1.bsp"}, {"gfx.wad", "pak0/e1m1.bsp", "pak0/e1m1.bsp"}},
        // Case is ignored by lowering it: punctuation between the capitals and
        // the small letters sorts before both.
        {{"_z", "a", "Z", "[x"}, {"[x", "_z", "a", "Z"}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.join(u',').toStdString());
        CRestoreDlg dialog;
        dialog.SetNames(c.names);
        QStringList shown;
        EXPECT_EQ(RunModal(dialog,
                           [&](QDialog& d) {
                               shown = Shown(d);
                               Press(d, "buttonSelectAll");
                               Press(d, "buttonRestore");
                           }),
                  QDialog::Accepted);
        EXPECT_EQ(shown, c.expected);
        EXPECT_EQ(dialog.GetSelected(), c.expected);
    }
}

TEST(RestoreDialog, ChosenNamesComeBackInListOrderWhateverTheClickOrder)
{
    const QStringList names = {"a", "b", "c", "d", "e"};
    struct Case {
        std::vector<int> clicks;
        QStringList expected;
    };
    const std::vector<Case> cases = {
        {{4, 0, 2}, {"a", "c", "e"}},
        {{3, 1}, {"b", "d"}},
        {{0, 1, 2, 3, 4}, names},
        // A second click takes a name back out.
        {{2, 4, 2, 0}, {"a", "e"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.join(u',').toStdString());
        CRestoreDlg dialog;
        dialog.SetNames(names);
        EXPECT_EQ(RunModal(dialog,
                           [&](QDialog& d) {
                               for (int nRow : c.clicks)
                                   ClickRow(d, nRow);
                               Press(d, "buttonRestore");
                           }),
                  QDialog::Accepted);
        EXPECT_EQ(dialog.GetSelected(), c.expected);
    }
}

TEST(RestoreDialog, CancellingReturnsNothing)
{
    struct Case {
        const char* pszAction;
        std::function<void(QDialog&)> close;
    };
    const std::vector<Case> cases = {
        {"Cancel", [](QDialog& d) { Press(d, "buttonCancel"); }},
        {"Escape", [](QDialog& d) { QTest::keyClick(List(d), Qt::Key_Escape); }},
        {"close box", [](QDialog& d) { d.close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszAction);
        CRestoreDlg dialog;
        dialog.SetNames({"a", "b"});
        // A restore at an earlier opening is forgotten too.
        RunModal(dialog, [](QDialog& d) {
            Press(d, "buttonSelectAll");
            Press(d, "buttonRestore");
        });
        ASSERT_EQ(dialog.GetSelected(), QStringList({"a", "b"}));
        EXPECT_EQ(RunModal(dialog,
                           [&](QDialog& d) {
                               Press(d, "buttonSelectAll");
                               c.close(d);
                           }),
                  QDialog::Rejected);
        EXPECT_TRUE(dialog.GetSelected().isEmpty());
    }
}

TEST(RestoreDialog, SetNamesAddsToTheNamesOffered)
{
    CRestoreDlg dialog;
    dialog.SetNames({"c", "a"});
    dialog.SetNames({"b", "a"});
    dialog.show();
    EXPECT_EQ(Shown(dialog), QStringList({"a", "a", "b", "c"}));
}

TEST(RestoreDialog, QtPromptAsksThroughTheDialog)
{
    struct Case {
        const char* pszButton;
        std::optional<QStringList> expected;
    };
    const std::vector<Case> cases = {
        {"buttonRestore", QStringList({"A", "b"})},
        {"buttonCancel", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszButton);
        QWidget owner;
        CQtPrompt prompt(&owner);
        QTimer::singleShot(0, [&] {
            auto* pDialog = qobject_cast<CRestoreDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(pDialog, nullptr);
            EXPECT_EQ(pDialog->parentWidget(), &owner);
            EXPECT_EQ(pDialog->windowTitle(), "Restore Gibbed Files");
            Press(*pDialog, "buttonSelectAll");
            Press(*pDialog, c.pszButton);
        });
        EXPECT_EQ(prompt.ChooseNamesToRestore({"b", "A"}), c.expected);
    }
}

}  // namespace
