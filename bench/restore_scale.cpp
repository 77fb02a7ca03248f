// Gibbing a folder of 10 000 entries and restoring every one of them as one
// batch (what the views' restore run does): each should cost one commit,
// not one per entry.
//
// BM_GibFolder       GibFolder on the folder (one commit)
// BM_RestoreFolder   RestoreByName for each gibbed name inside one CPakBatch
#include "pak_archive.h"
#include "pak_format.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace vantor;

namespace {

constexpr int kEntries = 10000;

// One byte of data per entry, so every restore checks real ranges; the
// directory ends the file.
std::string BuildPak()
{
    std::string bytes(kPakHeaderSize + kEntries, 'x');
    PakHeader header = EmptyPakHeader();
    header.dirOffset = static_cast<std::uint32_t>(bytes.size());
    header.dirLength = static_cast<std::uint32_t>(kEntries * kPakEntrySize);
    const PakHeaderBytes head = EncodeHeader(header);
    std::copy(head.begin(), head.end(), bytes.begin());
    bytes.resize(bytes.size() + header.dirLength);
    for (int i = 0; i < kEntries; ++i) {
        PakEntry entry;
        char name[40];
        std::snprintf(name, sizeof name, "maps/g%02d/e%05d.bsp", i % 50, i);
        entry.SetName(name);
        entry.offset = static_cast<std::uint32_t>(kPakHeaderSize + static_cast<std::size_t>(i));
        entry.length = 1;
        EncodeEntry(entry, reinterpret_cast<unsigned char*>(bytes.data()) + header.dirOffset + i * kPakEntrySize);
    }
    return bytes;
}

const std::string& PakPath()
{
    static const std::string* path = [] {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/vantor-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        static const std::string folder = pattern;
        std::atexit([] { std::filesystem::remove_all(folder); });
        return new std::string(pattern + "/restore.pak");
    }();
    return *path;
}

// A fresh copy of the pak, opened (outside the timing).
void OpenFresh(CPakArchive& pak)
{
    static const std::string bytes = BuildPak();
    pak.ClosePak();
    std::ofstream(PakPath(), std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!pak.OpenPak(PakPath())) std::abort();
}

void BM_GibFolder(benchmark::State& state)
{
    CPakArchive pak;
    for (auto _ : state) {
        state.PauseTiming();
        OpenFresh(pak);
        state.ResumeTiming();
        if (!pak.GibFolder("maps")) state.SkipWithError("gib failed");
    }
    state.counters["entries"] = kEntries;
}

void BM_RestoreFolder(benchmark::State& state)
{
    CPakArchive pak;
    for (auto _ : state) {
        state.PauseTiming();
        OpenFresh(pak);
        if (!pak.GibFolder("maps")) state.SkipWithError("gib failed");
        state.ResumeTiming();
        StringArray names;
        pak.GetGibbedNames(names);
        CPakBatch batch(pak);
        for (const std::string& name : names)
            if (!pak.RestoreByName(name)) state.SkipWithError("restore failed");
        if (!batch.End() || pak.GetEntries().size() != kEntries) state.SkipWithError("commit failed");
    }
    state.counters["entries"] = kEntries;
}

}  // namespace

BENCHMARK(BM_GibFolder)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RestoreFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
