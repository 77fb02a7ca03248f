// Items leaving the pak for the desktop (Copy, Cut, drags): extracting them
// through CPakDataSource into a transfer folder, and rendering the URL list
// a receiver pastes.
//
//   vantor_bench_transfer [Google Benchmark options]
//       BM_ExtractToTemp     one folder of many files (2 000 files, 128 MiB;
//                            VANTOR_BENCH_TRANSFER_FULL=1 for 10 000 files,
//                            1 GiB), the data set written once
//       BM_RenderUrlList/N   the offered formats rebuilt and read as a
//                            receiver reads them, for N extracted files
//                            (target: under 50 ms for 10 000)
//   vantor_bench_transfer extract PAK DIR
//       prints the seconds of one ExtractToTemp of every top-level item of
//       PAK, the transfer folder made inside DIR (bench/run compares this
//       with vantor-pak extract of the same pak)
#include "pak_archive.h"
#include "pak_data_source.h"
#include "pak_format.h"
#include "shell_services.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace vantor;

namespace {

// Only the private folder is asked for.
class CBenchShell : public IShellServices {
public:
    explicit CBenchShell(QString folder) : m_folder(std::move(folder)) {}
    QString GetTypeName(const QString&) override { return QStringLiteral("Unknown"); }
    QIcon GetFileIcon(const QString&) override { return {}; }
    QIcon GetFolderIcon(FolderIcon) override { return {}; }
    QString GetMimeType(const QString&) override { return QStringLiteral("application/octet-stream"); }
    QString GetDefaultApplication(const QString&) override { return {}; }
    CLaunchOutcome OpenWithDefaultApplication(const std::string&, const QString&, const std::string&) override
    {
        return {};
    }
    QString GetTempPath() override { return m_folder; }
    QString GetPrivateTempPath() override { return m_folder; }
    Qt::DropAction StartDrag(QWidget*, QMimeData* pData, Qt::DropActions) override
    {
        delete pData;
        return Qt::IgnoreAction;
    }
    IWavePlayer& GetWavePlayer() override { return m_silence; }

private:
    class CSilence : public IWavePlayer {
    public:
        bool Play(CDecodedWave) override { return false; }
        void Stop() override {}
    };
    QString m_folder;
    CSilence m_silence;
};

// A scratch folder for the run, removed at exit.
const std::string& Scratch()
{
    // Never destroyed: the exit handler still needs it.
    static const std::string* folder = [] {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/vantor-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        std::atexit([] { std::filesystem::remove_all(*folder); });
        return new std::string(pattern);
    }();
    return *folder;
}

// Writes a pak of `count` entries named by `name`, `bytes` in all, their
// data streamed from one block of pseudo-random bytes.
template <typename NameFn>
std::string WritePak(const std::string& file, std::size_t count, std::uint64_t bytes, NameFn name)
{
    const std::string path = Scratch() + "/" + file;
    std::ofstream out(path, std::ios::binary);
    std::vector<char> block(1 << 20);
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (char& c : block) c = static_cast<char>((state = state * 6364136223846793005ull + 1442695040888963407ull) >> 56);
    std::vector<PakEntry> entries(count);
    std::uint64_t offset = kPakHeaderSize;
    out.seekp(static_cast<std::streamoff>(kPakHeaderSize));
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t length = bytes / count + (i < bytes % count ? 1 : 0);
        entries[i].SetName(name(i));
        entries[i].offset = static_cast<std::uint32_t>(offset);
        entries[i].length = static_cast<std::uint32_t>(length);
        // Each entry starts elsewhere in the block, so no two are alike.
        const std::size_t shift = (i * 4099) % 4096;
        for (std::uint64_t done = 0; done < length;) {
            const auto part = static_cast<std::size_t>(std::min<std::uint64_t>(length - done, block.size() - 4096));
            out.write(block.data() + shift, static_cast<std::streamsize>(part));
            done += part;
        }
        offset += length;
    }
    PakHeader header = EmptyPakHeader();
    header.dirOffset = static_cast<std::uint32_t>(offset);
    header.dirLength = static_cast<std::uint32_t>(count * kPakEntrySize);
    std::vector<unsigned char> directory(count * kPakEntrySize);
    for (std::size_t i = 0; i < count; ++i) EncodeEntry(entries[i], directory.data() + i * kPakEntrySize);
    out.write(reinterpret_cast<const char*>(directory.data()), static_cast<std::streamsize>(directory.size()));
    const PakHeaderBytes head = EncodeHeader(header);
    out.seekp(0);
    out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
    return path;
}

