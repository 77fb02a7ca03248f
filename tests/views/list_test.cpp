// The item list: row order for every sort key and direction, size and type
// texts, the selection's status, the enabling of its commands, entering
// folders, selection commands, switching panes, context menus and renaming.
#include "views_fixture.h"

#include "frame_layout.h"
#include "pak_list_model.h"
#include "profile.h"
#include "resource.h"
#include "view_text.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

using namespace vantor;
using namespace vantor::test;

namespace {

constexpr std::size_t kKB = 1024;

// Sizes, desktop types (txt) and program types (bsp, mdl, wav) chosen so that
// every key orders the files differently, with ties on size and type.
PakBuilder SortingPak()
{
    PakBuilder pak;
    pak.File("b.txt", std::string(2048, 'b'))  // 2KB  Text document
        .File("A.bsp", "a")                    // 1KB  Binary Space Partition
        .File("zdir/in.dat", "z")
        .File("c.wav", std::string(1023, 'c'))  // 1KB  Wave Sound
        .File("d.txt", "")                      // 0KB  Text document
        .File("E.mdl", std::string(5000, 'e'))  // 4KB  Model
        .File("Mdir/in.dat", "m")
        .File("f.bsp", std::string(1024, 'f'));  // 1KB  Binary Space Partition
    return pak;
}

struct SortCase {
    const char* name;
    int nColumn;
    int bAscending;
    QStringList rows;
};

QStringList Reversed(QStringList list)
{
    std::reverse(list.begin(), list.end());
    return list;
}

const QStringList kByName{"Mdir", "zdir", "A.bsp", "b.txt", "c.wav", "d.txt", "E.mdl", "f.bsp"};
const QStringList kBySize{"Mdir", "zdir", "d.txt", "A.bsp", "c.wav", "f.bsp", "b.txt", "E.mdl"};
const QStringList kByType{"Mdir", "zdir", "A.bsp", "f.bsp", "E.mdl", "b.txt", "d.txt", "c.wav"};

class ListOrder : public ViewsTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(ListOrder, FoldersFirstAscendingAndTheExactReverseDescending)
{
    const SortCase& sortCase = GetParam();
    WriteProfileInt("Window size", "Sort", sortCase.nColumn);
    WriteProfileInt("Window size", "Ascending", sortCase.bAscending);
    OpenFrame(WritePak(SortingPak()));
    EXPECT_EQ(Column(), sortCase.rows);
}

INSTANTIATE_TEST_SUITE_P(EveryKey, ListOrder,
                         ::testing::Values(SortCase{"NameAscending", 0, 1, kByName},
                                           SortCase{"NameDescending", 0, 0, Reversed(kByName)},
                                           SortCase{"SizeAscending", 1, 1, kBySize},
                                           SortCase{"SizeDescending", 1, 0, Reversed(kBySize)},
                                           SortCase{"TypeAscending", 2, 1, kByType},
                                           SortCase{"TypeDescending", 2, 0, Reversed(kByType)}),
                         [](const auto& info) { return std::string(info.param.name); });

// Plain names are ordered from their bytes, others from their text: mixed,
// the order must still be CompareNames' (a comparator that disagreed would
// also break the sort).
TEST(ListOrder, NamesOfEveryKindOrderAsTheirShownText)
{
    const std::vector<std::string> names = {"b", "_a", "A", "a", "B", "a_b", "a.b", "[x", "`y", "{z", "~", "Zed",
                                            "zed", "caf\xC3\xA9", "Caf\xC3\xA9", "cafe", "\x01x", "", "a\x85", "\xE2\x82\xAC",
                                            "ab", "AB", "aB", "a b", "a-b", "0", "9z", "A_"};
    std::vector<CListRow> rows;
    for (const std::string& name : names) {
        CListRow row;
        row.strRawName = name;
        row.strName = DecodeName(name);
        rows.push_back(row);
    }
    QStringList expected;
    for (const CListRow& row : rows)
        expected << row.strName;
    std::stable_sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) { return CompareNames(a, b) < 0; });
    CPakListModel model;
    model.SetFolderRows({}, rows);
    QStringList shown;
    for (int nRow = 0; nRow < model.RowCount(); ++nRow)
        shown << model.Row(nRow).strName;
    EXPECT_EQ(shown, expected);
}

