// Opening file rows in their programs and writing the saves back: the
// launch folders, what the editor leaves beside the file, a save made after
// the program ended, the pak a save belongs to, closing with items open, a
// failed write-back and hostile names; with a stand-in process, or the
// stand-in editor started through GIO.
#include "views_fixture.h"

#include "pak_archive.h"
#include "pak_reader.h"
#include "private_desktop.h"
#include "profile.h"
#include "resource.h"
#include "scoped_env.h"
#include "wait_for.h"

#include <QFile>
#include <QTest>

#include <filesystem>
#include <fstream>

using namespace vantor;
using namespace vantor::test;

namespace {

class LaunchCommands : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        WriteProfileInt("Options", "RecoverOnExit", 0);
        m_shell.m_typeNames["map"] = "Map source";
        m_shell.m_defaultApplications = {{"application/x-test-txt", "editor.desktop"},
                                         {"application/x-test-map", "editor.desktop"}};
    }

    // Opens the row of this name in the current folder, as a double-click does.
    void Open(const QString& name)
    {
        const int nRow = static_cast<int>(Column().indexOf(name));
        ASSERT_GE(nRow, 0) << name.toStdString();
        EXPECT_TRUE(List().OpenRow(nRow));
    }
    std::string Private(const std::string& relative) const { return m_dir / ("private/" + relative); }
    static void Save(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    // The entry's bytes as the independent reader finds them in the pak.
    static std::string InPak(const std::string& pakPath, const std::string& name)
    {
        const std::optional<ParsedPak> pak = ParsePakFile(pakPath);
        for (const auto& [entry, bytes] : pak ? pak->Contents() : decltype(pak->Contents()){}) {
            if (entry == name)
                return bytes;
        }
        return "(absent)";
    }
    bool Exists(const std::string& path) const { return std::filesystem::exists(path); }
};

TEST_F(LaunchCommands, SavesComeBackWhenTheProgramEndsAndNothingElseChanges)
{
    const std::string pak = WritePak(PakBuilder().File("readme.txt", "read me").File("maps/e1m1.map", "{ }"));
    const std::string original = ReadFileBytes(pak);
    OpenFrame(pak);
    Open("readme.txt");
    Enter("maps");
    Open("e1m1.map");
    ASSERT_EQ(m_shell.m_launches.size(), 2u);
    const auto& readme = m_shell.m_launches[0];
    const auto& map = m_shell.m_launches[1];
    EXPECT_EQ(readme.filePath, Private("shellexec0/readme.txt"));
    EXPECT_EQ(readme.workFolder, Private("shellexec0"));
    EXPECT_EQ(map.filePath, Private("shellexec1/maps/e1m1.map"));
    EXPECT_EQ(map.workFolder, Private("shellexec1/maps"));
    EXPECT_EQ(map.mimeType, "application/x-test-map");
    EXPECT_EQ(ReadFileBytes(map.filePath), "{ }");
    EXPECT_TRUE(Tree().IsLaunchPollRunning());

    readme.process->bEnded = true;
    QTest::qWait(200);
    EXPECT_EQ(ReadFileBytes(pak), original);

    // What the editor leaves beside the file stays out of the pak.
    Save(map.filePath + "~", "{ }");
    Save(Private("shellexec1/maps/.e1m1.map.swp"), "swap");
    Save(map.filePath, "{ \"classname\" \"worldspawn\" }");
    map.process->bEnded = true;
    EXPECT_SOON(InPak(pak, "maps/e1m1.map") == "{ \"classname\" \"worldspawn\" }");
    EXPECT_EQ(ParsePakFile(pak)->Contents().size(), 2u);
    EXPECT_EQ(Column(1).value(0), "1KB");
    EXPECT_SOON(!Tree().IsLaunchPollRunning());
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('\n').toStdString();

    // Both programs ended and everything is in the pak: the folders go
    // with the window.
    CloseFrame();
    EXPECT_FALSE(Exists(Private("shellexec0")));
    EXPECT_FALSE(Exists(Private("shellexec1")));
}