std::string Numbered(const char* pattern, std::size_t i)
{
    char name[64];
    std::snprintf(name, sizeof name, pattern, static_cast<unsigned>(i % 100), static_cast<unsigned>(i));
    return name;
}

// Every item directly in the root: files as files, folders as folders.
void SelectRoot(CPakArchive& pak, CPakDataSource& source)
{
    StringArray files;
    StringArray folders;
    pak.ListFolderFiles("", files);
    pak.ListSubfolders("", folders);
    for (std::string& folder : folders) folder += '/';
    source.SetItems(std::vector<std::string>(files.begin(), files.end()),
                    std::vector<std::string>(folders.begin(), folders.end()));
}

void BM_ExtractToTemp(benchmark::State& state)
{
    const bool bFull = std::getenv("VANTOR_BENCH_TRANSFER_FULL") != nullptr;
    const std::size_t count = bFull ? 10000 : 2000;
    const std::uint64_t bytes = bFull ? (std::uint64_t{1} << 30) : (std::uint64_t{128} << 20);
    static const std::string path =
        WritePak("extract.pak", count, bytes, [](std::size_t i) { return Numbered("t/d%02u/f%05u.dat", i); });
    CPakArchive pak;
    if (!pak.OpenPak(path)) {
        state.SkipWithError("cannot open the pak");
        return;
    }
    CBenchShell shell(QString::fromStdString(Scratch()));
    CPakDataSource source(pak, shell);
    SelectRoot(pak, source);
    for (auto _ : state) {
        if (!source.ExtractToTemp()) state.SkipWithError("the extraction failed");
        state.PauseTiming();
        source.DeleteTempFiles();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["files"] = static_cast<double>(count);
}

void BM_RenderUrlList(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::string path = WritePak("urls" + std::to_string(count) + ".pak", count, 0,
                                      [](std::size_t i) { return Numbered("some folder %02u/%05u \xe9.dat", i); });
    CPakArchive pak;
    if (!pak.OpenPak(path)) {
        state.SkipWithError("cannot open the pak");
        return;
    }
    CBenchShell shell(QString::fromStdString(Scratch()));
    CPakDataSource source(pak, shell);
    StringArray folders;
    pak.ListSubfolders("", folders);
    std::vector<std::string> files;
    for (const std::string& folder : folders) {
        StringArray leaves;
        pak.ListFolderFiles(folder, leaves);
        for (const std::string& leaf : leaves) files.push_back(folder + "/" + leaf);
    }
    source.SetItems(files, {});
    if (!source.ExtractToTemp() || source.OfferedPaths().size() != count) {
        state.SkipWithError("the extraction failed");
        return;
    }
    bool bCut = false;
    for (auto _ : state) {
        // Switching between Copy and Cut builds every format anew.
        source.SetCut(bCut = !bCut);
        benchmark::DoNotOptimize(source.data(QStringLiteral("text/uri-list")));
        benchmark::DoNotOptimize(source.data(QStringLiteral("x-special/gnome-copied-files")));
    }
}

BENCHMARK(BM_ExtractToTemp)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RenderUrlList)->Arg(10000)->Unit(benchmark::kMillisecond);

int ExtractOnce(const char* pakPath, const char* folder)
{
    CPakArchive pak;
    if (!pak.OpenPak(pakPath)) {
        std::fprintf(stderr, "vantor_bench_transfer: cannot open %s\n", pakPath);
        return 1;
    }
    CBenchShell shell(QString::fromLocal8Bit(folder));
    CPakDataSource source(pak, shell);
    SelectRoot(pak, source);
    const auto start = std::chrono::steady_clock::now();
    const bool bOk = source.ExtractToTemp();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    if (!bOk) {
        std::fprintf(stderr, "vantor_bench_transfer: %s\n", source.DescribeError().toLocal8Bit().constData());
        return 1;
    }
    std::printf("%.4f\n", seconds.count());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "extract")
        return ExtractOnce(argv[2], argv[3]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
