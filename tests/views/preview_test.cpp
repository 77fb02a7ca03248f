// The preview pane: what each kind of entry shows (pictures in the pak's
// palette, container thumbnails, text, hex, waves, refusals, no palette),
// following the selection only once it rests, View › Preview and its
// remembered state, big entries read a screen at a time, and Export.
#include "views_fixture.h"

#include "asset_builder.h"
#include "entry_text_view.h"
#include "indexed_image.h"
#include "picture_view.h"
#include "preview_kind.h"
#include "preview_pane.h"
#include "profile.h"
#include "resource.h"
#include "thumbnail_grid.h"
#include "wait_for.h"
#include "wave_builder.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>

using namespace vantor;
using namespace vantor::test;

namespace {

const std::string kPalette = BuildPalette().bytes;

std::string Shortened(std::string bytes, std::size_t nLess)
{
    bytes.resize(bytes.size() - nLess);
    return bytes;
}

const std::string kWave = WaveBuilder().Format(WaveBuilder::kPcm, 1, 11025, 16)
                              .Data(WaveBuilder::PcmSamples(1, 16, 11025))
                              .Cue(5512)
                              .Build();

class Preview : public ViewsTest {
protected:
    CPreviewPane& Pane() { return *Frame().GetPreview(); }

    // Opens the pak and selects name in folder, waiting for the pane.
    void OpenAndSelect(const PakBuilder& pak, const QString& folder, const QString& name)
    {
        OpenFrame(WritePak(pak, "pak0.pak"));
        Select(folder, name);
    }
    void Select(const QString& folder, const QString& name)
    {
        Enter(folder);
        const auto nRow = static_cast<int>(Column().indexOf(name));
        ASSERT_GE(nRow, 0) << name.toStdString();
        SelectRows({nRow});
        ASSERT_SOON(!Pane().IsWaitingForRest());
    }
    QStringList Rows()
    {
        QStringList rows;
        for (const CEntryTextView::CRow& row : Pane().TextView().RowsOnScreen())
            rows.append(row.gutter + u'|' + row.text);
        return rows;
    }
};

// --- Each kind of pane ---------------------------------------------------------------------

TEST_F(Preview, EachKindOfEntryHasItsPage)
{
    struct Case {
        const char* name;
        std::string bytes;
        CPreviewPane::Page page;
        const char* shown;  // in the detail line, the message or the first rows
    };
    const Case cases[] = {
        {"pic.lmp", BuildQpic(4, 2).bytes, CPreviewPane::Page::picture, "palette: "},
        {"map.bsp", BspBuilder().Texture("wall", 16, 16).Build().bytes, CPreviewPane::Page::grid, "palette: "},
        {"player.mdl", MdlBuilder(8, 8).Skin().SkinGroup(2).Build().bytes, CPreviewPane::Page::grid, "palette: "},
        {"flame.spr", SprBuilder().Frame(8, 8).Group(3, 8, 8).Build().bytes, CPreviewPane::Page::grid, "palette: "},
        {"hl.bsp", ForeignHeader("bsp30"), CPreviewPane::Page::message, "not a Quake 1 format"},
        {"hl.wad", ForeignHeader("wad3"), CPreviewPane::Page::message, "not a Quake 1 format"},
        {"short.lmp", Shortened(BuildQpic(4, 4).bytes, 4), CPreviewPane::Page::message, "cannot be shown"},
        {"autoexec.cfg", "bind x \"+attack\"\r\nmap e1m1\r\n", CPreviewPane::Page::text, "2|map e1m1"},
        {"latin.txt", "caf\xE9\n", CPreviewPane::Page::text, "1|caf\u00E9"},
        {"utf8.qc", "caf\xC3\xA9\n", CPreviewPane::Page::text, "Text, UTF-8"},
        {"readme", "just words\n", CPreviewPane::Page::text, "1|just words"},
        {"progs.dat", std::string("\x06\x00\x00\x00\x01\x02", 6), CPreviewPane::Page::hex,
         "00000000|06 00 00 00"},
        {"s.wav", kWave, CPreviewPane::Page::wave, "16-bit PCM, mono, 11,025 Hz\nDuration: 1.00 s"},
    };
    PakBuilder pak;
    pak.File("gfx/palette.lmp", kPalette);
    for (const Case& test : cases)
        pak.File(std::string("f/") + test.name, test.bytes);
    OpenFrame(WritePak(pak, "pak0.pak"));
    for (const Case& test : cases) {
        Select("f", QString::fromLatin1(test.name));
        EXPECT_EQ(Pane().GetPage(), test.page) << test.name;
        const QString all = Pane().DetailText() + u'\n' + Pane().MessageText() + u'\n' + Rows().join(u'\n');
        EXPECT_TRUE(all.contains(QString::fromUtf8(test.shown))) << test.name << ": " << all.toStdString();
    }
}

TEST_F(Preview, APictureIsItsIndicesWithThePalettesColours)
{
    OpenAndSelect(PakBuilder().File("gfx/palette.lmp", kPalette).File("gfx/pic.lmp", BuildQpic(4, 2, 3).bytes), "gfx",
                  "pic.lmp");
    ASSERT_EQ(Pane().GetPage(), CPreviewPane::Page::picture);
    EXPECT_TRUE(Pane().DetailText().contains("pak0.pak: gfx/palette.lmp")) << Pane().DetailText().toStdString();
    const QImage& image = Pane().PictureView().GetImage();
    ASSERT_EQ(image.format(), QImage::Format_Indexed8);
    ASSERT_EQ(image.size(), QSize(4, 2));
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(image.pixelIndex(x, y), PatternIndex(x, y, 3)) << x << "," << y;
    }
    EXPECT_EQ(image.color(250), qRgb(250, 5, 125));
    // 255 is a qpic's transparent index; the checkerboard shows through.
    EXPECT_EQ(qAlpha(image.color(255)), 0);
    for (const int nZoom : {1, 2, 4}) {
        Pane().SetZoom(nZoom);
        EXPECT_EQ(Pane().PictureView().Scale(), nZoom);
    }
}

