// The Options dialog: what it shows for the stored settings, how its
// controls react to each other, what OK validates and writes, and that
// Cancel, Escape and the close box write nothing.
#include "options_dlg.h"
#include "profile.h"
#include "scripted_prompt.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::test;

namespace {

const QString kOptions = QStringLiteral("Options");

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override { QSettings("Tessamont", "Vantor").clear(); }
    void TearDown() override { QSettings("Tessamont", "Vantor").clear(); }

    // Opens the dialog as its modal run would, without a modal loop.
    void Open(bool bAllowCancel = true)
    {
        m_dialog.m_bAllowCancel = bAllowCancel;
        m_dialog.show();
    }

    template <typename Widget>
    Widget* Find(const char* pszName)
    {
        auto* pWidget = m_dialog.findChild<Widget*>(QString::fromLatin1(pszName));
        EXPECT_NE(pWidget, nullptr) << pszName;
        return pWidget;
    }
    QCheckBox* Check(const char* pszName) { return Find<QCheckBox>(pszName); }
    // On the box or the dot, where a click always lands whatever the width.
    static void Click(QAbstractButton* pButton)
    {
        QTest::mouseClick(pButton, Qt::LeftButton, {}, QPoint(8, pButton->height() / 2));
    }

    static QVariant Stored(const char* pszKey) { return QSettings("Tessamont", "Vantor").value(kOptions + "/" + pszKey); }
    static bool NothingStored() { return QSettings("Tessamont", "Vantor").allKeys().isEmpty(); }

    CScriptedPrompt m_prompt;
    COptionsDlg m_dialog{m_prompt};
};

TEST_F(OptionsDialog, OpensWithTheDefaultsWhenNothingIsStored)
{
    Open();
    EXPECT_TRUE(Check("checkAssociate")->isChecked());
    EXPECT_TRUE(Check("checkNewPak")->isChecked());
    EXPECT_TRUE(Check("checkNewPak")->isEnabled());
    EXPECT_TRUE(Check("checkRecoverOnExit")->isChecked());
    EXPECT_TRUE(Check("checkConfirmRecover")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("radioPromptForFolder")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>("radioAlwaysExtractTo")->isChecked());
    EXPECT_FALSE(Find<QLineEdit>("editExtractPath")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("buttonBrowse")->isEnabled());
    EXPECT_FALSE(Check("checkExtractWarning")->isChecked());
    EXPECT_FALSE(Check("checkConfirmUpdate")->isChecked());
    EXPECT_TRUE(Find<QPushButton>("buttonCancel")->isEnabled());
    EXPECT_EQ(m_dialog.windowTitle(), "Options");
}

TEST_F(OptionsDialog, OpensWithTheStoredSettings)
{
    WriteProfileInt(kOptions, "RecoverOnExit", 0);
    WriteProfileInt(kOptions, "ConfirmRecover", 0);
    WriteProfileInt(kOptions, "ExtractWarning", 1);
    WriteProfileInt(kOptions, "ConfirmUpdate", 1);
    WriteProfileInt(kOptions, "UseExtractPath", 1);
    WriteProfileString(kOptions, "ExtractPath", "/srv/quake");
    Open();
    EXPECT_FALSE(Check("checkRecoverOnExit")->isChecked());
    EXPECT_FALSE(Check("checkConfirmRecover")->isChecked());
    EXPECT_TRUE(Check("checkExtractWarning")->isChecked());
    EXPECT_TRUE(Check("checkConfirmUpdate")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("radioAlwaysExtractTo")->isChecked());
    EXPECT_EQ(Find<QLineEdit>("editExtractPath")->text(), "/srv/quake");
    EXPECT_TRUE(Find<QLineEdit>("editExtractPath")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>("buttonBrowse")->isEnabled());
}

TEST_F(OptionsDialog, NewMenuBoxIsClearedAndGreyWhileAssociationIsOff)
{
    WriteProfileInt(kOptions, "AssociatePak", 0);
    WriteProfileInt(kOptions, "NewPak", 1);
    Open();
    EXPECT_FALSE(Check("checkAssociate")->isChecked());
    EXPECT_FALSE(Check("checkNewPak")->isChecked());
    EXPECT_FALSE(Check("checkNewPak")->isEnabled());
}

TEST_F(OptionsDialog, UntickingAssociationClearsNewMenuBoxAndTickingRestoresIt)
{
    Open();
    Click(Check("checkAssociate"));
    EXPECT_FALSE(Check("checkNewPak")->isChecked());
    EXPECT_FALSE(Check("checkNewPak")->isEnabled());
    Click(Check("checkAssociate"));
    EXPECT_TRUE(Check("checkNewPak")->isChecked());
    EXPECT_TRUE(Check("checkNewPak")->isEnabled());
}

TEST_F(OptionsDialog, TickingAssociationRestoresTheLastTransferredNewMenuValue)
{
    Open();
    Click(Check("checkNewPak"));  // unticked, and taken into the member
    Click(Check("checkAssociate"));
    Click(Check("checkAssociate"));
    EXPECT_FALSE(Check("checkNewPak")->isChecked());
    EXPECT_TRUE(Check("checkNewPak")->isEnabled());
}

TEST_F(OptionsDialog, ExtractModeRadiosEnableAndDisableThePath)
{
    Open();
    Click(Find<QRadioButton>("radioAlwaysExtractTo"));
    EXPECT_TRUE(Find<QLineEdit>("editExtractPath")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>("buttonBrowse")->isEnabled());
    Click(Find<QRadioButton>("radioPromptForFolder"));
    EXPECT_FALSE(Find<QLineEdit>("editExtractPath")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("buttonBrowse")->isEnabled());
}

