// The filter above the item list: typing narrows the rows, the count and
// the marks follow, Esc brings the folder back, and with "All folders" the
// commands act on exactly the entries shown, by their full paths.
#include "views_fixture.h"

#include "list_filter_bar.h"
#include "pak_list_model.h"
#include "pak_reader.h"
#include "profile.h"
#include "resource.h"

#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <random>

using namespace vantor;
using namespace vantor::test;

namespace {

class Filter : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        WriteProfileInt("Options", "RecoverOnExit", 0);
        WriteProfileInt("Options", "ExtractWarning", 0);
        OpenFrame(WritePak(PakBuilder()
                               .File("maps/e1m1.bsp", "e1m1")
                               .File("maps/e1m2.bsp", "e1m2")
                               .File("maps/start.bsp", "start")
                               .File("maps/dm/dm1.bsp", "dm1")
                               .File("maps/dm/e1dm.txt", "notes")
                               .File("readme.txt", "read me")
                               .File("progs/e1.mdl", "aa")
                               .File("progs/e1m1.bsp", "not the map")));
        m_pBar = List().GetFilterBar();
        ASSERT_NE(m_pBar, nullptr);
    }
    // Types into the field as a user does, and waits for the match; the
    // list is the pane commands go to meanwhile.
    void Type(const QString& text)
    {
        m_pBar->Field()->setFocus();
        Frame().SetActivePane(&List());
        QTest::keyClicks(m_pBar->Field(), text);
        m_pBar->FinishMatching();
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        if (const std::optional<ParsedPak> pak = ParsePakFile(Tree().GetPakPath().toStdString())) {
            for (const ParsedEntry& entry : pak->entries)
                names.push_back(entry.name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    CListFilterBar* m_pBar = nullptr;
};

TEST_F(Filter, TypingNarrowsTheFolderAndEscBringsItBack)
{
    Enter("maps");
    ASSERT_EQ(Column(), QStringList({"dm", "e1m1.bsp", "e1m2.bsp", "start.bsp"}));

    // "/" in the list opens the field; other letters still jump to a row.
    List().setFocus();
    QTest::keyClick(&List(), Qt::Key_S);
    EXPECT_EQ(List().Model().Row(List().currentIndex().row()).strName, "start.bsp");
    EXPECT_FALSE(List().Model().IsFiltered());
    QTest::keyClick(&List(), Qt::Key_Slash);
    EXPECT_TRUE(m_pBar->Field()->hasFocus());

    Type("E1M");  // an upper-case letter matches case: nothing
    EXPECT_EQ(Column(), QStringList());
    EXPECT_EQ(m_pBar->CountText(), "0 of 4");
    m_pBar->Field()->clear();
    Type("e1m");
    EXPECT_EQ(Column(), QStringList({"e1m1.bsp", "e1m2.bsp"}));
    EXPECT_EQ(m_pBar->CountText(), "2 of 4");
    // A key that leaves the same rows keeps the selection.
    List().setCurrentIndex(List().Model().index(1, 0));
    Type(" bsp");
    EXPECT_EQ(Column(), QStringList({"e1m1.bsp", "e1m2.bsp"}));
    EXPECT_EQ(List().GetSelectedRows(), std::vector<int>({1}));
    Type(" !2");
    EXPECT_EQ(Column(), QStringList({"e1m1.bsp"}));
    EXPECT_EQ(m_pBar->CountText(), "1 of 4");
    // The matched parts of the visible row are marked: "e1m" from 0 and
    // "bsp" from 5, each 3 long.
    const QModelIndex row = List().Model().index(0, CPakListModel::colName);
    EXPECT_EQ(row.data(CPakListModel::kMatchSpansRole).value<QList<int>>(), QList<int>({0, 3, 5, 3}));
    // Del in the field edits the text; it never deletes the selected row.
    List().selectionModel()->select(row, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    m_pBar->Field()->setFocus();
    m_pBar->Field()->setCursorPosition(0);
    QTest::keyClick(m_pBar->Field(), Qt::Key_Delete);
    EXPECT_EQ(m_pBar->Field()->text(), "1m bsp !2");
    EXPECT_EQ(Names().size(), 8u);

    QTest::keyClick(m_pBar->Field(), Qt::Key_Escape);
    EXPECT_EQ(m_pBar->Field()->text(), "");
    EXPECT_EQ(m_pBar->CountText(), "");
    EXPECT_EQ(Column(), QStringList({"dm", "e1m1.bsp", "e1m2.bsp", "start.bsp"}));
    EXPECT_TRUE(List().hasFocus());
    EXPECT_FALSE(row.data(CPakListModel::kMatchSpansRole).isValid());
}

TEST_F(Filter, DeletingEveryShownRowKeepsTheFolderThatStillHoldsHiddenOnes)
{
    Enter("maps");
    Type("e1m");
    List().selectAll();
    Frame().RouteCommand(ID_FILE_DELETE);
    EXPECT_EQ(Names(), (std::vector<std::string>{"maps/dm/dm1.bsp", "maps/dm/e1dm.txt", "maps/start.bsp",
                                                 "progs/e1.mdl", "progs/e1m1.bsp", "readme.txt"}));
    EXPECT_EQ(m_pBar->CountText(), "0 of 2");
    EXPECT_NE(Folder("maps"), nullptr);
    EXPECT_EQ(Tree().GetCurrentFolder(), Folder("maps"));
}

TEST_F(Filter, AllFoldersCommandsTouchExactlyTheEntriesShown)
{
    Enter("maps/dm");
    m_pBar->SetAllFolders(true);
    Type("e1");
    EXPECT_EQ(Column(), QStringList({"maps/dm/e1dm.txt", "maps/e1m1.bsp", "maps/e1m2.bsp", "progs/e1.mdl",
                                     "progs/e1m1.bsp"}));
    EXPECT_EQ(m_pBar->CountText(), "5 of 8");
    // Commands that belong to one folder are off; the others are not.
    SelectRows({0});
    EXPECT_FALSE(Enabled(ID_FILE_RENAME));
    EXPECT_FALSE(Enabled(ID_FILE_NEWFOLDER));
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE));
    EXPECT_TRUE(Enabled(ID_FILE_DELETE));
    EXPECT_TRUE(Enabled(ID_FILE_EXTRACT));

    // Extracted beside the pak by the full path.
    SelectRows({1});
    Frame().RouteCommand(ID_FILE_EXTRACT);
    const std::filesystem::path beside = std::filesystem::path(Tree().GetPakPath().toStdString()).parent_path();
    EXPECT_TRUE(std::filesystem::exists(beside / "maps" / "e1m1.bsp"));
    EXPECT_FALSE(std::filesystem::exists(beside / "e1m1.bsp"));

    // Two files of one name cannot leave side by side: a Cut would lose one.
    SelectRows({1, 4});
    Frame().RouteCommand(ID_EDIT_CUT);
    EXPECT_EQ(Messages().last(),
              "e1m1.bsp is selected from more than one folder.  Copy or drag them one folder at a time.");
    EXPECT_EQ(Names().size(), 8u);

    // The only entry of maps/dm that matched goes; dm1.bsp keeps its folder.
    // progs/ held only the other deleted rows, and leaves the tree.
    SelectRows({0, 3, 4});
    Frame().RouteCommand(ID_FILE_DELETE);
    EXPECT_EQ(Names(), (std::vector<std::string>{"maps/dm/dm1.bsp", "maps/e1m1.bsp", "maps/e1m2.bsp",
                                                 "maps/start.bsp", "readme.txt"}));
    EXPECT_EQ(Column(), QStringList({"maps/e1m1.bsp", "maps/e1m2.bsp"}));
    EXPECT_NE(Folder("maps/dm"), nullptr);
    EXPECT_EQ(Folder("progs"), nullptr);

    // Esc: the folder again, its own rows by their own names.
    QTest::keyClick(&List(), Qt::Key_Escape);
    EXPECT_FALSE(m_pBar->IsAllFolders());
    EXPECT_EQ(Column(), QStringList({"dm1.bsp"}));
    EXPECT_TRUE(Enabled(ID_FILE_NEWFOLDER));
}

// The match runs in slices over a big list; rows changing under it, and a
// query replaced before it finished, must still end in exactly the rows the
// query matches.
TEST(FilterBar, SlicedMatchingEndsInTheRowsTheLastQueryMatches)
{
    CPakListModel model;
    CListFilterBar bar(model);
    std::mt19937 random(7);
    std::vector<CListRow> rows(300000);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].strRawName = "sound/" + std::to_string(random() % 100000) + (i % 3 ? ".wav" : ".ogg");
        rows[i].strName = QString::fromStdString(rows[i].strRawName);
    }
    model.SetRows(rows);
    const auto expected = [&] {
        const CNameQuery query(bar.Field()->text().toStdString());
        std::vector<std::string> names;
        for (const CListRow& row : model.AllRows()) {
            if (query.Matches(row.strRawName))
                names.push_back(row.strRawName);
        }
        return names;
    };
    const auto shown = [&] {
        std::vector<std::string> names;
        for (int n = 0; n < model.RowCount(); ++n)
            names.push_back(model.Row(n).strRawName);
        return names;
    };
    for (const char* text : {"1", "12", "12 wav", "12 wav | ogg", "12 !wav", "9*3"}) {
        bar.SetText(QString::fromLatin1(text));
        if (text[0] == '1' && text[1] == '2' && bar.IsMatching()) {
            // Rows leave and come while the match runs.
            model.RemoveRow(0);
            model.AppendRow(rows[5]);
        }
        bar.FinishMatching();
        EXPECT_EQ(shown(), expected()) << text;
    }
    bar.SetText(QString());
    EXPECT_FALSE(model.IsFiltered());
    EXPECT_EQ(model.RowCount(), model.AllRowCount());
}

}  // namespace