TEST_F(Preview, AWadShowsNamedThumbnailsWithAnimationsGrouped)
{
    const std::string wad = WadBuilder()
                                .Miptex("+0lava", 16, 16)
                                .Miptex("+1lava", 16, 16)
                                .Miptex("sky1", 32, 16)
                                .Qpic("conback", 8, 4)
                                .Build()
                                .bytes;
    OpenAndSelect(PakBuilder().File("gfx/palette.lmp", kPalette).File("gfx.wad", wad), "", "gfx.wad");
    ASSERT_EQ(Pane().GetPage(), CPreviewPane::Page::grid);
    QStringList labels;
    for (const CThumbnail& thumbnail : Pane().Grid().Thumbnails())
        labels.append(thumbnail.label);
    ASSERT_EQ(labels.size(), 3) << labels.join(u'|').toStdString();
    EXPECT_EQ(labels[0], "lava\n16×16\n2 frames");
    EXPECT_EQ(labels[1], "sky1\n32×16");
    EXPECT_EQ(labels[2], "conback\n8×4");

    // A thumbnail opens on its own, whole, and the pane goes back.
    Pane().ShowContainerPicture(static_cast<int>(Pane().Grid().Thumbnails()[1].images.front()));
    EXPECT_EQ(Pane().GetPage(), CPreviewPane::Page::picture);
    EXPECT_EQ(Pane().PictureView().GetImage().size(), QSize(32, 16));
    Pane().ShowThumbnails();
    EXPECT_EQ(Pane().GetPage(), CPreviewPane::Page::grid);
}

