// The commands on folders and items from both panes: enabling, extracting,
// deleting, renaming, new folders, and names that differ only in case.
#include "views_fixture.h"

#include "pak_reader.h"
#include "profile.h"
#include "resource.h"
#include "wait_for.h"

#include <QLineEdit>
#include <QTest>

#include <filesystem>

using namespace vantor;
using namespace vantor::test;

namespace {

class ItemCommands : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        // Nothing is asked on closing.
        WriteProfileInt("Options", "RecoverOnExit", 0);
    }
    std::string OpenMapsPak()
    {
        const std::string path = WritePak(PakBuilder()
                                              .File("maps/e1m1.bsp", "e1m1")
                                              .File("maps/dm/dm1.bsp", "dm1")
                                              .File("readme.txt", "read me")
                                              .File("progs/a.mdl", "aa"));
        OpenFrame(path);
        return path;
    }
    // The live names on disk, read by the tests' own reader.
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        const std::optional<ParsedPak> pak = ParsePakFile(Tree().GetPakPath().toStdString());
        EXPECT_TRUE(pak.has_value());
        if (pak) {
            for (const ParsedEntry& entry : pak->entries)
                names.push_back(entry.name);
        }
        return names;
    }
    // Types text into the open name editor of a pane and presses Return;
    // the edit ends once the editor has gone.
    static void TypeName(QWidget& pane, const QString& text)
    {
        auto* pEditor = pane.findChild<QLineEdit*>();
        ASSERT_NE(pEditor, nullptr);
        pEditor->selectAll();
        QTest::keyClicks(pEditor, text);
        QTest::keyClick(pEditor, Qt::Key_Return);
        ASSERT_SOON(!pane.findChild<QLineEdit*>());
    }
};

TEST_F(ItemCommands, EveryCommandIsEnabledByItsRuleInBothPanes)
{
    OpenMapsPak();
    const int commands[] = {ID_FILE_EXTRACTALL, ID_FILE_EXTRACT, ID_FILE_EXTRACTTO, ID_FILE_DELETE,
                            ID_FILE_RENAME,     ID_FILE_NEWFOLDER, ID_EDIT_COPY,    ID_EDIT_CUT};
    struct Case {
        const char* pszState;
        std::vector<bool> enabled;  // in the order of commands
    };
    const auto stateIs = [&](const std::string& state) {
        if (state == "tree at the root") {
            Frame().SetActivePane(&Tree());
            Tree().SelectFolder(Tree().GetRootItem());
        } else if (state == "tree in maps") {
            Enter("maps");
            Frame().SetActivePane(&Tree());
        } else {
            Tree().SelectFolder(Tree().GetRootItem());
            Frame().SetActivePane(&List());
            if (state == "list, nothing selected")
                SelectRows({});
            else if (state == "list, one row")
                SelectRows({0});
            else
                SelectRows({0, 2});
        }
    };
    for (const Case& test : {Case{"tree at the root", {1, 0, 0, 0, 0, 1, 0, 0}},
                             Case{"tree in maps", {1, 1, 1, 1, 1, 1, 1, 1}},
                             Case{"list, nothing selected", {1, 0, 0, 0, 0, 1, 0, 0}},
                             Case{"list, one row", {1, 1, 1, 1, 1, 1, 1, 1}},
                             Case{"list, two rows", {1, 1, 1, 1, 0, 1, 1, 1}}}) {
        SCOPED_TRACE(test.pszState);
        stateIs(test.pszState);
        for (std::size_t i = 0; i < std::size(commands); ++i)
            EXPECT_EQ(Enabled(commands[i]), test.enabled[i]) << "command " << commands[i];
    }
}

