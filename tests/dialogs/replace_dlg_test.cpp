// The Confirm Replace dialog: the answer each button and key gives through a
// real modal run, what it shows at each opening, and CQtPrompt asking
// through it.
#include "prompt.h"
#include "qt_prompt.h"
#include "replace_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace vantor;

namespace {

const QString kDefaultText =
    QStringLiteral("One or more of the items you are trying to copy already exist.\nOverwrite existing items?");

QPushButton* Button(QDialog& dialog, const char* pszName)
{
    auto* pButton = dialog.findChild<QPushButton*>(QString::fromLatin1(pszName));
    EXPECT_NE(pButton, nullptr) << pszName;
    return pButton;
}

QString Message(QDialog& dialog)
{
    return dialog.findChild<QLabel*>(QStringLiteral("labelMessage"))->text();
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

void Key(QDialog& dialog, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    // Mnemonics reach only the active window.
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QWidget* pTarget = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
    QTest::keyClick(pTarget, key, modifiers);
}

TEST(ReplaceDialog, EachButtonAndKeyGivesItsAnswer)
{
    struct Case {
        const char* pszAction;
        std::function<void(QDialog&)> drive;
        int nAnswer;
    };
    const auto click = [](const char* pszName) {
        return [pszName](QDialog& dialog) { QTest::mouseClick(Button(dialog, pszName), Qt::LeftButton); };
    };
    const std::vector<Case> cases = {
        {"Yes", click("buttonYes"), replaceYes},
        {"Yes To All", click("buttonYesToAll"), replaceYesToAll},
        {"No", click("buttonNo"), replaceNo},
        {"Cancel", click("buttonCancel"), replaceCancel},
        {"Escape", [](QDialog& dialog) { Key(dialog, Qt::Key_Escape); }, replaceCancel},
        {"close box", [](QDialog& dialog) { dialog.close(); }, replaceCancel},
        // The focus starts on Yes, but no button takes Return over by
        // having the focus: Return answers the default, No.
        {"Return", [](QDialog& dialog) { Key(dialog, Qt::Key_Return); }, replaceNo},
        {"Enter", [](QDialog& dialog) { Key(dialog, Qt::Key_Enter); }, replaceNo},
        {"Return on Cancel",
         [](QDialog& dialog) {
             Button(dialog, "buttonCancel")->setFocus();
             Key(dialog, Qt::Key_Return);
         },
         replaceNo},
        // Space presses the button with the focus.
        {"Space", [](QDialog& dialog) { Key(dialog, Qt::Key_Space); }, replaceYes},
        {"Alt+Y", [](QDialog& dialog) { Key(dialog, Qt::Key_Y, Qt::AltModifier); }, replaceYes},
        {"Alt+A", [](QDialog& dialog) { Key(dialog, Qt::Key_A, Qt::AltModifier); }, replaceYesToAll},
        {"Alt+N", [](QDialog& dialog) { Key(dialog, Qt::Key_N, Qt::AltModifier); }, replaceNo},
        {"Alt+C", [](QDialog& dialog) { Key(dialog, Qt::Key_C, Qt::AltModifier); }, replaceCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszAction);
        CReplaceDlg dialog;
        EXPECT_EQ(RunModal(dialog, c.drive), c.nAnswer);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(ReplaceDialog, OpensWithTheWarningFocusOnYesAndNoAsDefault)
{
    CReplaceDlg dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Confirm Replace");
    EXPECT_EQ(Message(dialog), kDefaultText);
    const auto* pIcon = dialog.findChild<QLabel*>(QStringLiteral("labelIcon"));
    ASSERT_NE(pIcon, nullptr);
    EXPECT_FALSE(pIcon->pixmap().isNull());
    EXPECT_LT(pIcon->x(), dialog.findChild<QLabel*>(QStringLiteral("labelMessage"))->x());

    EXPECT_EQ(dialog.focusWidget(), Button(dialog, "buttonYes"));
    int nLastX = -1;
    for (const auto& [pszName, pszText] : {std::pair{"buttonYes", "&Yes"}, std::pair{"buttonYesToAll", "Yes To &All"},
                                          std::pair{"buttonNo", "&No"}, std::pair{"buttonCancel", "&Cancel"}}) {
        SCOPED_TRACE(pszName);
        QPushButton* pButton = Button(dialog, pszName);
        EXPECT_EQ(pButton->text(), pszText);
        EXPECT_GT(pButton->x(), nLastX);
        nLastX = pButton->x();
        EXPECT_EQ(pButton->isDefault(), pButton->objectName() == "buttonNo");
        EXPECT_FALSE(pButton->autoDefault());
    }
}

TEST(ReplaceDialog, EveryOpeningShowsItsMessageAndFocusesYesAgain)
{
    CReplaceDlg dialog;
    dialog.SetMessage(QStringLiteral("Replace <b>maps/e1m1.bsp</b>?"));
    for (int nOpening = 1; nOpening <= 2; ++nOpening) {
        SCOPED_TRACE(nOpening);
        dialog.show();
        EXPECT_EQ(Message(dialog), "Replace <b>maps/e1m1.bsp</b>?");
        EXPECT_EQ(dialog.focusWidget(), Button(dialog, "buttonYes"));
        Button(dialog, "buttonCancel")->setFocus();
        QTest::mouseClick(Button(dialog, "buttonCancel"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), replaceCancel);
    }
    // An empty message brings the standard question back.
    dialog.SetMessage(QString());
    dialog.show();
    EXPECT_EQ(Message(dialog), kDefaultText);
}

TEST(ReplaceDialog, QtPromptAsksThroughTheDialog)
{
    for (const QString& message : {QString(), QStringLiteral("Overwrite progs.dat?")}) {
        SCOPED_TRACE(message.toStdString());
        QWidget owner;
        CQtPrompt prompt(&owner);
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* pDialog = qobject_cast<CReplaceDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(pDialog, nullptr);
            EXPECT_EQ(pDialog->parentWidget(), &owner);
            shown = Message(*pDialog);
            QTest::mouseClick(Button(*pDialog, "buttonYesToAll"), Qt::LeftButton);
        });
        EXPECT_EQ(prompt.AskReplace(message), replaceYesToAll);
        EXPECT_EQ(shown, message.isEmpty() ? kDefaultText : message);
    }
}

}  // namespace