TEST_F(OptionsDialog, OkWritesAllEightSettings)
{
    QTemporaryDir folder;
    Open();
    Click(Check("checkRecoverOnExit"));
    Click(Check("checkExtractWarning"));
    Click(Check("checkConfirmUpdate"));
    Click(Find<QRadioButton>("radioAlwaysExtractTo"));
    Find<QLineEdit>("editExtractPath")->setText(folder.path());
    Click(Find<QPushButton>("buttonOk"));

    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(Stored("AssociatePak").toInt(), 1);
    EXPECT_EQ(Stored("NewPak").toInt(), 1);
    EXPECT_EQ(Stored("RecoverOnExit").toInt(), 0);
    EXPECT_EQ(Stored("ConfirmRecover").toInt(), 1);
    EXPECT_EQ(Stored("ExtractWarning").toInt(), 1);
    EXPECT_EQ(Stored("UseExtractPath").toInt(), 1);
    EXPECT_EQ(Stored("ConfirmUpdate").toInt(), 1);
    EXPECT_EQ(Stored("ExtractPath").toString(), folder.path());
    EXPECT_TRUE(m_prompt.Questions().empty());
}

TEST_F(OptionsDialog, PromptModeAcceptsAnyPath)
{
    Open();
    Find<QLineEdit>("editExtractPath")->setText("/no/such/folder");
    Click(Find<QPushButton>("buttonOk"));
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Stored("ExtractPath").toString(), "/no/such/folder");
    EXPECT_EQ(Stored("UseExtractPath").toInt(), 0);
}

TEST_F(OptionsDialog, ReturnInThePathAcceptsAndNeverBrowses)
{
    Open();
    Click(Find<QRadioButton>("radioAlwaysExtractTo"));
    // The Browse button has had the focus: it must not stay the default.
    Find<QPushButton>("buttonBrowse")->setFocus();
    auto* pEdit = Find<QLineEdit>("editExtractPath");
    pEdit->setFocus();
    pEdit->setText(QDir::tempPath());
    QTest::keyClick(pEdit, Qt::Key_Return);
    EXPECT_TRUE(Find<QPushButton>("buttonOk")->isDefault());
    EXPECT_TRUE(m_prompt.Questions().empty());
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Stored("ExtractPath").toString(), QDir::tempPath());
}

TEST_F(OptionsDialog, AlwaysModeRefusesAPathThatIsNoFolder)
{
    QTemporaryDir folder;
    const QString file = folder.filePath("readme.txt");
    QFile(file).open(QIODevice::WriteOnly);
    for (const QString& path : {file, folder.filePath("missing"), QString()}) {
        SCOPED_TRACE(path.toStdString());
        CScriptedPrompt prompt;
        COptionsDlg dialog(prompt);
        dialog.show();
        Click(dialog.findChild<QRadioButton*>("radioAlwaysExtractTo"));
        auto* pEdit = dialog.findChild<QLineEdit*>("editExtractPath");
        pEdit->setText(path);
        Click(dialog.findChild<QPushButton*>("buttonOk"));

        ASSERT_EQ(prompt.Questions().size(), 1u);
        EXPECT_EQ(prompt.Questions()[0].text, "Invalid extract path specified.  Please select a new path.");
        EXPECT_EQ(prompt.Questions()[0].icon, PromptIcon::exclamation);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(pEdit->selectedText(), path);
        EXPECT_TRUE(NothingStored());
    }
}

TEST_F(OptionsDialog, CancelWritesNothing)
{
    Open();
    Click(Check("checkAssociate"));
    Click(Find<QPushButton>("buttonCancel"));
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_TRUE(NothingStored());
}

TEST_F(OptionsDialog, WithCancelDisabledOnlyOkLeaves)
{
    Open(false);
    EXPECT_FALSE(Find<QPushButton>("buttonCancel")->isEnabled());
    QTest::keyClick(&m_dialog, Qt::Key_Escape);
    EXPECT_TRUE(m_dialog.isVisible());
    m_dialog.close();
    EXPECT_TRUE(m_dialog.isVisible());
    EXPECT_TRUE(NothingStored());

    Click(Find<QPushButton>("buttonOk"));
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(Stored("AssociatePak").toInt(), 1);
}

TEST_F(OptionsDialog, BrowseFillsInThePathAndKeepsTheOtherEdits)
{
    Open();
    Click(Check("checkRecoverOnExit"));
    Click(Find<QRadioButton>("radioAlwaysExtractTo"));
    m_prompt.AnswerFolder(QStringLiteral("/srv/extracted"));
    Click(Find<QPushButton>("buttonBrowse"));

    ASSERT_EQ(m_prompt.Questions().size(), 1u);
    EXPECT_EQ(m_prompt.Questions()[0].kind, CScriptedPrompt::Kind::folder);
    EXPECT_TRUE(m_prompt.Questions()[0].text.isEmpty());
    EXPECT_TRUE(m_prompt.Questions()[0].chooser.strInitialName.isEmpty());
    EXPECT_EQ(Find<QLineEdit>("editExtractPath")->text(), "/srv/extracted");
    EXPECT_FALSE(Check("checkRecoverOnExit")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("radioAlwaysExtractTo")->isChecked());
}

TEST_F(OptionsDialog, CancelledBrowseLeavesThePath)
{
    WriteProfileInt(kOptions, "UseExtractPath", 1);
    WriteProfileString(kOptions, "ExtractPath", "/srv/quake");
    Open();
    m_prompt.AnswerFolder(std::nullopt);
    Click(Find<QPushButton>("buttonBrowse"));
    EXPECT_EQ(Find<QLineEdit>("editExtractPath")->text(), "/srv/quake");
}

}  // namespace