TEST_F(ItemCommands, ExtractingAsksWhenToldAndChecksTheTargetFolder)
{
    const std::string pak = OpenMapsPak();
    const std::string beside = std::filesystem::path(pak).parent_path();
    WriteProfileInt("Options", "ExtractWarning", 1);
    m_prompt.AnswerYesNo(false);
    Frame().RouteCommand(ID_FILE_EXTRACTALL);
    EXPECT_FALSE(std::filesystem::exists(beside + "/readme.txt"));
    EXPECT_EQ(m_prompt.Texts().constLast(),
              "This operation will overwrite any existing files with the same name(s).  Continue?");
    m_prompt.AnswerYesNo(true);
    Frame().RouteCommand(ID_FILE_EXTRACTALL);
    EXPECT_EQ(ReadFileBytes(beside + "/maps/dm/dm1.bsp"), "dm1");
    WriteProfileInt("Options", "ExtractWarning", 0);

    // Extract To: the fixed folder of the options, else the one chosen.
    Enter("maps");
    Frame().SetActivePane(&Tree());
    WriteProfileInt("Options", "UseExtractPath", 1);
    WriteProfileString("Options", "ExtractPath", QString::fromStdString(m_dir / "missing"));
    Frame().RouteCommand(ID_FILE_EXTRACTTO);
    EXPECT_EQ(m_prompt.Texts().constLast(), "The 'Extract To' directory specified in the options dialog is invalid.");
    WriteProfileInt("Options", "UseExtractPath", 0);
    m_prompt.AnswerFolder(QString::fromStdString(m_dir / "missing"));
    Frame().RouteCommand(ID_FILE_EXTRACTTO);
    EXPECT_EQ(m_prompt.Texts().constLast(), "Invalid directory.");
    const std::string target = m_dir / "out";
    std::filesystem::create_directory(target);
    m_prompt.AnswerFolder(QString::fromStdString(target));
    Frame().RouteCommand(ID_FILE_EXTRACTTO);
    EXPECT_EQ(ReadFileBytes(target + "/maps/e1m1.bsp"), "e1m1");
    EXPECT_EQ(ReadFileBytes(target + "/maps/dm/dm1.bsp"), "dm1");

    // From the list: the selected rows, a folder with what is in it.
    Tree().SelectFolder(Tree().GetRootItem());
    Frame().SetActivePane(&List());
    SelectRows({1, 2});  // progs, readme.txt
    const std::string list = m_dir / "list";
    std::filesystem::create_directory(list);
    m_prompt.AnswerFolder(QString::fromStdString(list));
    Frame().RouteCommand(ID_FILE_EXTRACTTO);
    EXPECT_EQ(ReadFileBytes(list + "/progs/a.mdl"), "aa");
    EXPECT_EQ(ReadFileBytes(list + "/readme.txt"), "read me");
    EXPECT_TRUE(m_prompt.AllAnswered());
}

TEST_F(ItemCommands, DeletingKeepsTreeAndListInStepWithThePak)
{
    OpenMapsPak();
    // A folder from the tree: its node goes and its parent is current.
    Enter("maps/dm");
    Frame().SetActivePane(&Tree());
    Frame().RouteCommand(ID_FILE_DELETE);
    EXPECT_EQ(Tree().GetCurrentFolder(), Folder("maps"));
    EXPECT_EQ(Children(Folder("maps")), QStringList());
    EXPECT_EQ(Column(), QStringList({"e1m1.bsp"}));

    // The last row of a sub-folder: the folder leaves the tree.
    Frame().SetActivePane(&List());
    SelectRows({0});
    Frame().RouteCommand(ID_FILE_DELETE);
    EXPECT_EQ(Folder("maps"), nullptr);
    EXPECT_EQ(Tree().GetCurrentFolder(), Tree().GetRootItem());

    // A file row and a folder row of the root.
    EXPECT_EQ(Column(), QStringList({"progs", "readme.txt"}));
    SelectRows({0, 1});
    Frame().RouteCommand(ID_FILE_DELETE);
    EXPECT_EQ(Column(), QStringList());
    EXPECT_EQ(Tree().GetRootItem()->childCount(), 0);
    EXPECT_EQ(Names(), std::vector<std::string>());
    EXPECT_TRUE(m_prompt.Texts().isEmpty());
}

TEST_F(ItemCommands, AFatalFailureIsSaidOnceForTheWholeSelection)
{
    const std::string pak = OpenMapsPak();
    Frame().SetActivePane(&List());
    SelectRows({0, 1, 2});
    std::filesystem::remove(pak);
    m_prompt.AnswerYesNo(false);  // not loaded again
    Frame().RouteCommand(ID_FILE_DELETE);
    EXPECT_EQ(m_prompt.Questions().size(), 1u);
    EXPECT_EQ(List().GetItemCount(), 3);
    Frame().RouteCommand(ID_FILE_EXTRACT);
    EXPECT_EQ(m_prompt.Questions().size(), 2u);
}

