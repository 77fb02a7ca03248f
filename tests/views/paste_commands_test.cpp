// Files and folders coming into the pak: Paste, drops on the tree and the
// list, the replace question, moves that take from the disk only what
// entered, and the program's own drags dropped back onto themselves.
#include "views_fixture.h"

#include "pak_error.h"
#include "profile.h"
#include "resource.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <filesystem>

using namespace vantor;
using namespace vantor::test;
namespace fs = std::filesystem;

namespace {

class PasteCommands : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        WriteProfileInt("Options", "RecoverOnExit", 0);
        fs::create_directories(m_dir / "in");
    }
    std::string Disk(const std::string& relative, const std::string& bytes)
    {
        const std::string path = m_dir / ("in/" + relative);
        fs::create_directories(fs::path(path).parent_path());
        WriteFileBytes(path, bytes);
        return path;
    }
    static QMimeData* Urls(std::initializer_list<std::string> paths)
    {
        auto* pData = new QMimeData;
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
        pData->setUrls(urls);
        return pData;
    }
    // The live entries with their bytes, as "name=bytes", sorted (a disk
    // folder is read in the order the disk lists it).
    QStringList Contents()
    {
        QStringList list;
        CPakArchive& archive = Tree().GetArchive();
        for (const PakEntry& entry : archive.GetEntries()) {
            std::string bytes(entry.length, '\0');
            archive.ReadEntryByName(std::string(entry.Name()), bytes.data());
            list.append(QString::fromStdString(std::string(entry.Name()) + "=" + bytes));
        }
        list.sort();
        return list;
    }
    static QStringList Sorted(QStringList list)
    {
        list.sort();
        return list;
    }
    // A drop as the desktop delivers it, onto a point of a pane's viewport.
    static bool Drop(QWidget* pViewport, const QPoint& at, const QMimeData* pData, bool bShift)
    {
        const Qt::KeyboardModifiers modifiers = bShift ? Qt::ShiftModifier : Qt::NoModifier;
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, pData, Qt::LeftButton, modifiers);
        QApplication::sendEvent(pViewport, &enter);
        QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, pData, Qt::LeftButton, modifiers);
        QApplication::sendEvent(pViewport, &move);
        if (!move.isAccepted())
            return false;
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, pData, Qt::LeftButton, modifiers);
        QApplication::sendEvent(pViewport, &drop);
        return drop.isAccepted();
    }
    QPoint RowPoint(int nRow) { return List().visualRect(List().Model().index(nRow, 0)).center(); }
    QPoint ItemPoint(QTreeWidgetItem* pItem) { return Tree().visualItemRect(pItem).center(); }
};

TEST_F(PasteCommands, PasteFollowsEveryRuleAndAddsRowsInPasteOrder)
{
    const std::string pak = WritePak(PakBuilder()
                           .File("b.txt", "old b")
                           .File("dir/x", "x")
                           .File("file", "a file")
                           .File("maps/old.bsp", "old map")
                           .File("maps/same.bsp", "kept"));
    OpenFrame(pak);
    const std::string aPath = Disk("a.txt", "new a");
    const std::string bPath = Disk("b.txt", "new b");
    const std::string dirPath = Disk("dir", "a file named like a folder");
    Disk("file/inner", "a folder named like a file");
    Disk("maps/new.bsp", "new map");
    Disk("maps/same.bsp", "not taken");
    // The pak itself is refused by the archive, like any file it cannot read.
    QGuiApplication::clipboard()->setMimeData(Urls({m_dir / "in/missing", aPath, bPath, dirPath, m_dir / "in/file",
                                                    m_dir / "in/maps", pak}));
    ASSERT_TRUE(Enabled(ID_EDIT_PASTE));
    m_prompt.AnswerReplace(replaceNo);  // b.txt
    m_prompt.AnswerReplace(replaceNo);  // maps: merged without replacing
    Frame().RouteCommand(ID_EDIT_PASTE);

    EXPECT_EQ(Messages(),
              QStringList({QString::fromStdString("Cannot copy " + dirPath + ".  A folder with that name already exists."),
                           QString::fromStdString("Cannot copy " + m_dir / "in/file" +
                                                  ".  A file with that name already exists."),
                           QString::fromStdString("Error copying " + pak + ":  " + PakErrorText(errSharingViolation))}));
    EXPECT_EQ(Contents(), Sorted({"b.txt=old b", "dir/x=x", "file=a file", "maps/old.bsp=old map",
                                  "maps/same.bsp=kept", "a.txt=new a", "maps/new.bsp=new map"}));
    // Pasted rows go at the end, in paste order.
    EXPECT_EQ(Column(), QStringList({"dir", "maps", "b.txt", "file", "a.txt"}));
    EXPECT_TRUE(m_prompt.AllAnswered());
}