TEST_F(Preview, WithoutAPaletteItSaysSoAndTakesTheOneChosen)
{
    const std::string palettePath = m_dir / "chosen.lmp";
    WriteFileBytes(palettePath, kPalette);
    OpenAndSelect(PakBuilder().File("pic.lmp", BuildQpic(2, 2).bytes), "", "pic.lmp");
    EXPECT_EQ(Pane().GetPage(), CPreviewPane::Page::message);
    EXPECT_TRUE(Pane().MessageText().startsWith("No palette")) << Pane().MessageText().toStdString();
    ASSERT_TRUE(Pane().IsOfferingPalette());

    m_prompt.AnswerOpenFile(QString::fromStdString(palettePath));
    Pane().ChoosePalette();
    EXPECT_EQ(Pane().GetPage(), CPreviewPane::Page::picture);
    EXPECT_EQ(Stored("Options", "PaletteFile").toString(), QString::fromStdString(palettePath));
    EXPECT_TRUE(m_prompt.AllAnswered());
}

TEST_F(Preview, ExportWritesTheChosenThumbnailAsPng)
{
    const std::string wad = WadBuilder().Miptex("stone", 16, 16).Build().bytes;
    OpenAndSelect(PakBuilder().File("gfx/palette.lmp", kPalette).File("textures.wad", wad), "", "textures.wad");
    ASSERT_EQ(Pane().GetPage(), CPreviewPane::Page::grid);
    Pane().Grid().setCurrentRow(0);
    const std::string out = m_dir / "stone.png";
    m_prompt.AnswerPopupMenu(ID_PREVIEW_EXPORT);
    m_prompt.AnswerSaveFile(QString::fromStdString(out));
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), Pane().mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&Pane(), &event);
    EXPECT_TRUE(m_prompt.AllAnswered());
    ASSERT_GE(m_prompt.Questions().size(), 2u);
    EXPECT_EQ(m_prompt.Questions()[1].chooser.strInitialName, "stone.png");
    EXPECT_EQ(ReadFileBytes(out).substr(0, 8), "\x89PNG\r\n\x1a\n");
}

TEST_F(Preview, PlayAndStopGoToTheSoundPlayer)
{
    OpenAndSelect(PakBuilder().File("sound/s.wav", kWave), "sound", "s.wav");
    ASSERT_EQ(Pane().GetPage(), CPreviewPane::Page::wave);
    EXPECT_TRUE(Pane().MessageText().contains("Loops from 0.50 s (frame 5,512")) << Pane().MessageText().toStdString();
    QTest::mouseClick(Pane().findChild<QPushButton*>("previewPlay"), Qt::LeftButton);
    QTest::mouseClick(Pane().findChild<QPushButton*>("previewStop"), Qt::LeftButton);
    EXPECT_EQ(m_shell.m_player.m_calls, (std::vector<std::string>{"stop", "play 11025 1 11025 loop 5512", "stop"}));
}

TEST(PreviewKind, NamesFirstThenTheFirstBytes)
{
    EXPECT_EQ(PreviewKindOf("scripts/Weapons.QC"), PreviewKind::text);
    EXPECT_EQ(PreviewKindOf("maps/e1m1.ent"), PreviewKind::text);
    EXPECT_EQ(PreviewKindOf("maps/E1M1.BSP"), PreviewKind::picture);
    EXPECT_EQ(PreviewKindOf("sound/a.WAV"), PreviewKind::wave);
    EXPECT_EQ(PreviewKindOf("maps.txt/readme"), PreviewKind::unknown);
    EXPECT_EQ(PreviewKindOf("progs.dat"), PreviewKind::unknown);

    struct Case {
        QByteArray sample;
        bool bText;
        TextEncoding encoding;
    };
    const Case cases[] = {
        {"plain\r\n\tline\f\x1A", true, TextEncoding::utf8},
        {"", true, TextEncoding::utf8},
        {QByteArray("nul\0inside", 10), false, TextEncoding::utf8},
        {"one stray \x01 in a short text", false, TextEncoding::utf8},
        {QByteArray(200, 'a') + "\x01", true, TextEncoding::utf8},
        {"quake \xE4\xF6 gold", true, TextEncoding::latin1},
        {"caf\xC3\xA9", true, TextEncoding::utf8},
        // A sequence cut by the sample's end is still UTF-8.
        {"caf\xC3\xA9 \xE2\x82", true, TextEncoding::utf8},
        {"lone continuation \x82", true, TextEncoding::latin1},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(LooksLikeText(test.sample), test.bText) << test.sample.toStdString();
        EXPECT_EQ(TextEncodingOf(test.sample), test.encoding) << test.sample.toStdString();
    }
}

