// The preview pane, offscreen in the real main window: showing a 256×256 and
// a 1024×1024 picture (reading the entry, decoding, building the indexed
// image and painting it), the thumbnails of a WAD of 200 textures, and one
// press of the arrow key in a folder of 10 000 pictures with the pane shown
// (the list moves; the pane only waits for the selection to rest).
//
// Settings go to a private folder, never the user's.
#include "desktop_shell.h"
#include "main_frame.h"
#include "pak_list.h"
#include "pak_tree.h"
#include "preview_pane.h"
#include "bench_prompt.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace vantor;

namespace {

// --- The pak the benchmarks show ------------------------------------------------------------

void PutLE32(std::string& bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string Pixels(std::size_t nCount)
{
    std::string pixels(nCount, '\0');
    for (std::size_t i = 0; i < nCount; ++i)
        pixels[i] = static_cast<char>(i * 7 % 256);
    return pixels;
}

std::string Qpic(int nSide)
{
    std::string bytes;
    PutLE32(bytes, static_cast<std::uint32_t>(nSide));
    PutLE32(bytes, static_cast<std::uint32_t>(nSide));
    return bytes + Pixels(static_cast<std::size_t>(nSide) * static_cast<std::size_t>(nSide));
}

std::string Miptex(const std::string& name, int nSide)
{
    std::string bytes = name;
    bytes.resize(16, '\0');
    PutLE32(bytes, static_cast<std::uint32_t>(nSide));
    PutLE32(bytes, static_cast<std::uint32_t>(nSide));
    std::uint32_t nOffset = 40;
    std::string mips;
    for (int nLevel = 0; nLevel < 4; ++nLevel) {
        PutLE32(bytes, nOffset);
        const auto nMip = static_cast<std::size_t>(nSide >> nLevel);
        mips += Pixels(nMip * nMip);
        nOffset += static_cast<std::uint32_t>(nMip * nMip);
    }
    return bytes + mips;
}

std::string Wad2Of200Textures()
{
    std::string data;
    std::string table;
    for (int i = 0; i < 200; ++i) {
        const std::string name = "tex" + std::to_string(i);
        const std::string lump = Miptex(name, i % 4 == 0 ? 128 : 64);
        PutLE32(table, static_cast<std::uint32_t>(12 + data.size()));
        PutLE32(table, static_cast<std::uint32_t>(lump.size()));
        PutLE32(table, static_cast<std::uint32_t>(lump.size()));
        table += '\x44';
        table += std::string(3, '\0');
        std::string field = name;
        field.resize(16, '\0');
        table += field;
        data += lump;
    }
    std::string bytes = "WAD2";
    PutLE32(bytes, 200);
    PutLE32(bytes, static_cast<std::uint32_t>(12 + data.size()));
    return bytes + data + table;
}

// A pak of entries (name, bytes), the directory at the end.
void WritePak(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries)
{
    std::string data;
    std::string directory;
    for (const auto& [name, bytes] : entries) {
        std::string field = name;
        field.resize(56, '\0');
        directory += field;
        PutLE32(directory, static_cast<std::uint32_t>(12 + data.size()));
        PutLE32(directory, static_cast<std::uint32_t>(bytes.size()));
        data += bytes;
    }
    std::string header = "PACK";
    PutLE32(header, static_cast<std::uint32_t>(12 + data.size()));
    PutLE32(header, static_cast<std::uint32_t>(directory.size()));
    std::ofstream(path, std::ios::binary) << header << data << directory;
}

struct CWindow {
    CBenchPrompt prompt{"vantor_bench_preview", true};
    CDesktopShell shell;
    std::unique_ptr<CMainFrame> pFrame;
};
CWindow* g_pWindow = nullptr;
QString g_strPak;

CMainFrame& Frame()
{
    return *g_pWindow->pFrame;
}

// Selects the row of name in folder; the pane is then told to show it now.
void SelectRow(const QString& folder, const QString& name)
{
    CPakTree& tree = *Frame().GetTree();
    QTreeWidgetItem* pFolder = folder.isEmpty() ? tree.GetRootItem() : tree.FindChildFolder(tree.GetRootItem(), folder);
    if (tree.GetCurrentFolder() != pFolder)
        tree.SelectFolder(pFolder);
    CPakList& list = *Frame().GetList();
    const int nRow = list.Model().FindRow(name);
    list.clearSelection();
    list.selectionModel()->select(list.Model().index(nRow, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ShowEntry(benchmark::State& state, const QString& folder, const QString& name, CPreviewPane::Page page)
{
    CPreviewPane& pane = *Frame().GetPreview();
    SelectRow(folder, name);
    for (auto _ : state) {
        pane.OnSelectionMoved();  // forgets what it shows, so it reads and decodes again
        pane.ShowSelection();
        pane.repaint();
    }
    if (pane.GetPage() != page)
        state.SkipWithError("the entry was not shown as expected");
}

void BM_ShowPicture256(benchmark::State& state)
{
    ShowEntry(state, QStringLiteral("gfx"), QStringLiteral("p256.lmp"), CPreviewPane::Page::picture);
}
void BM_ShowPicture1024(benchmark::State& state)
{
    ShowEntry(state, QStringLiteral("gfx"), QStringLiteral("p1024.lmp"), CPreviewPane::Page::picture);
}
void BM_ShowWadOf200Textures(benchmark::State& state)
{
    ShowEntry(state, QStringLiteral("gfx"), QStringLiteral("textures.wad"), CPreviewPane::Page::grid);
}

// One arrow key press in 10 000 rows, the list repainted: what holding the
// key costs each row, with the pane shown (1) and hidden (0).
void BM_ArrowKey(benchmark::State& state)
{
    Frame().GetPreview()->setVisible(state.range(0) != 0);
    CPakList& list = *Frame().GetList();
    SelectRow(QStringLiteral("many"), QStringLiteral("p00000.lmp"));
    list.setCurrentIndex(list.Model().index(0, 0));
    const int nDecodes = Frame().GetPreview()->DecodeCount();
    int nRow = 0;
    for (auto _ : state) {
        QTest::keyClick(&list, ++nRow < list.Model().RowCount() ? Qt::Key_Down : Qt::Key_Home);
        if (nRow >= list.Model().RowCount())
            nRow = 0;
        list.viewport()->repaint();
    }
    if (Frame().GetPreview()->DecodeCount() != nDecodes)
        state.SkipWithError("the pane decoded while the key was held");
    Frame().GetPreview()->show();
}

BENCHMARK(BM_ShowPicture256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowPicture1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowWadOf200Textures)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrowKey)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir work;
    if (!work.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(work.path()));
    QApplication application(argc, argv);

    std::string palette;
    for (int i = 0; i < 256; ++i)
        palette += std::string{static_cast<char>(i), static_cast<char>(255 - i), static_cast<char>(i / 2)};
    std::vector<std::pair<std::string, std::string>> entries{{"gfx/palette.lmp", palette},
                                                             {"gfx/p256.lmp", Qpic(256)},
                                                             {"gfx/p1024.lmp", Qpic(1024)},
                                                             {"gfx/textures.wad", Wad2Of200Textures()}};
    const std::string small = Qpic(8);
    for (int i = 0; i < 10000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "many/p%05d.lmp", i);
        entries.emplace_back(name, small);
    }
    g_strPak = work.filePath(QStringLiteral("pak0.pak"));
    WritePak(g_strPak.toStdString(), entries);

    CWindow window;
    g_pWindow = &window;
    window.pFrame = std::make_unique<CMainFrame>(window.prompt, window.shell, QString());
    if (!window.pFrame->Create())
        return 1;
    window.pFrame->ActivateFrame();
    window.pFrame->resize(1280, 800);
    QApplication::processEvents();
    if (!window.pFrame->GetTree()->LoadAndShowPak(g_strPak))
        return 1;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window.pFrame->close();
    return 0;
}
