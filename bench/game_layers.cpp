// Resolving a game folder: id1 and a mod with 10 paks of 2 048 entries and
// 5 000 loose files between them.
//
// BM_ResolveCold             a new resolver each time: every pak read
// BM_ResolveAfterOnePakChange one pak rewritten between runs: only it is read
#include "game_layers.h"
#include "pak_format.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace vantor;
namespace fs = std::filesystem;

namespace {

constexpr int kEntriesPerPak = 2048;

void WritePak(const fs::path& path, int nSeed)
{
    std::string bytes(kPakHeaderSize, '\0');
    PakHeader header = EmptyPakHeader();
    header.dirOffset = static_cast<std::uint32_t>(kPakHeaderSize);
    header.dirLength = static_cast<std::uint32_t>(kEntriesPerPak * kPakEntrySize);
    const PakHeaderBytes head = EncodeHeader(header);
    std::copy(head.begin(), head.end(), bytes.begin());
    bytes.resize(kPakHeaderSize + header.dirLength);
    for (int i = 0; i < kEntriesPerPak; ++i) {
        PakEntry entry;
        char name[48];
        // Half the names are shared by every pak, so copies shadow copies.
        std::snprintf(name, sizeof name, "sound/s%02d/n%05d.wav", i % 40, i % 2 ? i : i + nSeed * kEntriesPerPak);
        entry.SetName(name);
        entry.offset = static_cast<std::uint32_t>(kPakHeaderSize);
        EncodeEntry(entry, reinterpret_cast<unsigned char*>(bytes.data()) + kPakHeaderSize + i * kPakEntrySize);
    }
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

const fs::path& GameFolder()
{
    static const fs::path base = [] {
        const fs::path folder = fs::temp_directory_path() / ("vantor-bench-game-" + std::to_string(::getpid()));
        fs::create_directories(folder / "id1");
        fs::create_directories(folder / "mod");
        WritePak(folder / "id1/pak0.pak", 0);
        WritePak(folder / "id1/pak1.pak", 1);
        for (int n = 0; n < 8; ++n)
            WritePak(folder / "mod" / ("pak" + std::to_string(n) + ".pak"), n + 2);
        for (int i = 0; i < 5000; ++i) {
            const fs::path sub = folder / "mod" / ("maps" + std::to_string(i % 50));
            fs::create_directories(sub);
            std::ofstream(sub / ("m" + std::to_string(i) + ".bsp")) << 'x';
        }
        std::atexit([] { fs::remove_all(GameFolder()); });
        return folder;
    }();
    return base;
}

void BM_ResolveCold(benchmark::State& state)
{
    const std::string base = GameFolder().string();
    for (auto _ : state) {
        CGameResolver resolver;
        CGameView view;
        resolver.Resolve(base, {"id1", "mod"}, GameProfile::classic, view);
        benchmark::DoNotOptimize(view.files.data());
    }
}
BENCHMARK(BM_ResolveCold)->Unit(benchmark::kMillisecond);

void BM_ResolveAfterOnePakChange(benchmark::State& state)
{
    const std::string base = GameFolder().string();
    CGameResolver resolver;
    CGameView view;
    resolver.Resolve(base, {"id1", "mod"}, GameProfile::classic, view);
    int nSeed = 100;
    for (auto _ : state) {
        state.PauseTiming();
        WritePak(GameFolder() / "mod/pak3.pak", ++nSeed);
        state.ResumeTiming();
        resolver.Resolve(base, {"id1", "mod"}, GameProfile::classic, view);
        benchmark::DoNotOptimize(view.files.data());
    }
    state.counters["files"] = static_cast<double>(view.files.size());
}
BENCHMARK(BM_ResolveAfterOnePakChange)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