class ListView : public ViewsTest {
protected:
    void OpenSortingPak() { OpenFrame(WritePak(SortingPak())); }
    void ClickHeading(int nColumn)
    {
        QHeaderView* pHeader = List().header();
        const QPoint at(pHeader->sectionViewportPosition(nColumn) + 5, pHeader->height() / 2);
        QTest::mouseClick(pHeader->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(ListView, HeadingClicksChooseTheOrderAndItIsKeptForNextTime)
{
    OpenSortingPak();
    EXPECT_EQ(Column(), kByName);
    ClickHeading(1);
    EXPECT_EQ(Column(), kBySize);
    ClickHeading(1);
    EXPECT_EQ(Column(), Reversed(kBySize));
    EXPECT_EQ(List().header()->sortIndicatorSection(), 1);
    EXPECT_EQ(List().header()->sortIndicatorOrder(), Qt::DescendingOrder);
    ClickHeading(2);
    EXPECT_EQ(Column(), kByType);
    CloseFrame();
    EXPECT_EQ(Stored("Window size", "Sort").toInt(), 2);
    EXPECT_EQ(Stored("Window size", "Ascending").toInt(), 1);
}

TEST_F(ListView, ColumnsHaveTheirHeadingsAndSavedWidths)
{
    WriteProfileInt("Window size", "Column1", 0x10000 + 77);  // only the low 16 bits are a width
    OpenSortingPak();
    const QAbstractItemModel& model = List().Model();
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Name");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Size");
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "Type");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
              Qt::AlignRight);
    EXPECT_EQ(List().GetColumnWidth(1), 77);
    // No width stored for the names: wide enough for the longest shown
    // (within half the list), never narrower than the other default.
    EXPECT_GE(List().GetColumnWidth(0), List().GetColumnWidth(2));
    const int nLongest = static_cast<const QAbstractItemView&>(List()).sizeHintForColumn(0);
    EXPECT_GE(List().GetColumnWidth(0), std::min(nLongest, std::max(List().GetColumnWidth(2), List().viewport()->width() / 2)));
    CloseFrame();
    EXPECT_EQ(Stored("Window size", "Column1").toInt(), 77);
}

