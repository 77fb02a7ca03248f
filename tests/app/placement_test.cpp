// The window's placement, pane widths and column widths: defaults on the
// first start, saved on closing, restored at the next start, through
// minimised and maximised states and odd saved rectangles.
#include "main_frame.h"
#include "frame_test_support.h"
#include "profile.h"
#include "pak_list.h"
#include "wait_for.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QTest>

#include <memory>

using namespace vantor;
using namespace vantor::test;

namespace {

const QString kWindowSize = QStringLiteral("Window size");

class Placement : public SettingsTest {
protected:
    std::unique_ptr<CMainFrame> Open()
    {
        auto pFrame = std::make_unique<CMainFrame>(m_prompt, m_shell, QString());
        EXPECT_TRUE(pFrame->Create());
        pFrame->ActivateFrame();
        if (!pFrame->isMinimized()) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(pFrame.get()));
        }
        return pFrame;
    }

    static QSplitter* Splitter(const CMainFrame& frame) { return frame.findChild<QSplitter*>("splitter"); }
    static QString SavedRect() { return GetProfileString(kWindowSize, "Rect"); }
    static int Saved(const char* key) { return GetProfileInt(kWindowSize, key, -99); }

    CScriptedPrompt m_prompt;
    CFakeShell m_shell;
};

TEST_F(Placement, FirstStartUsesTwoThirdsOfTheScreenCentred)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    auto pFrame = Open();
    const QRect first = pFrame->geometry();
    EXPECT_EQ(first, DefaultWindowRect());
    EXPECT_EQ(first.size(), screen.size() * 2 / 3);
    EXPECT_LE(std::abs(first.center().x() - screen.center().x()), 1);
    EXPECT_EQ(Splitter(*pFrame)->sizes().value(0), first.width() / 4);
    EXPECT_EQ(pFrame->findChild<QLabel*>("statusPane1")->width(), first.width() * 11 / 20);
    EXPECT_EQ(pFrame->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized), Qt::WindowNoState);

    pFrame->close();
    EXPECT_EQ(SavedRect(), FormatWindowRect(first));
    EXPECT_EQ(Saved("icon"), 0);
    EXPECT_EQ(Saved("max"), 0);
    EXPECT_EQ(Saved("TreeWidth"), first.width() / 4);
    EXPECT_EQ(Saved("ListWidth"), Splitter(*pFrame)->sizes().value(1));
    EXPECT_GT(Saved("ListWidth"), 0);
}

TEST_F(Placement, RestoresTheSavedRectangleAndTreeWidth)
{
    WriteProfileString(kWindowSize, "Rect", "0100 0050 0700 0450");
    WriteProfileInt(kWindowSize, "TreeWidth", 150);
    auto pFrame = Open();
    EXPECT_EQ(pFrame->geometry(), QRect(100, 50, 600, 400));
    EXPECT_EQ(Splitter(*pFrame)->sizes().value(0), 150);
    EXPECT_EQ(pFrame->findChild<QLabel*>("statusPane1")->width(), 600 * 11 / 20);

    Splitter(*pFrame)->setSizes({200, 380});
    pFrame->close();
    EXPECT_EQ(Saved("TreeWidth"), 200);
    EXPECT_EQ(SavedRect(), "0100 0050 0700 0450");
}

TEST(WindowRect, ReadsFourIntegersOfAnyWidth)
{
    // Read at fixed character positions, two five-character fields would
    // shift the later ones.
    EXPECT_EQ(ParseWindowRect("-1000 -1000 0400 0300"), QRect(QPoint(-1000, -1000), QPoint(399, 299)));
    EXPECT_EQ(ParseWindowRect("-001 -001 0500 0400"), QRect(QPoint(-1, -1), QPoint(499, 399)));
    EXPECT_EQ(ParseWindowRect("0010 0010 12000 9000"), QRect(QPoint(10, 10), QPoint(11999, 8999)));
    EXPECT_EQ(ParseWindowRect("  0010\t0020   0300 0400 "), QRect(10, 20, 290, 380));
    EXPECT_EQ(FormatWindowRect(QRect(QPoint(-1000, -20), QPoint(399, 299))), "-1000 -020 0400 0300");
    EXPECT_EQ(FormatWindowRect(QRect(QPoint(-1, 5), QPoint(499, 399))), "-001 0005 0500 0400");
}