// --- Following the selection ------------------------------------------------------------------

TEST_F(Preview, FollowsTheSelectionOnlyOnceItRests)
{
    PakBuilder pak;
    pak.File("gfx/palette.lmp", kPalette);
    for (int i = 0; i < 50; ++i)
        pak.File("gfx/p" + std::to_string(100 + i) + ".lmp", BuildQpic(8, 8).bytes);
    OpenFrame(WritePak(pak));
    Enter("gfx");
    SelectRows({0});
    List().setFocus();
    Frame().SetActivePane(&List());
    // The arrow key held: rows go by faster than the pane's rest time.
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(&List(), Qt::Key_Down);
        EXPECT_TRUE(Pane().IsWaitingForRest());
    }
    EXPECT_EQ(Pane().DecodeCount(), 0);
    ASSERT_SOON(Pane().GetPage() == CPreviewPane::Page::picture);
    EXPECT_EQ(Pane().DecodeCount(), 1);
    EXPECT_TRUE(Pane().TitleText().startsWith(Column()[List().GetSelectedRows().front()]));
}

TEST_F(Preview, TheToggleHidesItAndTheStateIsRemembered)
{
    OpenFrame(std::string());
    QSplitter* pSplitter = Frame().findChild<QSplitter*>("splitter");
    EXPECT_FALSE(Pane().isHidden());
    EXPECT_TRUE(Frame().GetCommandAction(ID_VIEW_PREVIEW)->isChecked());
    pSplitter->setSizes({100, 300, 170});
    const int nWidth = pSplitter->sizes().value(2);

    Frame().RouteCommand(ID_VIEW_PREVIEW);
    EXPECT_TRUE(Pane().isHidden());
    EXPECT_FALSE(Frame().GetCommandAction(ID_VIEW_PREVIEW)->isChecked());
    CloseFrame();
    EXPECT_EQ(Stored("Window size", "Preview").toInt(), 0);
    EXPECT_EQ(Stored("Window size", "PreviewWidth").toInt(), nWidth);

    m_pFrame.reset();
    OpenFrame(std::string());
    EXPECT_TRUE(Pane().isHidden());
    Frame().RouteCommand(ID_VIEW_PREVIEW);
    EXPECT_FALSE(Pane().isHidden());
    EXPECT_EQ(Frame().findChild<QSplitter*>("splitter")->sizes().value(2), nWidth);
    CloseFrame();
    EXPECT_EQ(Stored("Window size", "Preview").toInt(), 1);
}

TEST_F(Preview, NextPanePassesOverTheHiddenPreview)
{
    OpenFrame(std::string());
    Frame().SetActivePane(&List());
    Frame().RouteCommand(ID_NEXT_PANE);
    EXPECT_EQ(Frame().GetActivePane(), &Pane());
    Frame().RouteCommand(ID_VIEW_PREVIEW);
    // Hiding the active preview hands the commands back to the list.
    EXPECT_EQ(Frame().GetActivePane(), &List());
    Frame().RouteCommand(ID_NEXT_PANE);
    EXPECT_EQ(Frame().GetActivePane(), &Tree());
}

// --- Pictures as Qt images and thumbnails ---------------------------------------------------

