// How fast the views show big paks, measured offscreen in the real main
// window with the real desktop shell. Prints one figure, in seconds:
//
//   vantor_bench_gui open PAK
//       from the request to open PAK to a filled folder tree and root list,
//       painted
//   vantor_bench_gui select PAK FOLDER
//       PAK open: from selecting FOLDER (pak form, "maps/" or "maps") in the
//       tree to its list filled and painted
//   vantor_bench_gui scroll PAK FOLDER
//       FOLDER shown: the slowest of the page-by-page scrolls from the top
//       of its list to the bottom, each one painted
//   vantor_bench_gui filter PAK QUERY
//       every entry listed ("All folders"): the slowest keystroke of typing
//       QUERY into the filter field, from the key to the rows matched, the
//       count shown and the list painted; the time to open the pak and to
//       list every entry go to standard error with each key's
//
// Settings go to a private folder, never the user's.
#include "main_frame.h"
#include "bench_prompt.h"
#include "desktop_shell.h"
#include "list_filter_bar.h"
#include "pak_list.h"
#include "pak_tree.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace vantor;

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

QTreeWidgetItem* FindFolder(CPakTree& tree, const QString& path)
{
    QTreeWidgetItem* pItem = tree.GetRootItem();
    for (const QString& name : path.split(u'/', Qt::SkipEmptyParts)) {
        pItem = tree.FindChildFolder(pItem, name);
        if (!pItem)
            return nullptr;
    }
    return pItem;
}

int Usage()
{
    std::fputs("usage: vantor_bench_gui open PAK\n"
               "       vantor_bench_gui select PAK FOLDER\n"
               "       vantor_bench_gui scroll PAK FOLDER\n"
               "       vantor_bench_gui filter PAK QUERY\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (!((mode == "open" && argc == 3) || ((mode == "select" || mode == "scroll" || mode == "filter") && argc == 4)))
        return Usage();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    if (!settings.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));

    QApplication application(argc, argv);
    const QString pak = QString::fromLocal8Bit(argv[2]);
    CBenchPrompt prompt("vantor_bench_gui", false);
    CDesktopShell shell;
    CMainFrame frame(prompt, shell, QString());
    if (!frame.Create())
        return 1;
    // A window of a common size, so that a realistic number of rows is painted.
    frame.ActivateFrame();
    frame.resize(1024, 768);
    QApplication::processEvents();
    CPakTree& tree = *frame.GetTree();
    CPakList& list = *frame.GetList();

    double dSeconds = 0;
    if (mode == "open") {
        const auto start = std::chrono::steady_clock::now();
        const bool bLoaded = tree.LoadAndShowPak(pak);
        frame.repaint();
        dSeconds = SecondsSince(start);
        if (!bLoaded)
            return 1;
    } else if (mode == "filter") {
        auto load = std::chrono::steady_clock::now();
        if (!tree.LoadAndShowPak(pak))
            return 1;
        frame.repaint();
        std::fprintf(stderr, "%-24s %8.4f s\n", "opened", SecondsSince(load));
        load = std::chrono::steady_clock::now();
        CListFilterBar& bar = *list.GetFilterBar();
        bar.SetAllFolders(true);
        frame.repaint();
        std::fprintf(stderr, "%-24s %8.4f s\n", "All folders on", SecondsSince(load));
        const QString query = QString::fromLocal8Bit(argv[3]);
        for (qsizetype n = 1; n <= query.size(); ++n) {
            const auto start = std::chrono::steady_clock::now();
            bar.Field()->setText(query.left(n));
            bar.FinishMatching();
            const double dMatch = SecondsSince(start);
            frame.repaint();
            const double dKey = SecondsSince(start);
            std::fprintf(stderr, "%-24s %8.4f s (matched in %.4f s)  %s\n", qPrintable(query.left(n)), dKey, dMatch,
                         qPrintable(bar.CountText()));
            dSeconds = std::max(dSeconds, dKey);
        }
    } else {
        if (!tree.LoadAndShowPak(pak))
            return 1;
        QTreeWidgetItem* pFolder = FindFolder(tree, QString::fromLocal8Bit(argv[3]));
        if (!pFolder) {
            std::fprintf(stderr, "vantor_bench_gui: no folder %s in %s\n", argv[3], argv[2]);
            return 1;
        }
        frame.repaint();
        auto start = std::chrono::steady_clock::now();
        tree.SelectFolder(pFolder);
        frame.repaint();
        dSeconds = SecondsSince(start);
        if (mode == "scroll") {
            QScrollBar* pBar = list.verticalScrollBar();
            dSeconds = 0;
            for (int nValue = 0; nValue <= pBar->maximum(); nValue += std::max(1, pBar->pageStep())) {
                start = std::chrono::steady_clock::now();
                pBar->setValue(nValue);
                list.viewport()->repaint();
                dSeconds = std::max(dSeconds, SecondsSince(start));
            }
        }
    }
    if (prompt.m_bAsked)
        return 1;
    std::printf("%.4f\n", dSeconds);
    return 0;
}