TEST_F(Placement, ANegativePositionIsRestoredAndSavedAgain)
{
    WriteProfileString(kWindowSize, "Rect", "-1000 -1000 0400 0300");
    auto pFrame = Open();
    // The window system may pull a window partly back onto the screen; what
    // matters is that the size and the place off the left and top edges come
    // back, not the default rectangle.
    EXPECT_EQ(pFrame->geometry().size(), QSize(1400, 1300));
    EXPECT_LT(pFrame->geometry().x(), -900);
    EXPECT_LT(pFrame->geometry().y(), -900);
    const QRect restored = pFrame->normalGeometry();
    pFrame->close();
    EXPECT_EQ(ParseWindowRect(SavedRect()), restored);
}

TEST_F(Placement, UnreadableRectanglesFallBackToTheDefault)
{
    for (const char* rect : {"", "garbage", "0010 0010 0500", "0010 0010 0500 0400 0001", "0500 0400 0010 0010",
                             "0010 0010 0010 0400", "1e3 0010 0500 0400"}) {
        SCOPED_TRACE(rect);
        WriteProfileString(kWindowSize, "Rect", rect);
        auto pFrame = Open();
        EXPECT_EQ(pFrame->geometry(), DefaultWindowRect());
    }
}

TEST_F(Placement, ARectangleOnNoScreenIsMovedOntoTheScreen)
{
    WriteProfileString(kWindowSize, "Rect", "5000 5000 5400 5300");
    auto pFrame = Open();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(pFrame->geometry(), QRect(screen.topLeft() + QPoint(10, 10), QSize(400, 300)));
}

TEST_F(Placement, MaximisedWindowSavesItsNormalRectangle)
{
    auto pFrame = Open();
    pFrame->showMaximized();
    ASSERT_SOON(pFrame->isMaximized());
    pFrame->close();
    EXPECT_EQ(Saved("icon"), 0);
    EXPECT_EQ(Saved("max"), 1);
    EXPECT_EQ(SavedRect(), FormatWindowRect(DefaultWindowRect()));

    auto pAgain = Open();
    EXPECT_TRUE(pAgain->windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(pAgain->windowState() & Qt::WindowMinimized);
    EXPECT_EQ(pAgain->normalGeometry(), DefaultWindowRect());
}

TEST_F(Placement, MinimisedAfterMaximisedComesBackMinimisedAndRestoresToMaximised)
{
    auto pFrame = Open();
    pFrame->showMaximized();
    ASSERT_SOON(pFrame->isMaximized());
    pFrame->setWindowState(pFrame->windowState() | Qt::WindowMinimized);
    ASSERT_SOON(pFrame->isMinimized());
    pFrame->close();
    EXPECT_EQ(Saved("icon"), 1);
    EXPECT_EQ(Saved("max"), 1);

    auto pAgain = Open();
    EXPECT_TRUE(pAgain->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(pAgain->windowState() & Qt::WindowMaximized);
    pAgain->setWindowState(pAgain->windowState() & ~Qt::WindowMinimized);
    EXPECT_TRUE(pAgain->isMaximized());
}

TEST_F(Placement, MinimisedFromNormalRestoresToNormal)
{
    auto pFrame = Open();
    pFrame->showMinimized();
    ASSERT_SOON(pFrame->isMinimized());
    pFrame->close();
    EXPECT_EQ(Saved("icon"), 1);
    EXPECT_EQ(Saved("max"), 0);
    EXPECT_EQ(SavedRect(), FormatWindowRect(DefaultWindowRect()));

    auto pAgain = Open();
    EXPECT_EQ(pAgain->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized), Qt::WindowMinimized);
}

TEST_F(Placement, ColumnWidthsAreSavedAndRestored)
{
    WriteProfileInt(kWindowSize, "Column0", 120);
    WriteProfileInt(kWindowSize, "Column1", 60);
    WriteProfileInt(kWindowSize, "Column2", 0x10000 + 90);  // only the low 16 bits are a width
    auto pFrame = Open();
    QHeaderView* pHeader = pFrame->GetList()->header();
    EXPECT_EQ(pHeader->sectionSize(0), 120);
    EXPECT_EQ(pHeader->sectionSize(1), 60);
    EXPECT_EQ(pHeader->sectionSize(2), 90);

    pHeader->resizeSection(0, 200);
    pFrame->close();
    EXPECT_EQ(Saved("Column0"), 200);
    EXPECT_EQ(Saved("Column1"), 60);
    EXPECT_EQ(Saved("Column2"), 90);
}

TEST_F(Placement, AFrameThatNeverShowedSavesNothing)
{
    CMainFrame frame(m_prompt, m_shell, QString());
    ASSERT_TRUE(frame.Create());
    frame.close();
    EXPECT_TRUE(QSettings("Tessamont", "Vantor").allKeys().isEmpty());
}

}  // namespace
