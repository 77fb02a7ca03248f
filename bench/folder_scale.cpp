// How listing one folder scales with the size of the pak: the views fill
// the item list of a 10-entry folder (its files, its sub-folders and each
// file's size) in a pak of 1 000 and of 100 000 entries. The name index is
// meant to make the two cost about the same; a linear scan would make the
// large one a hundred times slower.
//
// BM_ListFolder/N       the listing on an open pak (what every click costs)
// BM_OpenAndList/N      opening the pak and the first listing (the index is
//                       built here), for scale
#include "pak_archive.h"
#include "pak_format.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

using namespace vantor;

namespace {

constexpr const char* kFolder = "maps/target";

// Zero-length entries spread over folders two levels deep, with the listed
// folder's ten entries halfway through the directory.
std::string BuildPak(int entries)
{
    std::vector<std::string> list;
    list.reserve(static_cast<std::size_t>(entries));
    const int others = entries - 10;
    for (int i = 0; i < others; ++i) {
        if (i == others / 2)
            for (int k = 0; k < 10; ++k) list.push_back(std::string(kFolder) + "/e" + std::to_string(k) + ".bsp");
        char name[40];
        std::snprintf(name, sizeof name, "f%03d/g%02d/e%06d.dat", i % 500, (i / 500) % 10, i);
        list.emplace_back(name);
    }
    PakHeader header = EmptyPakHeader();
    header.dirLength = static_cast<std::uint32_t>(list.size() * kPakEntrySize);
    const PakHeaderBytes head = EncodeHeader(header);
    std::string bytes(head.begin(), head.end());
    bytes.resize(kPakHeaderSize + list.size() * kPakEntrySize);
    for (std::size_t i = 0; i < list.size(); ++i) {
        PakEntry entry;
        entry.SetName(list[i]);
        entry.offset = static_cast<std::uint32_t>(kPakHeaderSize);
        EncodeEntry(entry, reinterpret_cast<unsigned char*>(bytes.data()) + kPakHeaderSize + i * kPakEntrySize);
    }
    return bytes;
}

// One pak file per size, written once and removed at exit.
const std::string& PakPath(int entries)
{
    static std::map<int, std::string> paths;
    // Never destroyed: the exit handler still needs it.
    static const std::string* folder = [] {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/vantor-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        std::atexit([] { std::filesystem::remove_all(*folder); });
        return new std::string(pattern);
    }();
    auto [it, added] = paths.emplace(entries, *folder + "/p" + std::to_string(entries) + ".pak");
    if (added) {
        const std::string bytes = BuildPak(entries);
        std::ofstream(it->second, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    return it->second;
}

void FillList(CPakArchive& pak, benchmark::State& state)
{
    StringArray files;
    StringArray folders;
    pak.ListFolderFiles(kFolder, files);
    pak.ListSubfolders(kFolder, folders);
    int sizes = 0;
    for (const std::string& file : files) sizes += pak.GetEntrySizeKB(std::string(kFolder) + "/" + file);
    if (files.size() != 10) state.SkipWithError("the folder does not list its ten entries");
    benchmark::DoNotOptimize(sizes);
    benchmark::DoNotOptimize(folders.data());
}

void BM_ListFolder(benchmark::State& state)
{
    CPakArchive pak;
    if (!pak.OpenPak(PakPath(static_cast<int>(state.range(0))))) {
        state.SkipWithError("cannot open the pak");
        return;
    }
    FillList(pak, state);  // the first listing builds the index
    for (auto _ : state) FillList(pak, state);
}

void BM_OpenAndList(benchmark::State& state)
{
    const std::string& path = PakPath(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CPakArchive pak;
        if (!pak.OpenPak(path)) {
            state.SkipWithError("cannot open the pak");
            return;
        }
        FillList(pak, state);
    }
}

BENCHMARK(BM_ListFolder)->Arg(1000)->Arg(100000);
BENCHMARK(BM_OpenAndList)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
