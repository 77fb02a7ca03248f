// Items arriving in a pak from the desktop (Paste, drops): the disk items
// added through the engine in one batch, as a paste adds them.
//
//   vantor_bench_paste [Google Benchmark options]
//       BM_PasteFolder       the items of one disk folder pasted into an
//                            empty pak (2 000 files, 128 MiB;
//                            VANTOR_BENCH_PASTE_FULL=1 for 10 000 files,
//                            1 GiB), the disk folder written once
//   vantor_bench_paste paste PAK DIR
//       prints the seconds of opening PAK, pasting every item of DIR into
//       the pak folder named after DIR, committing and closing (bench/run
//       compares this with vantor-pak add PAK DIR, which gives the same
//       entries)
#include "pak_archive.h"
#include "pak_names.h"

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
namespace fs = std::filesystem;

namespace {

// A scratch folder for the run, removed at exit.
const std::string& Scratch()
{
    // Never destroyed: the exit handler still needs it.
    static const std::string* folder = [] {
        std::string pattern = fs::temp_directory_path().string() + "/vantor-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        std::atexit([] { fs::remove_all(*folder); });
        return new std::string(pattern);
    }();
    return *folder;
}

// `count` files, `bytes` in all, over count / 25 folders two levels deep,
// with a few files directly in the top folder so that the paste adds both
// files and folders. Sizes range from half to one and a half times the mean.
std::string WriteTree(std::size_t count, std::uint64_t bytes)
{
    const fs::path root = fs::path(Scratch()) / "t";
    std::vector<char> block(2 << 20);
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (char& c : block) c = static_cast<char>((state = state * 6364136223846793005ull + 1442695040888963407ull) >> 56);
    const std::size_t folders = std::max<std::size_t>(1, count / 25);
    const std::uint64_t mean = bytes / count;
    for (std::size_t i = 0; i < count; ++i) {
        // Room for the widest numbers size_t can print, which the compiler
        // checks the format against.
        char name[96];
        // Every 50th file stays in the top folder.
        if (i % 50 == 0)
            std::snprintf(name, sizeof name, "f%05zu.dat", i);
        else
            std::snprintf(name, sizeof name, "d%02zu/e%03zu/f%05zu.dat", i % folders % 20, i % folders, i);
        const fs::path path = root / name;
        fs::create_directories(path.parent_path());
        const std::uint64_t length = mean / 2 + (i * 7919) % (mean + 1);
        std::ofstream out(path, std::ios::binary);
        const std::size_t shift = (i * 4099) % (1 << 20);
        for (std::uint64_t done = 0; done < length;) {
            const auto part = static_cast<std::size_t>(std::min<std::uint64_t>(length - done, 1 << 20));
            out.write(block.data() + shift, static_cast<std::streamsize>(part));
            done += part;
        }
    }
    return root.string();
}

// Opens the pak, pastes the items of diskFolder into the pak folder of the
// same name (so the entries match vantor-pak add of the folder), commits
// and closes. The checks and calls per item are the paste's own: a file
// goes in through AddFileFromDisk, a folder through ImportFolder, all in
// one batch; nothing is there to be replaced.
bool Paste(const std::string& pakPath, const std::string& diskFolder, std::string& error)
{
    CPakArchive pak;
    if (!pak.OpenPak(pakPath)) {
        error = pak.GetErrorText();
        return false;
    }
    std::vector<std::string> items;
    for (const fs::directory_entry& item : fs::directory_iterator(diskFolder)) items.push_back(item.path().string());
    std::sort(items.begin(), items.end());
    const std::string query = '/' + fs::path(diskFolder).filename().string();
    bool bOk = true;
    {
        CPakBatch batch(pak);
        for (const std::string& path : items) {
            // The paste's two checks: a name the other kind takes, and one
            // it would ask about replacing. The pak starts empty: neither
            // may find anything.
            if (pak.EntryExistsIn(query, path) || pak.FolderExists(query, path)) {
                error = path + ": already in the pak";
                return false;
            }
            const bool bAdded = fs::is_directory(path) ? pak.ImportFolder(path, query, true)
                                                       : pak.AddFileFromDisk(path, query, true);
            if (!bAdded) {
                error = path + ": " + pak.GetErrorText();
                return false;
            }
        }
        if (!batch.End()) {
            error = pak.GetErrorText();
            bOk = false;
        }
    }
    if (!pak.ClosePak() && bOk) {
        error = pak.GetErrorText();
        bOk = false;
    }
    return bOk;
}

void BM_PasteFolder(benchmark::State& state)
{
    const bool bFull = std::getenv("VANTOR_BENCH_PASTE_FULL") != nullptr;
    const std::size_t count = bFull ? 10000 : 2000;
    const std::uint64_t bytes = bFull ? (std::uint64_t{1} << 30) : (std::uint64_t{128} << 20);
    static const std::string tree = WriteTree(count, bytes);
    const std::string pakPath = Scratch() + "/paste.pak";
    std::string error;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(pakPath);
        if (!CPakArchive().CreatePak(Scratch(), "paste.pak")) {
            state.SkipWithError("cannot create the pak");
            break;
        }
        state.ResumeTiming();
        if (!Paste(pakPath, tree, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["files"] = static_cast<double>(count);
}

BENCHMARK(BM_PasteFolder)->Unit(benchmark::kMillisecond)->Iterations(3);

int PasteOnce(const char* pakPath, const char* folder)
{
    std::string diskFolder = folder;
    while (diskFolder.size() > 1 && diskFolder.back() == '/') diskFolder.pop_back();
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    const bool bOk = Paste(pakPath, diskFolder, error);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    if (!bOk) {
        std::fprintf(stderr, "vantor_bench_paste: %s\n", error.c_str());
        return 1;
    }
    std::printf("%.4f\n", seconds.count());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "paste")
        return PasteOnce(argv[2], argv[3]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
