// The settings removal program: what each answer leaves behind, the boxes
// the user sees, and settings that will not go.
#include "qt_uninstall_prompt.h"
#include "settings.h"
#include "uninstaller.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

using namespace vantor;

namespace {

const QString kQuestion = "This will remove all Vantor settings from the registry.  Continue?";
const QString kRemoved = "Vantor's settings have been removed from the registry.";
const QString kNotRemoved = "Vantor's settings could not be removed.\n";

std::string Lines(const QStringList& lines)
{
    return lines.join('\n').toStdString();
}

// Says Yes to the question and notes every box: "?", "i" or "!" for
// question, information and error, then the text.
class CScriptedUninstallPrompt : public IUninstallPrompt {
public:
    QStringList m_asked;

    bool AskYesNo(const QString& text) override
    {
        m_asked.append("? " + text);
        return true;
    }
    void Inform(const QString& text) override { m_asked.append("i " + text); }
    void ShowError(const QString& text) override { m_asked.append("! " + text); }
};

class Uninstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(ConfigHome()));
        // QSettings reads XDG_CONFIG_HOME only once per process.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ConfigHome());
    }
    void TearDown() override
    {
        QFile::setPermissions(ConfigHome() + "/Tessamont", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString ConfigHome() const { return m_home.filePath(".config"); }

    // One value in each section, written the way Vantor writes them.
    static void WriteVantorSettings()
    {
        WriteSetting(setting::kAssociatePak, 1);
        WriteProfileInt("Window size", "TreeWidth", 120);
        WriteProfileString("Mru", "0", "/data/id1/pak0.pak");
    }
    // What Vantor's start-up checks before it shows the first-run Options.
    static bool NextStartIsFirst() { return ReadSetting(setting::kAssociatePak, -1) == -1; }

    QTemporaryDir m_home;
};

struct CBoxAnswer {
    const char* pszName;
    std::vector<QMessageBox::StandardButton> presses;  // NoButton: Escape
    bool bRemoves;
};

void PrintTo(const CBoxAnswer& answer, std::ostream* pOut)
{
    *pOut << answer.pszName;
}

// A box as the user meets it.
QString Box(const QString& title, QMessageBox::Icon icon, QMessageBox::StandardButtons buttons, const QString& text)
{
    return QString("%1|icon %2|buttons %3|%4").arg(title).arg(icon).arg(buttons.toInt()).arg(text);
}

class UninstallOnScreen : public Uninstall, public ::testing::WithParamInterface<CBoxAnswer> {};

TEST_P(UninstallOnScreen, AnswerDecidesAndBoxesLookRight)
{
    WriteVantorSettings();
    QFile other(ConfigHome() + "/Tessamont/Other.conf");
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();

    // The real boxes, answered as they come up. One the script did not
    // expect is escaped, so that it fails the test rather than hanging it.
    QStringList seen;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!pBox)
            return;
        seen.append(Box(pBox->windowTitle(), pBox->icon(), pBox->standardButtons(), pBox->text()));
        const auto& presses = GetParam().presses;
        const auto press = seen.size() <= qsizetype(presses.size()) ? presses[seen.size() - 1] : QMessageBox::NoButton;
        if (press == QMessageBox::NoButton)
            QTest::keyClick(pBox, Qt::Key_Escape);
        else
            pBox->button(press)->click();
    });
    answerer.start(10);
    CQtUninstallPrompt prompt;
    EXPECT_EQ(RunUninstall(prompt), 0);

    QStringList expected{Box("Uninstall Vantor", QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, kQuestion)};
    if (GetParam().bRemoves)
        expected.append(Box("Uninstall Vantor", QMessageBox::NoIcon, QMessageBox::Ok, kRemoved));
    EXPECT_EQ(Lines(seen), Lines(expected));
    EXPECT_EQ(NextStartIsFirst(), GetParam().bRemoves);
    EXPECT_EQ(GetProfileString("Mru", "0").isEmpty(), GetParam().bRemoves);
    EXPECT_EQ(QFileInfo::exists(SettingsLocation()), !GetParam().bRemoves);
    EXPECT_TRUE(other.exists()) << "another program's settings beside Vantor's";
}

INSTANTIATE_TEST_SUITE_P(Answers, UninstallOnScreen,
                         ::testing::Values(CBoxAnswer{"Yes", {QMessageBox::Yes, QMessageBox::Ok}, true},
                                           CBoxAnswer{"No", {QMessageBox::No}, false},
                                           CBoxAnswer{"Escape", {QMessageBox::NoButton}, false}),
                         [](const auto& info) { return std::string(info.param.pszName); });

TEST_F(Uninstall, NoSettingsAtAllStillConfirmsAndCreatesNothing)
{
    CScriptedUninstallPrompt prompt;
    EXPECT_EQ(RunUninstall(prompt), 0);
    EXPECT_EQ(Lines(prompt.m_asked), Lines({"? " + kQuestion, "i " + kRemoved}));
    EXPECT_FALSE(QFileInfo::exists(ConfigHome() + "/Tessamont"));
}

struct CStubbornSettings {
    const char* pszName;
    // Puts something at the settings' place that removing cannot take
    // away; false when that is impossible for this user.
    std::function<bool(const QString& location)> make;
};

void PrintTo(const CStubbornSettings& cause, std::ostream* pOut)
{
    *pOut << cause.pszName;
}

class UninstallFailure : public Uninstall, public ::testing::WithParamInterface<CStubbornSettings> {};

TEST_P(UninstallFailure, SaysWhyAndExitsWithOne)
{
    WriteVantorSettings();
    if (!GetParam().make(SettingsLocation()))
        GTEST_SKIP() << "permissions do not stop this user";

    CScriptedUninstallPrompt prompt;
    EXPECT_EQ(RunUninstall(prompt), 1);
    ASSERT_EQ(prompt.m_asked.size(), 2) << Lines(prompt.m_asked);
    const QString error = prompt.m_asked[1];
    EXPECT_TRUE(error.startsWith("! " + kNotRemoved + SettingsLocation() + ": ")) << error.toStdString();
    EXPECT_GT(error.size(), 2 + kNotRemoved.size() + SettingsLocation().size() + 2) << "no reason given";
}

INSTANTIATE_TEST_SUITE_P(
    Causes, UninstallFailure,
    ::testing::Values(
        // Fails for root too: removing a file cannot take a folder.
        CStubbornSettings{"SettingsPathIsAFolderWithFiles",
                          [](const QString& location) {
                              QFile::remove(location);
                              return QDir().mkpath(location + "/inside");
                          }},
        CStubbornSettings{"SettingsFolderIsReadOnly",
                          [](const QString& location) {
                              const QString folder = QFileInfo(location).absolutePath();
                              QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
                              return !QFileInfo(folder).isWritable();
                          }}),
    [](const auto& info) { return std::string(info.param.pszName); });

}  // namespace