TEST_F(PasteCommands, ReplaceAnswersYesYesToAllAndCancel)
{
    OpenFrame(WritePak(PakBuilder().File("a.txt", "1").File("b.txt", "22").File("c.txt", "333").File("d.txt", "4")));
    const std::string a = Disk("a.txt", "new a, longer than two kilobytes " + std::string(3000, 'a'));
    const std::string b = Disk("b.txt", "new b");
    const std::string c = Disk("c.txt", "new c");
    const std::string d = Disk("d.txt", "new d");
    const std::unique_ptr<QMimeData> pData(Urls({a, b, c}));
    // Yes, then Yes To All: nothing more is asked.
    m_prompt.AnswerReplace(replaceYes);
    m_prompt.AnswerReplace(replaceYesToAll);
    Tree().PasteFiles(pData.get(), Tree().GetCurrentFolder(), std::string(), Qt::CopyAction);
    const auto replaceQuestions = [&] {
        return std::count_if(m_prompt.Questions().begin(), m_prompt.Questions().end(),
                             [](const auto& question) { return question.kind == CScriptedPrompt::Kind::replace; });
    };
    EXPECT_EQ(replaceQuestions(), 2);
    EXPECT_EQ(Contents(), Sorted({"d.txt=4", "a.txt=" + QString::fromStdString(ReadFileBytes(a)), "b.txt=new b",
                                  "c.txt=new c"}));
    // A replaced row keeps its place, with its new size.
    EXPECT_EQ(Column(), QStringList({"a.txt", "b.txt", "c.txt", "d.txt"}));
    EXPECT_EQ(Column(1).at(0), "2KB");

    // Cancel stops: what came before stays, nothing after comes in.
    const std::string e = Disk("e.txt", "e");
    const std::unique_ptr<QMimeData> pMore(Urls({e, d, Disk("f.txt", "f")}));
    m_prompt.AnswerReplace(replaceCancel);
    EXPECT_TRUE(Tree().PasteFiles(pMore.get(), Tree().GetCurrentFolder(), std::string(), Qt::CopyAction).bOk);
    EXPECT_EQ(Contents().filter("e.txt").size(), 1);
    EXPECT_EQ(Contents().filter("f.txt").size(), 0);
    EXPECT_TRUE(Contents().contains("d.txt=4"));
}

TEST_F(PasteCommands, AMoveTakesFromTheDiskOnlyWhatEnteredThePak)
{
    OpenFrame(WritePak(PakBuilder().File("maps/same.bsp", "kept").File("lone.txt", "old")));
    const std::string lone = Disk("lone.txt", "not taken");
    const std::string moved = Disk("moved.txt", "moved");
    Disk("maps/same.bsp", "not taken either");
    Disk("maps/new.bsp", "new map");
    Disk("maps/sub/deep.bsp", "deep");
    const std::unique_ptr<QMimeData> pData(Urls({lone, moved, m_dir / "in/maps"}));
    m_prompt.AnswerReplace(replaceNo);  // lone.txt
    m_prompt.AnswerReplace(replaceNo);  // maps: merged, same.bsp kept
    ASSERT_TRUE(Drop(Tree().viewport(), ItemPoint(Tree().GetRootItem()), pData.get(), true));

    EXPECT_TRUE(fs::exists(lone));
    EXPECT_FALSE(fs::exists(moved));
    EXPECT_TRUE(fs::exists(m_dir / "in/maps/same.bsp"));
    EXPECT_FALSE(fs::exists(m_dir / "in/maps/new.bsp"));
    EXPECT_FALSE(fs::exists(m_dir / "in/maps/sub"));
    EXPECT_EQ(Contents(), Sorted({"maps/same.bsp=kept", "lone.txt=old", "moved.txt=moved", "maps/new.bsp=new map",
                                  "maps/sub/deep.bsp=deep"}));
}

