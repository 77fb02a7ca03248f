// Start-up: the first-run Options dialog, the registration that follows it,
// the pak named on the command line, and the temporary folder.
#include "main_frame.h"
#include "pak_app.h"
#include "frame_test_support.h"
#include "profile.h"
#include "scoped_env.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace vantor;
using namespace vantor::test;

namespace {

class Startup : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        QDir(DataHome()).removeRecursively();
        m_app.SetToolRunner([this](const QString& program, const QStringList&) { m_tools.append(program); });
    }

    static QString DataHome() { return qEnvironmentVariable("XDG_DATA_HOME"); }
    static bool Registered() { return QFileInfo::exists(DataHome() + "/applications/vantor.desktop"); }

    CScriptedPrompt m_prompt;
    CFakeShell m_shell;
    CPakApp m_app{m_prompt, m_shell};
    QStringList m_tools;
};

TEST_F(Startup, FirstStartAsksForOptionsBeforeTheWindowWithCancelDisabled)
{
    m_prompt.AnswerDialog([this](QDialog& dialog) {
        EXPECT_STREQ(dialog.metaObject()->className(), "vantor::COptionsDlg");
        EXPECT_EQ(m_app.GetMainFrame(), nullptr);
        EXPECT_FALSE(dialog.findChild<QPushButton*>("buttonCancel")->isEnabled());
        EXPECT_FALSE(Stored("Options", "AssociatePak").isValid());
        QTest::mouseClick(dialog.findChild<QPushButton*>("buttonOk"), Qt::LeftButton);
    });
    ASSERT_TRUE(m_app.InitInstance(QString()));
    EXPECT_TRUE(m_prompt.AllAnswered());
    for (const char* key : {"AssociatePak", "NewPak", "RecoverOnExit", "ConfirmRecover", "ExtractWarning",
                            "UseExtractPath", "ExtractPath", "ConfirmUpdate"})
        EXPECT_TRUE(Stored("Options", key).isValid()) << key;
    ASSERT_NE(m_app.GetMainFrame(), nullptr);
    EXPECT_TRUE(m_app.GetMainFrame()->isVisible());
    EXPECT_TRUE(Registered());
    EXPECT_TRUE(m_tools.contains("update-mime-database"));
    m_app.GetMainFrame()->close();
}

TEST_F(Startup, LaterStartsGoStraightToTheWindow)
{
    WriteProfileInt("Options", "AssociatePak", 1);
    ASSERT_TRUE(m_app.InitInstance(QString()));
    EXPECT_TRUE(m_prompt.Questions().empty());
    EXPECT_TRUE(m_app.GetMainFrame()->isVisible());
    m_app.GetMainFrame()->close();
}

TEST_F(Startup, FirstRunDialogLeftWithoutOkWritesNothingAndComesBack)
{
    m_prompt.AnswerDialog([](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    ASSERT_TRUE(m_app.InitInstance(QString()));
    EXPECT_TRUE(QSettings("Tessamont", "Vantor").childKeys().isEmpty());
    EXPECT_FALSE(Stored("Options", "AssociatePak").isValid());
    m_app.GetMainFrame()->close();

    CScriptedPrompt secondPrompt;
    CPakApp second(secondPrompt, m_shell);
    second.SetToolRunner([](const QString&, const QStringList&) {});
    ASSERT_TRUE(second.InitInstance(QString()));
    ASSERT_EQ(secondPrompt.Questions().size(), 1u);
    EXPECT_EQ(secondPrompt.Questions()[0].text, "Options");
    second.GetMainFrame()->close();
}

TEST_F(Startup, AssociationTurnedOffOnFirstRunRegistersNothing)
{
    m_prompt.AnswerDialog([](QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QCheckBox*>("checkAssociate"), Qt::LeftButton);
        QTest::mouseClick(dialog.findChild<QPushButton*>("buttonOk"), Qt::LeftButton);
    });
    ASSERT_TRUE(m_app.InitInstance(QString()));
    EXPECT_EQ(Stored("Options", "AssociatePak").toInt(), 0);
    EXPECT_EQ(Stored("Options", "NewPak").toInt(), 0);
    EXPECT_FALSE(QDir(DataHome()).exists());
    EXPECT_TRUE(m_tools.isEmpty());
    m_app.GetMainFrame()->close();
}

TEST_F(Startup, KeepsTheCommandLinePakForTheTree)
{
    WriteProfileInt("Options", "AssociatePak", 0);
    ASSERT_TRUE(m_app.InitInstance("/data/id1/pak0.pak"));
    EXPECT_EQ(m_app.m_strCmdLinePak, "/data/id1/pak0.pak");
    m_app.GetMainFrame()->close();
}

TEST(TempFolder, MissingFolderIsCreatedWhenItsParentExists)
{
    QTemporaryDir root;
    {
        const ScopedEnv tmpdir("TMPDIR", QFile::encodeName(root.filePath("new")));
        EnsureTempFolder();
    }
    EXPECT_TRUE(QFileInfo(root.filePath("new")).isDir());
    {
        const ScopedEnv tmpdir("TMPDIR", QFile::encodeName(root.filePath("no/parent")));
        EnsureTempFolder();
    }
    EXPECT_FALSE(QFileInfo::exists(root.filePath("no")));
}

}  // namespace
