// The folder tree: loading a pak into both panes, the folders at every depth,
// folder paths, names as users read them, the status bar, and what happens
// when a pak cannot be opened.
#include "views_fixture.h"

#include "frame_layout.h"
#include "resource.h"
#include "view_text.h"

#include <QDir>
#include <QTest>

#include <functional>

using namespace vantor;
using namespace vantor::test;

namespace {

constexpr std::size_t kKB = 1024;

class TreeView : public ViewsTest {};

TEST_F(TreeView, ShowsEveryFolderAtEveryDepthUnderThePaksFullPath)
{
    PakBuilder pak;
    pak.File("readme.txt", "r")
        .File("maps/e1m1.bsp", "m")
        .File("maps/dm/dm1.bsp", "d")
        .File("progs/monsters/ogre/ogre.mdl", "o")
        .File("Zeta/x.dat", "z")
        .File("alpha/y.dat", "a")
        .File("sound/items/a.wav", "s");
    const std::string path = WritePak(pak);
    OpenPanes(path);

    ASSERT_EQ(Tree().topLevelItemCount(), 1);
    QTreeWidgetItem* pRoot = Tree().GetRootItem();
    EXPECT_EQ(pRoot->text(0), QString::fromStdString(path));
    EXPECT_TRUE(pRoot->isExpanded());
    EXPECT_EQ(Tree().currentItem(), pRoot);
    // Letter case does not decide the order.
    EXPECT_EQ(Children(pRoot), QStringList({"alpha", "maps", "progs", "sound", "Zeta"}));
    EXPECT_EQ(Children(Folder("maps")), QStringList({"dm"}));
    EXPECT_EQ(Children(Folder("progs/monsters")), QStringList({"ogre"}));
    EXPECT_EQ(Children(Folder("progs/monsters/ogre")), QStringList());
    EXPECT_EQ(Children(Folder("sound")), QStringList({"items"}));
    EXPECT_EQ(Column(), QStringList({"alpha", "maps", "progs", "sound", "Zeta", "readme.txt"}));
    EXPECT_TRUE(m_prompt.Questions().empty());
}

TEST_F(TreeView, APakNamedRelativelyShowsItsFullPath)
{
    const std::string path = WritePak(PakBuilder().File("a.txt", "a"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(m_dir.Path())));
    OpenPanes("test.pak");
    QDir::setCurrent(previous);
    EXPECT_EQ(Tree().GetRootItem()->text(0), QString::fromStdString(path));
    EXPECT_EQ(Tree().GetPakPath(), QString::fromStdString(path));
}

// The tree is built in one pass over the names; it must find exactly the
// folders the archive lists level by level (asked as "/" + path, which keeps
// an empty or drive-like first name), odd names included ('\' separates
// levels as '/' does).
TEST_F(TreeView, HoldsTheFoldersTheArchiveListsEvenForOddNames)
{
    PakBuilder pak;
    pak.File("a//b.dat", "1")
        .File("/lead/x.dat", "2")
        .File("x\\y/z.dat", "3")
        .File("A/1.dat", "4")
        .File("a/2.dat", "5")
        .File("a/b/c/d/e.dat", "6")
        .File("trail/", "7")
        .File("a/b/f.dat", "8")
        .File("C:/d.dat", "9");
    OpenPanes(WritePak(pak));

    CPakArchive& archive = Tree().GetArchive();
    int nFolders = 0;
    std::function<void(const std::string&, const QTreeWidgetItem*)> compare = [&](const std::string& folder,
                                                                                 const QTreeWidgetItem* pItem) {
        StringArray subs;
        archive.ListSubfolders("/" + folder, subs);
        ASSERT_EQ(pItem->childCount(), static_cast<int>(subs.size())) << folder;
        for (const std::string& sub : subs) {
            const QTreeWidgetItem* pChild = nullptr;
            for (int i = 0; i < pItem->childCount(); ++i) {
                if (CPakTree::RawNameOf(pItem->child(i)) == sub)
                    pChild = pItem->child(i);
            }
            ASSERT_NE(pChild, nullptr) << folder << sub;
            EXPECT_EQ(Tree().FolderPathOfItem(pChild), folder + sub + "/");
            ++nFolders;
            compare(folder + sub + "/", pChild);
        }
    };
    compare("", Tree().GetRootItem());
    EXPECT_EQ(nFolders, 12);

    // The empty-named and the drive-like folder list their own items.
    QTreeWidgetItem* pRoot = Tree().GetRootItem();
    Tree().SelectFolder(Tree().FindChildFolder(pRoot, QString::fromUtf16(kNoNameText)));
    EXPECT_EQ(Column(), QStringList({"lead"}));
    Tree().SelectFolder(Tree().FindChildFolder(pRoot, "C:"));
    EXPECT_EQ(Column(), QStringList({"d.dat"}));
    EXPECT_EQ(Column(1), QStringList({"1KB"}));
}

TEST_F(TreeView, FolderPathsAreThePakFormPathsOfItems)
{
    OpenPanes(WritePak(PakBuilder().File("progs/monsters/ogre.mdl", "o")));
    QTreeWidgetItem* pMonsters = Folder("progs/monsters");
    ASSERT_NE(pMonsters, nullptr);
    EXPECT_EQ(Tree().FolderPathOfItem(pMonsters), "progs/monsters/");
    EXPECT_EQ(Tree().FolderPathOfItem(pMonsters, "ogre"), "progs/monsters/ogre/");
    EXPECT_EQ(Tree().FolderPathOfItem(Tree().GetRootItem()), "");
    EXPECT_EQ(Tree().FolderPathOfItem(Tree().GetRootItem(), "maps"), "maps/");
    EXPECT_EQ(Tree().CurrentFolderPath(), "");
    Enter("progs");
    EXPECT_EQ(Tree().CurrentFolderPath("x"), "progs/x/");
}

TEST_F(TreeView, NamesShowDecodedAndKeepTheirBytesForThePak)
{
    PakBuilder pak;
    pak.File("caf\xC3\xA9/a.txt", "1")      // UTF-8
        .File("na\xEFve/b\xE9.txt", "22");  // Latin-1: not valid UTF-8
    OpenPanes(WritePak(pak));
    EXPECT_EQ(Children(Tree().GetRootItem()), QStringList({QString::fromUtf8("café"), QString::fromUtf8("naïve")}));

    Enter(QString::fromUtf8("naïve"));
    EXPECT_EQ(Tree().CurrentFolderPath(), "na\xEFve/");
    EXPECT_EQ(Column(), QStringList({QString::fromUtf8("bé.txt")}));
    // The size comes from the entry found by its bytes.
    EXPECT_EQ(Column(1), QStringList({"1KB"}));
    EXPECT_EQ(List().Model().Row(0).strRawName, "b\xE9.txt");
}

TEST_F(TreeView, APakThatCannotBeOpenedShowsWhyAndLeavesBothPanesEmpty)
{
    const std::string path = m_dir / "bad.pak";
    WriteFileBytes(path, "this is not a pak file at all");
    std::string expected;
    {
        CPakArchive probe;
        ASSERT_FALSE(probe.OpenPak(path));
        expected = probe.GetErrorText();
    }
    OpenFrame(path);
    EXPECT_EQ(m_prompt.Texts(), QStringList({QString::fromStdString(expected)}));
    EXPECT_EQ(m_prompt.Questions().front().icon, PromptIcon::exclamation);
    EXPECT_EQ(Tree().topLevelItemCount(), 0);
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_TRUE(Tree().GetPakPath().isEmpty());
    EXPECT_FALSE(Enabled(ID_UP_ONE_LEVEL));
}

TEST_F(TreeView, AnEmptyPakShowsItsRootAndNoRows)
{
    OpenPanes(WritePak(PakBuilder()));
    EXPECT_EQ(Tree().topLevelItemCount(), 1);
    EXPECT_EQ(Tree().GetRootItem()->childCount(), 0);
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_EQ(Pane(0), "0 object(s)");
    EXPECT_EQ(Pane(1), "0KB     Unused Space:  0KB");
}

TEST_F(TreeView, StatusBarCountsTheFolderAndShowsUnusedSpaceAtTheRoot)
{
    PakBuilder pak;
    pak.File("a.dat", std::string(700 * kKB, 'a'))
        .File("b.dat", std::string(400 * kKB, 'b'))
        .Gap(5000)
        .File("e.txt", "")
        .File("sub/x.dat", std::string(1000 * kKB, 'x'))
        .File("sub/y.dat", std::string(500 * kKB, 'y'))
        .File("low/c.dat", std::string(999 * kKB, 'c'));
    OpenFrame(WritePak(pak));
    EXPECT_EQ(Pane(0), "5 object(s)");
    EXPECT_EQ(Pane(1), "1.1MB     Unused Space:  4KB");

    Enter("sub");
    EXPECT_EQ(Pane(0), "2 object(s)");
    EXPECT_EQ(Pane(1), "1.5MB");
    Enter("low");
    EXPECT_EQ(Pane(0), "1 object(s)");
    EXPECT_EQ(Pane(1), "999KB");
    Frame().RouteCommand(ID_UP_ONE_LEVEL);
    EXPECT_EQ(Tree().GetCurrentFolder(), Tree().GetRootItem());
    EXPECT_EQ(Pane(1), "1.1MB     Unused Space:  4KB");
}

TEST_F(TreeView, TotalsAddTheBytesNotTheRoundedRows)
{
    // Each row shows 1KB; the six of them hold 2 500 bytes, not 6KB.
    PakBuilder pak;
    for (int i = 0; i < 5; ++i) pak.File("few/f" + std::to_string(i) + ".dat", std::string(100, 'f'));
    pak.File("few/g.dat", std::string(2000, 'g'));
    OpenPanes(WritePak(pak));
    Enter("few");
    EXPECT_EQ(Pane(0), "6 object(s)");
    EXPECT_EQ(Pane(1), "2KB");
}

TEST_F(TreeView, FoldersAddedToThePakJoinTheTreeInOrder)
{
    OpenPanes(WritePak(PakBuilder().File("maps/dm/dm1.bsp", "d").File("maps/zz/z.bsp", "z")));
    CPakArchive& archive = Tree().GetArchive();
    ASSERT_TRUE(archive.CreateFolder("maps/new/deep/"));
    QTreeWidgetItem* pMaps = Folder("maps");
    Tree().EnsureTreeFolder("new", pMaps);
    EXPECT_EQ(Children(pMaps), QStringList({"dm", "new", "zz"}));
    EXPECT_EQ(Children(Folder("maps/new")), QStringList({"deep"}));
    // A folder that is there already, in any case, is not added twice.
    Tree().EnsureTreeFolder("DM", pMaps);
    EXPECT_EQ(Children(pMaps), QStringList({"dm", "new", "zz"}));
}

TEST_F(TreeView, RowsAddedForNewItemsGoAtTheEndOnce)
{
    OpenPanes(WritePak(PakBuilder().File("b.txt", "b").File("sub/a.txt", "a")));
    ASSERT_TRUE(Tree().GetArchive().CreateFolder("new/"));
    Tree().AddListItem("new", kindFolder);
    Tree().AddListItem("new", kindFolder);
    Tree().AddListItem("B.TXT", kindFile);  // a row of that name exists
    EXPECT_EQ(Column(), QStringList({"sub", "b.txt", "new"}));
    EXPECT_EQ(Column(2).last(), "Folder");

    Enter("sub");
    ASSERT_TRUE(Tree().GetArchive().CreateFolder("sub/more/"));
    Tree().AddListItem("temp.tmp", kindFile);
    EXPECT_EQ(Column(), QStringList({"a.txt", "temp.tmp"}));
    EXPECT_EQ(Column(1).last(), "0KB");
}

TEST_F(TreeView, RefreshShowsWhatThePakHoldsNow)
{
    OpenFrame(WritePak(PakBuilder().File("a.txt", "a")));
    ASSERT_TRUE(Tree().GetArchive().CreateFolder("later/"));
    EXPECT_EQ(Column(), QStringList({"a.txt"}));
    EXPECT_TRUE(Frame().RouteCommand(ID_VIEW_REFRESH));
    EXPECT_EQ(Column(), QStringList({"later", "a.txt"}));
    EXPECT_EQ(Pane(0), "2 object(s)");
}

TEST_F(TreeView, ContextMenusForTheRootAndForFolders)
{
    OpenFrame(WritePak(PakBuilder().File("maps/a.bsp", "a")));
    QTreeWidget& tree = Tree();
    const auto rightClick = [&](QTreeWidgetItem* pItem) {
        const QPoint at = pItem ? tree.visualItemRect(pItem).center() : QPoint(5, tree.viewport()->height() - 5);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree.viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree.viewport(), &event);
    };

