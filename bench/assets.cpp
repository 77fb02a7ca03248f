// Decoding pictures for the preview: a lone qpic of each size the pane must
// show at once, and every texture of a map for its thumbnails. The pixels
// are copied into rows padded to 4 bytes, as an 8-bit indexed image on
// screen takes them, so the figure covers everything short of drawing.
//
// BM_DecodeQpic/S       an S×S qpic
// BM_MapTextures/N      a BSP 29 map of N textures, 64×64 to 256×256
#include "asset_builder.h"
#include "asset_decode.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <span>
#include <string>
#include <vector>

using namespace vantor;
using namespace vantor::test;

namespace {

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The rows as a screen image holds them: each padded to 4 bytes.
std::size_t CopyToScreenRows(const CIndexedImage& image, std::vector<std::uint8_t>& rows)
{
    const std::size_t nStride = (static_cast<std::size_t>(image.nWidth) + 3) & ~std::size_t{3};
    rows.resize(nStride * static_cast<std::size_t>(image.nHeight));
    for (int y = 0; y < image.nHeight; ++y)
        std::memcpy(rows.data() + nStride * static_cast<std::size_t>(y),
                    image.pixels.data() + static_cast<std::size_t>(image.nWidth) * static_cast<std::size_t>(y),
                    static_cast<std::size_t>(image.nWidth));
    return rows.size();
}

void BM_DecodeQpic(benchmark::State& state)
{
    const int nSide = static_cast<int>(state.range(0));
    const std::string qpic = BuildQpic(nSide, nSide).bytes;
    std::vector<std::uint8_t> rows;
    for (auto _ : state) {
        const CAssetDecode decode = DecodeAsset("gfx/big.lmp", Bytes(qpic));
        if (!decode.IsOk()) state.SkipWithError("not decoded");
        benchmark::DoNotOptimize(CopyToScreenRows(decode.images.front(), rows));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(qpic.size()));
}
BENCHMARK(BM_DecodeQpic)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond);

void BM_MapTextures(benchmark::State& state)
{
    const int nCount = static_cast<int>(state.range(0));
    BspBuilder bsp;
    const int sides[] = {64, 128, 256, 64};
    for (int i = 0; i < nCount; ++i)
        bsp.Texture("tex" + std::to_string(i), sides[i % 4], sides[(i / 4) % 4]);
    const std::string map = bsp.Build().bytes;
    std::vector<std::uint8_t> rows;
    std::size_t nDecoded = 0;
    for (auto _ : state) {
        const CAssetDecode decode = DecodeAsset("maps/big.bsp", Bytes(map));
        nDecoded = 0;
        for (const CIndexedImage& image : decode.images)
            if (image.IsOk()) nDecoded += CopyToScreenRows(image, rows) != 0;
        benchmark::DoNotOptimize(nDecoded);
    }
    state.SetLabel(std::to_string(nDecoded) + " textures, " + std::to_string(map.size() >> 10) + " KiB");
}
BENCHMARK(BM_MapTextures)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