TEST_F(LaunchCommands, EverySaveIsAskedAboutWhenConfirmUpdateIsOn)
{
    WriteProfileInt("Options", "ConfirmUpdate", 1);
    const std::string pak = WritePak(PakBuilder().File("autoexec.cfg", "bind").File("notes.txt", "v1"));
    OpenFrame(pak);
    Open("notes.txt");
    const auto& launch = m_shell.m_launches.at(0);
    m_prompt.AnswerYesNo(false);
    Save(launch.filePath, "v2");
    launch.process->bEnded = true;
    ASSERT_SOON(m_prompt.AllAnswered());
    EXPECT_EQ(m_prompt.Questions().back().text,
              "The file notes.txt has been modified.  Save changes to the pak file?");
    EXPECT_EQ(InPak(pak, "notes.txt"), "v1");

    // The program ended long ago; the user saves again.
    m_prompt.AnswerYesNo(true);
    Save(launch.filePath, "v3");
    EXPECT_SOON(InPak(pak, "notes.txt") == "v3");
    EXPECT_TRUE(m_prompt.AllAnswered());
}

TEST_F(LaunchCommands, TakenFolderNumbersAreSkippedAndAFinishedLaunchGivesItsUp)
{
    std::filesystem::create_directory(Private("shellexec0"));
    for (int n = 2; n < 100; ++n)
        std::filesystem::create_directory(Private("shellexec" + std::to_string(n)));
    OpenFrame(WritePak(PakBuilder().File("a.txt", "a").File("b.txt", "b").File("c.txt", "c")));
    Open("a.txt");
    ASSERT_EQ(m_shell.m_launches.size(), 1u);
    EXPECT_EQ(m_shell.m_launches[0].filePath, Private("shellexec1/a.txt"));
    EXPECT_EQ(std::filesystem::status(Private("shellexec1")).permissions(), std::filesystem::perms::owner_all);
    m_shell.m_launches[0].process->bEnded = true;
    EXPECT_SOON(!Tree().IsLaunchPollRunning());

    // All hundred taken: the ended, unchanged launch makes room.
    Open("b.txt");
    ASSERT_EQ(m_shell.m_launches.size(), 2u);
    EXPECT_EQ(m_shell.m_launches[1].filePath, Private("shellexec1/b.txt"));
    Open("c.txt");
    EXPECT_EQ(m_shell.m_launches.size(), 2u);
    EXPECT_EQ(Messages(), QStringList{"Couldn't create a directory to execute the file from.  "
                                      "You have too many files inside the pak open."});
    m_prompt.AnswerYesNo(true);  // b is still open at the end
}

// A program that hands the file on and ends at once (here: its child saves
// two seconds later), started through the desktop on a hostile name.
TEST_F(LaunchCommands, ASaveAfterTheProgramEndedStillReachesThePak)
{
    PrivateDesktop();
    const std::string log = m_dir / "editor.log";
    const ScopedEnv logVariable(kEditorLogVariable, QByteArray::fromStdString(log));
    const ScopedEnv action(kEditorActionVariable, "(sleep 2; printf late > \"$1\") &");
    m_shell.m_bRealLaunch = true;
    const std::string name = "-rf;$(touch pwned).txt";
    const std::string pak = WritePak(PakBuilder().File(name, "early"));
    OpenFrame(pak);
    Open(QString::fromStdString(name));
    ASSERT_EQ(m_shell.m_launches.size(), 1u);
    const auto& launch = m_shell.m_launches[0];
    ASSERT_TRUE(launch.process);
    ASSERT_SOON(launch.process->bEnded);
    EXPECT_EQ(InPak(pak, name), "early");
    EXPECT_TRUE(QTest::qWaitFor([&] { return InPak(pak, name) == "late"; }, 8000)) << Messages().join('\n').toStdString();
    EXPECT_EQ(ReadFileBytes(log), "argc=1\ncwd=" + Private("shellexec0") + "\narg=" + launch.filePath + "\n");
    EXPECT_FALSE(Exists(Private("shellexec0/pwned")));
}