    rightClick(Tree().GetRootItem());
    ASSERT_EQ(m_prompt.Questions().size(), 1u);
    using Item = CScriptedPrompt::MenuItem;
    // The pak has nothing to recover; Paste comes with its own command.
    EXPECT_EQ(m_prompt.Questions().back().menu,
              (std::vector<Item>{{ID_FILE_RECOVER, "Recover &Unused Space", false},
                                 {ID_FILE_EXTRACTALL, "Extract &All", true},
                                 {0, "", false},
                                 {ID_EDIT_PASTE, "&Paste", false}}));

    // A right click selects the folder it is on.
    rightClick(Folder("maps"));
    EXPECT_EQ(Tree().GetCurrentFolder(), Folder("maps"));
    ASSERT_EQ(m_prompt.Questions().size(), 2u);
    const auto& menu = m_prompt.Questions().back().menu;
    ASSERT_EQ(menu.size(), 9u);
    EXPECT_EQ(menu[0].text, "E&xtract");
    EXPECT_TRUE(menu[0].bEnabled);
    EXPECT_TRUE(menu[4].bEnabled);  // Rename
    EXPECT_EQ(menu[8].nID, ID_EDIT_PASTE);
    EXPECT_FALSE(menu[8].bEnabled);

    rightClick(nullptr);
    EXPECT_EQ(m_prompt.Questions().size(), 2u);
}

}  // namespace