TEST_F(ItemCommands, RenamingFollowsTheArchiveInTreeAndList)
{
    OpenMapsPak();
    Enter("maps/dm");
    Frame().SetActivePane(&Tree());
    // Keys belong to the open editor: Del deletes a character, not the folder.
    Frame().RouteCommand(ID_FILE_RENAME);
    auto* pEditor = Tree().findChild<QLineEdit*>();
    ASSERT_NE(pEditor, nullptr);
    QTest::keyClick(pEditor, Qt::Key_Home);
    QTest::keyClick(pEditor, Qt::Key_Delete);
    EXPECT_EQ(pEditor->text(), "m");
    EXPECT_NE(Folder("maps/dm"), nullptr);
    TypeName(Tree(), "deathmatch");  // longer than eight letters: refused
    EXPECT_EQ(m_prompt.Texts().size(), 1);
    EXPECT_EQ(Children(Folder("maps")), QStringList({"dm"}));
    Frame().RouteCommand(ID_FILE_RENAME);
    TypeName(Tree(), "arena");
    EXPECT_EQ(Children(Folder("maps")), QStringList({"arena"}));
    EXPECT_EQ(Column(), QStringList({"dm1.bsp"}));

    // A file row takes its new name and type only once the pak has.
    Enter("");
    Frame().SetActivePane(&List());
    SelectRows({2});  // readme.txt
    Frame().RouteCommand(ID_FILE_RENAME);
    TypeName(List(), "readme.bsp");
    EXPECT_EQ(List().Model().Row(2).strName, "readme.bsp");
    EXPECT_EQ(Column(2).at(2), "Binary Space Partition");
    SelectRows({1});  // progs
    Frame().RouteCommand(ID_FILE_RENAME);
    TypeName(List(), "models");
    EXPECT_EQ(Children(Tree().GetRootItem()), QStringList({"maps", "models"}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"maps/e1m1.bsp", "maps/arena/dm1.bsp", "readme.bsp", "models/a.mdl"}));
}

TEST_F(ItemCommands, NewFolderTakesTheFirstFreeNameUpToItsLimit)
{
    PakBuilder pak;
    pak.File("a/folder/x", "x").File("a/FOLDER1/x", "x").File("a/folder2", "a file of that name");
    for (int n = 1; n <= 98; ++n)
        pak.File("b/folder" + (n == 1 ? std::string() : std::to_string(n - 1)) + "/x", "x");
    pak.File("b/folder98/x", "x");
    OpenFrame(WritePak(pak));
    Enter("a");
    Frame().RouteCommand(ID_FILE_NEWFOLDER);
    EXPECT_EQ(Children(Folder("a")), QStringList({"folder", "FOLDER1", "folder3"}));
    EXPECT_TRUE(List().Model().FindRow("folder3") >= 0);
    Enter("b");
    const int nBefore = Folder("b")->childCount();
    Frame().RouteCommand(ID_FILE_NEWFOLDER);
    EXPECT_EQ(m_prompt.Texts(), QStringList({"Too many new folders."}));
    EXPECT_EQ(Folder("b")->childCount(), nBefore);
}

TEST_F(ItemCommands, NamesThatDifferOnlyInCaseAreToldApart)
{
    OpenFrame(WritePak(PakBuilder().File("maps/a.bsp", "a").File("Maps/b.bsp", "b").File("Maps/c.bsp", "c")));
    Frame().SetActivePane(&List());
    ASSERT_EQ(Column(), QStringList({"Maps", "maps"}));
    SelectRows({1});  // maps
    Frame().RouteCommand(ID_FILE_DELETE);
    EXPECT_EQ(Children(Tree().GetRootItem()), QStringList({"Maps"}));
    SelectRows({0});
    Frame().RouteCommand(ID_FILE_RENAME);
    TypeName(List(), "levels");
    EXPECT_EQ(Children(Tree().GetRootItem()), QStringList({"levels"}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"levels/b.bsp", "levels/c.bsp"}));
}

}  // namespace
