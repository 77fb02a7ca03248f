// Matching the filter against every name of a big pak: one keystroke's
// work in the views, whatever the query.
//
// BM_Match/N/Q   N names, query Q of the table below
#include "name_query.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace vantor;

namespace {

const char* const kQueries[] = {"e1m", "sound wav | ogg !amb", "^maps e?m*.bsp$", "Player"};

const std::vector<std::string>& Names(std::size_t nCount)
{
    static std::vector<std::string> names;
    if (names.size() != nCount) {
        names.clear();
        names.reserve(nCount);
        const char* const folders[] = {"maps", "sound/amb", "sound/doors", "progs", "gfx/env", "textures/wall"};
        const char* const kinds[] = {"bsp", "wav", "ogg", "mdl", "lmp", "tga"};
        char name[64];
        for (std::size_t i = 0; i < nCount; ++i) {
            std::snprintf(name, sizeof name, "%s/e%zum%zu_%zu.%s", folders[i % 6], i % 7, i % 13, i, kinds[(i / 6) % 6]);
            names.emplace_back(name);
        }
    }
    return names;
}

// The views' way: the names laid out once in a table.
void BM_Match(benchmark::State& state)
{
    const std::vector<std::string>& names = Names(static_cast<std::size_t>(state.range(0)));
    CNameTable table;
    for (const std::string& name : names)
        table.Append(name);
    const CNameQuery query(kQueries[state.range(1)]);
    std::size_t nMatched = 0;
    for (auto _ : state) {
        nMatched = 0;
        for (std::size_t i = 0; i < table.Size(); ++i)
            nMatched += query.Matches(table, i) ? 1 : 0;
        benchmark::DoNotOptimize(nMatched);
    }
    state.SetLabel(std::string(kQueries[state.range(1)]) + " (" + std::to_string(nMatched) + " match)");
}
BENCHMARK(BM_Match)->ArgsProduct({{100'000, 1'000'000}, {0, 1, 2, 3}})->Unit(benchmark::kMillisecond);

// vantor-pak's way: each name as it comes.
void BM_MatchEachName(benchmark::State& state)
{
    const std::vector<std::string>& names = Names(static_cast<std::size_t>(state.range(0)));
    const CNameQuery query(kQueries[state.range(1)]);
    std::size_t nMatched = 0;
    for (auto _ : state) {
        nMatched = 0;
        for (const std::string& name : names)
            nMatched += query.Matches(name) ? 1 : 0;
        benchmark::DoNotOptimize(nMatched);
    }
}
BENCHMARK(BM_MatchEachName)->ArgsProduct({{1'000'000}, {0, 1}})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