TEST_F(TreeView, EveryRecordIsOneRowWithItsOwnSizeAndANameThatCannotMislead)
{
    PakBuilder pak;
    pak.File("dup.txt", std::string(20000, 'd'))
        .File("dup.txt", std::string(100, 'e'))
        .File("/lead.txt", std::string(1500, 'l'))
        .File("/", "ab")
        .File("rlo\u202etxt.exe", "1")
        .File("cr\rret.txt", "2")
        .File("new\nline.txt", "3");
    // The pak's own path need not be UTF-8, and may hold a line feed.
    const std::string path = m_dir / "bad\xff\xfe\nname.pak";
    pak.WriteTo(path);
    OpenPanes(path);
    ASSERT_TRUE(Tree().HasItems());
    EXPECT_EQ(ToDiskBytes(Tree().GetPakPath()), path);
    EXPECT_FALSE(Tree().GetRootItem()->text(0).contains(u'\n'));

    const QString noName = QString::fromUtf16(kNoNameText);
    EXPECT_EQ(Column(), QStringList({noName, "cr\\x0Dret.txt", "dup.txt", "dup.txt", "new\\x0Aline.txt",
                                     "rlo\\u202Etxt.exe"}));
    EXPECT_EQ(Column(1), QStringList({"", "1KB", "19KB", "1KB", "1KB", "1KB"}));
    EXPECT_EQ(Pane(1), "19KB     Unused Space:  0KB");
    // The rows' raw names still drive every operation.
    EXPECT_EQ(List().Model().Row(1).strRawName, "cr\rret.txt");
    Tree().OnRefresh();
    EXPECT_EQ(Column(1), QStringList({"", "1KB", "19KB", "1KB", "1KB", "1KB"}));

    Tree().SelectFolder(Tree().FindChildFolder(Tree().GetRootItem(), noName));
    EXPECT_EQ(Column(), QStringList({noName, "lead.txt"}));
    EXPECT_EQ(Column(1), QStringList({"1KB", "1KB"}));
    EXPECT_EQ(List().Model().Row(0).strRawName, "");
}
