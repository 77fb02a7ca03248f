// The game folder window: which copy of every file it shows, the filters
// and profiles, opening a row's pak at its entry, and following changes on
// disk.
#include "views_fixture.h"

#include "game_folder_window.h"
#include "list_filter_bar.h"
#include "profile.h"
#include "wait_for.h"

#include <QListWidget>
#include <QTreeWidget>

#include <filesystem>

using namespace vantor;
using namespace vantor::test;

namespace {

class GameFolder : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        WriteProfileInt("Options", "RecoverOnExit", 0);
        std::filesystem::create_directories(m_dir / "q/id1");
        std::filesystem::create_directories(m_dir / "q/mod/gfx");
        WritePak(PakBuilder().File("progs.dat", "id0").File("maps/e1m1.bsp", "map"), "q/id1/pak0.pak");
        WritePak(PakBuilder().File("progs.dat", "id1"), "q/id1/pak1.pak");
        WritePak(PakBuilder().File("progs.dat", "mod").File("gfx/x.lmp", "pak"), "q/mod/pak0.pak");
        WriteFileBytes(m_dir / "q/mod/gfx/x.lmp", "loose");
        WriteFileBytes(m_dir / "q/mod/autoexec.cfg", "exec");
        OpenFrame("");
        Tree().OpenGameFolder(QString::fromStdString(m_dir / "q/mod"));
        m_pWindow = Frame().findChild<CGameFolderWindow*>();
        ASSERT_NE(m_pWindow, nullptr);
    }
    // Each row as "name size source shadows" in the window's list.
    QStringList Rows() const
    {
        QStringList rows;
        QTreeWidget& list = m_pWindow->Rows();
        for (int i = 0; i < list.topLevelItemCount(); ++i) {
            QStringList cells;
            for (int c = 0; c < 4; ++c)
                cells.append(list.topLevelItem(i)->text(c));
            rows.append(cells.join(' ').trimmed());
        }
        return rows;
    }

    CGameFolderWindow* m_pWindow = nullptr;
};

TEST_F(GameFolder, ShowsTheCopyTheGameLoadsUnderEachProfileAndFilter)
{
    EXPECT_EQ(Rows(), QStringList({"gfx", "maps", "autoexec.cfg 4 mod/", "progs.dat 3 mod/pak0.pak 2"}));
    ASSERT_TRUE(m_pWindow->ShowFolder("gfx/"));
    EXPECT_EQ(Rows(), QStringList({"x.lmp 3 mod/pak0.pak 1"}));

    m_pWindow->ShowFolder("");
    m_pWindow->SetFilter(CGameFolderWindow::Filter::overridesOnly);
    EXPECT_EQ(Rows(), QStringList({"progs.dat 3 mod/pak0.pak 2"}));
    m_pWindow->SetFilter(CGameFolderWindow::Filter::shadowedOnly);
    EXPECT_EQ(Rows(), QStringList({"gfx"}));

    // DarkPlaces: the loose file wins in its folder; remembered.
    m_pWindow->SetFilter(CGameFolderWindow::Filter::all);
    m_pWindow->SetProfile(GameProfile::darkplaces);
    m_pWindow->ShowFolder("gfx/");
    EXPECT_EQ(Rows(), QStringList({"x.lmp 5 mod/ 1"}));
    EXPECT_EQ(GetProfileInt("Options", "GameProfile", 0), 1);
    EXPECT_TRUE(m_pWindow->Warnings().isHidden());
}

TEST_F(GameFolder, ARowOpensItsPakAtTheEntryAndChangesOnDiskAreFollowed)
{
    // A filter on the list never hides the entry a row asks to show.
    List().GetFilterBar()->SetAllFolders(true);
    List().GetFilterBar()->SetText(QStringLiteral("nothing matches this"));
    ASSERT_TRUE(m_pWindow->OpenRow(3));  // progs.dat
    EXPECT_EQ(Tree().GetPakPath().toStdString(), m_dir / "q/mod/pak0.pak");
    EXPECT_EQ(List().currentIndex().data().toString(), "progs.dat");
    EXPECT_FALSE(m_pWindow->OpenRow(2));  // a loose file has no pak
    EXPECT_FALSE(m_pWindow->OpenRow(0));  // a folder

    WritePak(PakBuilder().File("progs.dat", "id1").File("new.cfg", "n"), "q/id1/pak3.pak");
    EXPECT_SOON(m_pWindow->Warnings().count() == 1);
    EXPECT_TRUE(m_pWindow->Warnings().item(0)->text().startsWith("numbering-gap: id1/pak3.pak"));
    WritePak(PakBuilder().File("progs.dat", "id1").File("new.cfg", "n"), "q/id1/pak1.pak");
    EXPECT_SOON(Rows().contains("new.cfg 1 id1/pak1.pak"));
}

}  // namespace