TEST_F(PasteCommands, DropsGoWhereTheyAreAimed)
{
    OpenFrame(WritePak(PakBuilder().File("maps/a.bsp", "a").File("x.txt", "x")));
    const std::unique_ptr<QMimeData> pData(Urls({Disk("new.txt", "n")}));
    // Onto a file row, or beside the tree's items: refused.
    ASSERT_EQ(Column(), QStringList({"maps", "x.txt"}));
    EXPECT_FALSE(Drop(List().viewport(), RowPoint(1), pData.get(), false));
    EXPECT_FALSE(Drop(Tree().viewport(), QPoint(5, Tree().viewport()->height() - 5), pData.get(), false));
    // Not local, or the root of the file system: refused while dragging.
    QMimeData remote;
    remote.setUrls({QUrl("https://example.org/a.txt")});
    EXPECT_FALSE(Drop(List().viewport(), QPoint(5, List().viewport()->height() - 5), &remote, false));
    const std::unique_ptr<QMimeData> pRoot(Urls({"/"}));
    EXPECT_FALSE(Drop(Tree().viewport(), ItemPoint(Tree().GetRootItem()), pRoot.get(), false));
    EXPECT_EQ(Contents().size(), 2);

    // Onto a folder row: into that folder; beside the rows: the current one.
    EXPECT_TRUE(Drop(List().viewport(), RowPoint(0), pData.get(), false));
    EXPECT_TRUE(Drop(List().viewport(), QPoint(5, List().viewport()->height() - 5), pData.get(), false));
    const std::unique_ptr<QMimeData> pTreeData(Urls({Disk("t.txt", "t")}));
    EXPECT_TRUE(Drop(Tree().viewport(), ItemPoint(Folder("maps")), pTreeData.get(), false));
    EXPECT_EQ(Contents(), Sorted({"maps/a.bsp=a", "x.txt=x", "maps/new.txt=n", "new.txt=n", "maps/t.txt=t"}));
    EXPECT_TRUE(m_prompt.AllAnswered());
}

TEST_F(PasteCommands, AReadOnlyPakTakesNoDropAndLetsItemsOnlyBeCopied)
{
    const std::string path = WritePak(PakBuilder().File("maps/a.bsp", "a").File("x.txt", "x"));
    CPakArchive reader;  // another program reading it keeps it read-only here
    ASSERT_TRUE(reader.OpenPakReadOnly(path));
    OpenFrame(path);
    ASSERT_TRUE(Tree().GetArchive().IsReadOnly());
    const std::unique_ptr<QMimeData> pData(Urls({Disk("new.txt", "n")}));
    EXPECT_FALSE(Drop(List().viewport(), RowPoint(0), pData.get(), false));
    EXPECT_FALSE(Drop(Tree().viewport(), ItemPoint(Tree().GetRootItem()), pData.get(), false));
    SelectRows({1});
    m_shell.m_dragResult = Qt::MoveAction;
    List().OnBeginDrag();
    ASSERT_EQ(m_shell.m_drags.size(), 1u);
    EXPECT_EQ(m_shell.m_drags[0].actions, Qt::CopyAction);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(PasteCommands, TheProgramsOwnDragsNeverDestroyWhatTheyCarry)
{
    OpenFrame(WritePak(PakBuilder().File("maps/a.bsp", "a").File("maps/dm/d.bsp", "d").File("x.txt", "x")
                           .File("y.txt", "y").File("sub/y.txt", "other y")));
    const QStringList before = Contents();
    bool bDropped = true;
    // The drop lands while the drag runs, where the test aims it.
    QWidget* pTarget = nullptr;
    QPoint at;
    m_shell.m_onDrag = [&](const QMimeData& data) {
        bDropped = Drop(pTarget, at, &data, true);
        m_shell.m_dragResult = bDropped ? Qt::MoveAction : Qt::IgnoreAction;
    };

    // Rows onto their own folder (beside the rows): refused.
    SelectRows({2});  // x.txt
    pTarget = List().viewport();
    at = QPoint(5, List().viewport()->height() - 5);
    List().OnBeginDrag();
    EXPECT_FALSE(bDropped);
    // A folder onto itself, or into its own sub-folder: refused.
    Enter("maps");
    Frame().SetActivePane(&Tree());
    pTarget = Tree().viewport();
    at = ItemPoint(Folder("maps/dm"));
    Tree().OnBeginDrag(Folder("maps"));
    EXPECT_FALSE(bDropped);
    at = ItemPoint(Folder("maps"));
    Tree().OnBeginDrag(Folder("maps"));
    EXPECT_FALSE(bDropped);
    EXPECT_EQ(Contents(), before);

    // A move answered No for one item keeps that item where it was.
    Enter("");
    SelectRows({2, 3});  // x.txt, y.txt
    pTarget = Tree().viewport();
    at = ItemPoint(Folder("sub"));
    m_prompt.AnswerReplace(replaceNo);  // sub/y.txt exists
    List().OnBeginDrag();
    EXPECT_TRUE(bDropped);
    EXPECT_EQ(Contents(), Sorted({"maps/a.bsp=a", "maps/dm/d.bsp=d", "y.txt=y", "sub/y.txt=other y", "sub/x.txt=x"}));
    EXPECT_EQ(Column(), QStringList({"maps", "sub", "y.txt"}));
}

}  // namespace