TEST_F(LaunchCommands, OpeningAnotherPakFirstWritesIntoThePakTheItemCameFrom)
{
    const std::string first = WritePak(PakBuilder().File("a.txt", "first"), "first.pak");
    const std::string second = WritePak(PakBuilder().File("a.txt", "second"), "second.pak");
    OpenFrame(first);
    Open("a.txt");
    const auto& launch = m_shell.m_launches.at(0);
    Save(launch.filePath, "edited");

    // Going back keeps everything as it was.
    m_prompt.AnswerOpenFile(QString::fromStdString(second));
    m_prompt.AnswerYesNo(false);
    Frame().RouteCommand(ID_FILE_OPENPAK);
    EXPECT_EQ(Tree().GetPakPath().toStdString(), first);
    EXPECT_EQ(m_prompt.Questions().back().text,
              "These items are still open in other programs:\n\na.txt\n\n"
              "Changes saved in them from now on will not reach the pak.  Close the pak anyway?");

    m_prompt.AnswerOpenFile(QString::fromStdString(second));
    m_prompt.AnswerYesNo(true);
    Frame().RouteCommand(ID_FILE_OPENPAK);
    EXPECT_EQ(Tree().GetPakPath().toStdString(), second);
    EXPECT_EQ(InPak(first, "a.txt"), "edited");
    EXPECT_EQ(InPak(second, "a.txt"), "second");
    // The program still runs there: its folder stays, and later saves go
    // nowhere.
    EXPECT_TRUE(Exists(launch.filePath));
    Save(launch.filePath, "later");
    QTest::qWait(700);
    EXPECT_EQ(InPak(second, "a.txt"), "second");
}

TEST_F(LaunchCommands, ClosingWithAnItemOpenAsksAndKeepsOnlyTheRunningProgramsFolder)
{
    const std::string pak = WritePak(PakBuilder().File("open.txt", "o").File("done.txt", "d"));
    OpenFrame(pak);
    Open("open.txt");
    Open("done.txt");
    const auto& open = m_shell.m_launches.at(0);
    const auto& done = m_shell.m_launches.at(1);
    done.process->bEnded = true;
    Save(open.filePath, "open, edited");

    m_prompt.AnswerYesNo(false);
    Frame().close();
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_TRUE(m_prompt.Questions().back().text.contains("\n\nopen.txt\n\n"));  // the running one alone

    m_prompt.AnswerYesNo(true);
    CloseFrame();
    EXPECT_FALSE(Frame().isVisible());
    EXPECT_EQ(InPak(pak, "open.txt"), "open, edited");
    EXPECT_TRUE(Exists(open.filePath));
    EXPECT_FALSE(Exists(Private("shellexec1")));
}

TEST_F(LaunchCommands, AFailedWriteBackKeepsTheEditsAndSaysWhereTheyAre)
{
    const std::string pak = WritePak(PakBuilder().File("a.txt", "a"));
    CPakArchive reader;  // another program reading it keeps it read-only here
    ASSERT_TRUE(reader.OpenPakReadOnly(pak));
    OpenFrame(pak);
    Open("a.txt");
    const auto& launch = m_shell.m_launches.at(0);
    Save(launch.filePath, "edited");
    launch.process->bEnded = true;
    ASSERT_SOON(!Messages().isEmpty());
    EXPECT_TRUE(Messages().front().startsWith("Error updating a.txt:  ")) << Messages().front().toStdString();
    EXPECT_TRUE(Messages().front().endsWith("The edited file is kept at " + QString::fromStdString(launch.filePath) + "."));
    CloseFrame();
    EXPECT_EQ(ReadFileBytes(launch.filePath), "edited");
    EXPECT_EQ(InPak(pak, "a.txt"), "a");
}

TEST_F(LaunchCommands, RowsWithoutAProgramAreSaidAndNothingStarts)
{
    m_shell.m_typeNames["zip"] = "";  // the desktop gives no type name at all
    const std::string pak = WritePak(PakBuilder().File("a.dat", "").File("b.zzqx", "").File("c.zip", "").File("d.txt", ""));
    OpenFrame(pak);
    const QString noProgram = "This file does not have a program associated with it.  You must create an "
                              "association before you can open the file.";
    const struct {
        const char* name;
        QString message;
    } cases[] = {
        {"a.dat", noProgram},  // a type, but no default program
        {"b.zzqx", noProgram},  // a type the desktop does not know
        {"c.zip", "Unable to obtain file association for this file."},
    };
    for (const auto& c : cases) {
        const qsizetype nBefore = Messages().size();
        Open(c.name);
        EXPECT_EQ(Messages().size(), nBefore + 1) << c.name;
        EXPECT_EQ(Messages().value(nBefore), c.message) << c.name;
    }
    EXPECT_TRUE(m_shell.m_launches.empty());

    // A program that cannot be started: said, and its folder goes.
    m_shell.m_launchError = "Failed to execute child process";
    SelectRows({3});
    List().setFocus();
    QTest::keyClick(&List(), Qt::Key_Return);
    EXPECT_EQ(Messages().last(), "Unable to open d.txt:  Failed to execute child process");
    EXPECT_FALSE(Exists(Private("shellexec0")));
}

}  // namespace