CIndexedImage Picture(const char* name, const char* group = "", int nFrame = -1, AssetFault fault = AssetFault::none)
{
    CIndexedImage picture;
    picture.name = name;
    picture.nWidth = 2;
    picture.nHeight = 1;
    picture.pixels = {0, 255};
    picture.animationGroup = group;
    picture.nAnimationFrame = nFrame;
    picture.fault = fault;
    return picture;
}

TEST(Thumbnails, AnimationsShareTheirFirstFramesPlace)
{
    const std::vector<CIndexedImage> pictures = {
        Picture("+1lava", "lava", 1),      Picture("wall"), Picture("+0lava", "lava", 0),
        Picture("+a lava", "lava (alternate)", 0), Picture("texture 4", "", -1, AssetFault::missing),
        Picture("+2lava", "lava", 2),      Picture("+x", "x", 0, AssetFault::truncated),
    };
    struct Expected {
        std::vector<std::size_t> images;
        const char* label;
    };
    const std::vector<Expected> expected = {
        {{2, 0, 5}, "lava\n2×1\n3 frames"}, {{1}, "wall\n2×1"}, {{3}, "+a lava\n2×1"},
        {{4}, "texture 4\n(missing)"},       {{6}, "+x\n(damaged)"},
    };
    const std::vector<CThumbnail> thumbnails = GroupThumbnails(pictures);
    ASSERT_EQ(thumbnails.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(thumbnails[i].images, expected[i].images) << i;
        EXPECT_EQ(thumbnails[i].label, QString::fromUtf8(expected[i].label)) << i;
    }
}

TEST(Thumbnails, OnlyTheTransparentIndexIsClear)
{
    CPalette palette;
    palette.rgb.fill(0x40);
    for (const int nTransparent : {-1, 0, 255}) {
        CIndexedImage picture = Picture("p");
        picture.nTransparentIndex = nTransparent;
        const QImage image = ToQImage(picture, palette);
        ASSERT_EQ(image.format(), QImage::Format_Indexed8);
        for (const int nIndex : {0, 1, 254, 255})
            EXPECT_EQ(qAlpha(image.color(nIndex)), nIndex == nTransparent ? 0 : 255) << nTransparent << " " << nIndex;
    }
    EXPECT_TRUE(ToQImage(Picture("bad", "", -1, AssetFault::truncated), palette).isNull());
}

// --- Big entries ----------------------------------------------------------------------------------

TEST_F(Preview, ABigEntryIsReadAScreenAtATime)
{
    constexpr std::size_t kBig = 24u << 20;
    std::string text;
    text.reserve(kBig);
    for (int nLine = 0; text.size() < kBig; ++nLine)
        text += "line " + std::to_string(nLine) + " of a long log\n";
    std::string data(kBig, '\x01');
    data.back() = '\x7F';
    OpenFrame(WritePak(PakBuilder().File("big.log", text).File("big.dat", data)));
    struct Case {
        const char* name;
        CPreviewPane::Page page;
        const char* lastRow;  // in the last row at the bottom of the entry
    };
    for (const Case& test : {Case{"big.log", CPreviewPane::Page::text, " of a long log"},
                             Case{"big.dat", CPreviewPane::Page::hex, "01 01 01 7f"}}) {
        Select("", QString::fromLatin1(test.name));
        ASSERT_EQ(Pane().GetPage(), test.page) << test.name;
        QScrollBar* pBar = Pane().TextView().verticalScrollBar();
        pBar->setValue(pBar->maximum() / 2);
        pBar->setValue(pBar->maximum());
        const QStringList rows = Rows();
        ASSERT_FALSE(rows.isEmpty()) << test.name;
        EXPECT_TRUE(rows.constLast().contains(QString::fromLatin1(test.lastRow)))
            << test.name << ": " << rows.constLast().toStdString();
        EXPECT_LT(Pane().TextView().Reader().BytesRead(), 256u << 10) << test.name;
    }
}

}  // namespace