TEST_F(ListView, SizesInKilobytesAndTypesFromTheDesktopOrTheProgram)
{
    PakBuilder pak;
    pak.File("empty.dat", "")
        .File("one.dat", "1")
        .File("most.dat", std::string(1023, 'm'))
        .File("kilo.dat", std::string(1024, 'k'))
        .File("almost.dat", std::string(2047, 'a'))
        .File("two.dat", std::string(2048, 't'))
        .File("notes.txt", "n")
        .File("map.bsp", "b")
        .File("odd.xyz", "o")
        .File("dir/x.dat", "x");
    WriteProfileInt("Window size", "Sort", 1);
    OpenFrame(WritePak(pak));
    EXPECT_EQ(Column(), QStringList({"dir", "empty.dat", "almost.dat", "kilo.dat", "map.bsp", "most.dat", "notes.txt",
                                     "odd.xyz", "one.dat", "two.dat"}));
    EXPECT_EQ(Column(1), QStringList({"", "0KB", "1KB", "1KB", "1KB", "1KB", "1KB", "1KB", "1KB", "2KB"}));
    EXPECT_EQ(Column(2), QStringList({"Folder", "Dat File", "Dat File", "Dat File", "Binary Space Partition",
                                      "Dat File", "Text document", "Unknown", "Dat File", "Dat File"}));
    EXPECT_EQ(List().Model().index(1, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
              Qt::AlignRight);
}

TEST_F(ListView, SelectionStatusCountsInThousands)
{
    PakBuilder pak;
    pak.File("a.dat", std::string(700 * kKB, 'a'))
        .File("b.dat", std::string(400 * kKB, 'b'))
        .File("c.dat", std::string(999 * kKB, 'c'))
        .File("d.dat", std::string(1500 * kKB, 'd'))
        .File("sub/x.dat", "x")
        .File("tub/y.dat", "y");
    OpenFrame(WritePak(pak));
    ASSERT_EQ(Column(), QStringList({"sub", "tub", "a.dat", "b.dat", "c.dat", "d.dat"}));
    Frame().SetActivePane(&List());

    SelectRows({2, 3});
    EXPECT_EQ(Pane(0), "2 object(s) selected");
    EXPECT_EQ(Pane(1), "1.1MB");
    SelectRows({4});
    EXPECT_EQ(Pane(1), "999KB");
    SelectRows({5});
    EXPECT_EQ(Pane(1), "1.5MB");
    SelectRows({0, 1});
    EXPECT_EQ(Pane(0), "2 object(s) selected");
    EXPECT_EQ(Pane(1), "0KB");
    // Nothing selected: the folder's own figures again.
    List().clearSelection();
    EXPECT_EQ(Pane(0), "6 object(s)");
    EXPECT_EQ(Pane(1), "3.6MB     Unused Space:  0KB");
}

struct EnablingCase {
    const char* name;
    std::vector<int> rows;  // selected rows of: sub (folder), a.txt, b.wav
    bool bRename;
};

class ListEnabling : public ListView, public ::testing::WithParamInterface<EnablingCase> {};

TEST_P(ListEnabling, CommandsFollowTheSelection)
{
    OpenFrame(WritePak(PakBuilder().File("a.txt", "a").File("b.wav", "b").File("sub/c.txt", "c")));
    Frame().SetActivePane(&List());
    List().clearSelection();
    for (const int nRow : GetParam().rows)
        List().selectionModel()->select(List().Model().index(nRow, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);

    EXPECT_EQ(Enabled(ID_FILE_RENAME), GetParam().bRename);
    for (const int nID : {ID_EDIT_SELECT_ALL, ID_EDIT_INVERT, ID_UP_ONE_LEVEL, ID_VIEW_REFRESH, ID_SWITCH_PANE,
                          ID_FILE_NEWFOLDER, ID_FILE_EXTRACTALL})
        EXPECT_TRUE(Enabled(nID)) << nID;
    for (const int nID : {ID_FILE_DELETE, ID_EDIT_COPY, ID_EDIT_CUT, ID_FILE_EXTRACT, ID_FILE_EXTRACTTO})
        EXPECT_EQ(Enabled(nID), !GetParam().rows.empty()) << nID;
    // Their operations come with paste and sound.
    for (const int nID : {ID_EDIT_PASTE, ID_PLAY_SOUND})
        EXPECT_FALSE(Enabled(nID)) << nID;
}

INSTANTIATE_TEST_SUITE_P(Selections, ListEnabling,
                         ::testing::Values(EnablingCase{"None", {}, false}, EnablingCase{"OneFile", {1}, true},
                                           EnablingCase{"OneFolder", {0}, true},
                                           EnablingCase{"Several", {0, 2}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListView, AnEmptyFolderListHasNothingToSelect)
{
    OpenFrame(WritePak(PakBuilder()));
    Frame().SetActivePane(&List());
    EXPECT_FALSE(Enabled(ID_EDIT_SELECT_ALL));
    EXPECT_FALSE(Enabled(ID_EDIT_INVERT));
    EXPECT_TRUE(Enabled(ID_UP_ONE_LEVEL));
}

TEST_F(ListView, DoubleClickOrEnterOnAFolderRowEntersIt)
{
    OpenFrame(WritePak(PakBuilder().File("maps/a.bsp", "a").File("maps/b.bsp", "b").File("x.txt", "x")));
    const QRect row0 = List().visualRect(List().Model().index(0, 0));
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, row0.center());
    EXPECT_EQ(Tree().GetCurrentFolder(), Folder("maps"));
    EXPECT_EQ(Column(), QStringList({"a.bsp", "b.bsp"}));
    EXPECT_EQ(List().currentIndex().row(), 0);
    EXPECT_EQ(List().GetSelectedCount(), 0);
    EXPECT_EQ(Frame().GetActivePane(), &List());
    // The click that entered must not open the first row's name for editing.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    EXPECT_EQ(List().findChild<QLineEdit*>(), nullptr);

    Frame().RouteCommand(ID_UP_ONE_LEVEL);
    SelectRows({0});
    QTest::keyClick(&List(), Qt::Key_Return);
    EXPECT_EQ(Tree().GetCurrentFolder(), Folder("maps"));

    // Enter with two rows selected enters nothing.
    Frame().RouteCommand(ID_UP_ONE_LEVEL);
    SelectRows({0, 1});
    QTest::keyClick(&List(), Qt::Key_Return);
    EXPECT_EQ(Tree().GetCurrentFolder(), Tree().GetRootItem());
    EXPECT_TRUE(m_prompt.Questions().empty());
}

TEST_F(ListView, FoldersDifferingOnlyInCaseAreEnteredByTheirOwnName)
{
    OpenFrame(WritePak(PakBuilder().File("Maps/upper.bsp", "u").File("maps/lower.bsp", "l")));
    ASSERT_EQ(Column(), QStringList({"Maps", "maps"}));
    EXPECT_TRUE(List().OpenRow(1));
    EXPECT_EQ(Column(), QStringList({"lower.bsp"}));
}

TEST_F(ListView, SelectAllAndInvertSelection)
{
    OpenSortingPak();
    Frame().SetActivePane(&List());
    SelectRows({0, 3});
    EXPECT_TRUE(Frame().RouteCommand(ID_EDIT_INVERT));
    EXPECT_EQ(List().GetSelectedRows(), (std::vector<int>{1, 2, 4, 5, 6, 7}));
    EXPECT_TRUE(Frame().RouteCommand(ID_EDIT_SELECT_ALL));
    EXPECT_EQ(List().GetSelectedCount(), 8);
    EXPECT_EQ(Pane(0), "8 object(s) selected");

    // From the tree the same commands act on the list and hand it the focus.
    Frame().SetActivePane(&Tree());
    EXPECT_TRUE(Frame().RouteCommand(ID_EDIT_INVERT));
    EXPECT_EQ(List().GetSelectedCount(), 0);
    EXPECT_EQ(Frame().GetActivePane(), &List());
}

TEST_F(ListView, HomeEndAndTheArrowsSelectTheRowTheyMoveTo)
{
    OpenSortingPak();
    const int nLast = List().GetItemCount() - 1;
    struct Case {
        int nFocused;  // -1: no row has the focus, as after Up One Level
        Qt::Key key;
        int nSelected;
    };
    for (const Case& test : {Case{0, Qt::Key_Home, 0}, Case{-1, Qt::Key_End, nLast}, Case{-1, Qt::Key_Home, 0},
                             Case{1, Qt::Key_Down, 2}, Case{1, Qt::Key_Up, 0}, Case{nLast, Qt::Key_End, nLast},
                             Case{0, Qt::Key_PageDown, nLast}}) {
        SCOPED_TRACE(testing::Message() << test.nFocused << " key " << test.key);
        List().clearSelection();
        List().selectionModel()->setCurrentIndex(test.nFocused < 0 ? QModelIndex()
                                                                   : List().Model().index(test.nFocused, 0),
                                                 QItemSelectionModel::NoUpdate);
        QTest::keyClick(&List(), test.key);
        EXPECT_EQ(List().GetSelectedRows(), std::vector<int>{test.nSelected});
        EXPECT_EQ(List().currentIndex().row(), test.nSelected);
    }
    // Then Enter opens what Home selected: the first row, a folder.
    List().selectionModel()->setCurrentIndex(List().Model().index(0, 0), QItemSelectionModel::Clear);
    QTest::keyClick(&List(), Qt::Key_Home);
    QTest::keyClick(&List(), Qt::Key_Return);
    EXPECT_NE(Tree().GetCurrentFolder(), Tree().GetRootItem());
}

TEST_F(ListView, SwitchPaneMovesBetweenTreeAndList)
{
    OpenSortingPak();
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    Tree().setFocus();
    QTest::keyClick(&Tree(), Qt::Key_Tab);
    EXPECT_EQ(Frame().GetActivePane(), &List());
    EXPECT_TRUE(List().hasFocus());
    // No row had the focus: the first one gets it, unselected.
    EXPECT_EQ(List().currentIndex().row(), 0);
    EXPECT_EQ(List().GetSelectedCount(), 0);

    QTest::keyClick(&List(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(Frame().GetActivePane(), &Tree());
    EXPECT_TRUE(Tree().hasFocus());
    EXPECT_EQ(Tree().currentItem(), Tree().GetRootItem());

    // Back again: the row with the focus is selected.
    List().setCurrentIndex(List().Model().index(2, 0));
    List().clearSelection();
    Frame().RouteCommand(ID_SWITCH_PANE);
    EXPECT_EQ(List().GetSelectedRows(), std::vector<int>{2});
}

TEST_F(ListView, ContextMenusForFolderRowsFileRowsAndTheSpaceBeside)
{
    OpenFrame(WritePak(PakBuilder().File("a.wav", "a").File("sub/b.txt", "b")));
    const auto rightClick = [&](const QPoint& at) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, List().viewport()->mapToGlobal(at));
        QApplication::sendEvent(List().viewport(), &event);
    };
    using Item = CScriptedPrompt::MenuItem;
    const auto texts = [](const std::vector<Item>& menu) {
        QStringList list;
        for (const Item& item : menu)
            list.append(item.bEnabled ? item.text + "+" : item.text);
        return list;
    };

    SelectRows({0});
    rightClick(List().visualRect(List().Model().index(0, 0)).center());
    // Paste comes with its own command.
    EXPECT_EQ(texts(m_prompt.Questions().back().menu),
              QStringList({"E&xtract+", "&Extract To...+", "", "&Delete+", "&Rename+", "", "Cu&t+", "&Copy+", "&Paste"}));
    SelectRows({1});
    rightClick(List().visualRect(List().Model().index(1, 0)).center());
    EXPECT_EQ(texts(m_prompt.Questions().back().menu), QStringList({"&Play+", "", "E&xtract+", "&Extract To...+", "",
                                                                    "&Delete+", "&Rename+", "", "Cu&t+", "&Copy+"}));
    rightClick(QPoint(5, List().viewport()->height() - 5));
    EXPECT_EQ(texts(m_prompt.Questions().back().menu), QStringList({"&Paste", "New &Folder+"}));
    EXPECT_EQ(m_prompt.Questions().size(), 3u);

    // A chosen entry runs as its command does.
    SelectRows({1});
    m_prompt.AnswerPopupMenu(ID_FILE_RENAME);
    rightClick(List().visualRect(List().Model().index(1, 0)).center());
    EXPECT_NE(List().findChild<QLineEdit*>(), nullptr);
}

TEST_F(ListView, RenamingEditsTheNameWhileKeysStayInTheEditor)
{
    OpenFrame(WritePak(PakBuilder().File("a.txt", "a").File("b.txt", "b")));
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    List().setFocus();
    SelectRows({0});
    QTest::keyClick(&List(), Qt::Key_F2);
    auto* pEditor = List().findChild<QLineEdit*>();
    ASSERT_NE(pEditor, nullptr);
    EXPECT_EQ(pEditor->text(), "a.txt");

    // F5 would refill the list under the editor, Ctrl+A select every row;
    // while editing, keys belong to the editor.
    QTest::keyClick(pEditor, Qt::Key_F5);
    ASSERT_EQ(List().findChild<QLineEdit*>(), pEditor);
    QTest::keyClick(pEditor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(List().GetSelectedCount(), 1);
    EXPECT_EQ(pEditor->selectedText(), "a.txt");
    QTest::keyClicks(pEditor, "c.txt");
    QTest::keyClick(pEditor, Qt::Key_Return);
    // Renaming in the pak comes with the item commands: nothing changes yet.
    EXPECT_EQ(Column(), QStringList({"a.txt", "b.txt"}));
    EXPECT_TRUE(m_prompt.Questions().empty());
}

}  // namespace
