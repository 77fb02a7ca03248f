// Indexed PNGs read back with libpng: the same indices, the palette as
// PLTE, the transparent index alone in tRNS; failures classified.
#include "asset_builder.h"
#include "asset_decode.h"
#include "faulty_file_system.h"
#include "pak_builder.h"
#include "png_export.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>

using namespace vantor;
using namespace vantor::test;

namespace {

struct ReadBack {
    bool bOk = false;
    int nColourType = -1;
    int nBitDepth = 0;
    int nWidth = 0;
    int nHeight = 0;
    std::string palette;           // PLTE as RGB bytes
    std::vector<int> alpha;        // tRNS
    std::string indices;
};

// Reads without any transformation, so indices stay indices.
ReadBack ReadPng(const std::string& path)
{
    ReadBack result;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return result;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return ReadBack();
    }
    png_init_io(png, file.get());
    png_read_info(png, info);
    result.nWidth = static_cast<int>(png_get_image_width(png, info));
    result.nHeight = static_cast<int>(png_get_image_height(png, info));
    result.nColourType = png_get_color_type(png, info);
    result.nBitDepth = png_get_bit_depth(png, info);
    png_colorp colours = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &colours, &count) != 0)
        for (int i = 0; i < count; ++i)
            result.palette += {static_cast<char>(colours[i].red), static_cast<char>(colours[i].green),
                               static_cast<char>(colours[i].blue)};
    png_bytep alpha = nullptr;
    int alphaCount = 0;
    if (png_get_tRNS(png, info, &alpha, &alphaCount, nullptr) != 0)
        result.alpha.assign(alpha, alpha + alphaCount);
    std::string row(png_get_rowbytes(png, info), '\0');
    for (int y = 0; y < result.nHeight; ++y) {
        png_read_row(png, reinterpret_cast<png_bytep>(row.data()), nullptr);
        result.indices += row;
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    result.bOk = true;
    return result;
}

CPalette TestPalette()
{
    CPalette palette;
    const std::string bytes = BuildPalette().bytes;
    std::copy(bytes.begin(), bytes.end(), palette.rgb.begin());
    return palette;
}

struct ExportCase {
    const char* label;
    const char* entry;
    std::string bytes;
    int nTransparent;  // expected, -1 for none
};

void PrintTo(const ExportCase& row, std::ostream* out) { *out << row.label; }

class PngExport : public ::testing::TestWithParam<ExportCase> {};

TEST_P(PngExport, KeepsIndicesPaletteAndTransparency)
{
    const ExportCase& row = GetParam();
    const CAssetDecode decode = DecodeAsset(
        row.entry, std::span(reinterpret_cast<const std::uint8_t*>(row.bytes.data()), row.bytes.size()));
    ASSERT_FALSE(decode.images.empty()) << decode.reason;
    const CIndexedImage& image = decode.images.back();
    ASSERT_EQ(image.nTransparentIndex, row.nTransparent);

    TempDir dir;
    CPngResult result;
    ASSERT_TRUE(WriteIndexedPng(dir / "out.png", image, TestPalette(), result)) << result.text;
    const ReadBack png = ReadPng(dir / "out.png");
    ASSERT_TRUE(png.bOk);
    EXPECT_EQ(png.nColourType, PNG_COLOR_TYPE_PALETTE);
    EXPECT_EQ(png.nBitDepth, 8);
    EXPECT_EQ(png.nWidth, image.nWidth);
    EXPECT_EQ(png.nHeight, image.nHeight);
    EXPECT_EQ(png.palette, BuildPalette().bytes);
    EXPECT_EQ(png.indices, std::string(image.pixels.begin(), image.pixels.end()));
    if (row.nTransparent < 0) {
        EXPECT_TRUE(png.alpha.empty());
        return;
    }
    ASSERT_EQ(png.alpha.size(), static_cast<std::size_t>(row.nTransparent) + 1);
    for (int i = 0; i <= row.nTransparent; ++i)
        EXPECT_EQ(png.alpha[static_cast<std::size_t>(i)], i == row.nTransparent ? 0 : 255) << "index " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Assets, PngExport,
    ::testing::Values(ExportCase{"qpic_255_transparent", "gfx/ranking.lmp", BuildQpic(33, 7).bytes, 255},
                      ExportCase{"conchars_0_transparent", "gfx/conchars.lmp", BuildConchars().bytes, 0},
                      ExportCase{"skin_opaque", "progs/ogre.mdl", MdlBuilder(20, 9).Skin().Build().bytes, -1},
                      ExportCase{"one_pixel", "gfx/dot.lmp", BuildQpic(1, 1).bytes, 255}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(PngExportFailure, RefusesARefusedPicture)
{
    CIndexedImage image;
    image.fault = AssetFault::truncated;
    CPngResult result;
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(EncodeIndexedPng(image, TestPalette(), bytes, result));
    EXPECT_EQ(result.fault, PngFault::noPicture);
}

TEST(PngExportFailure, KeepsTheOldFileWhenTheWriteFails)
{
    TempDir dir;
    WriteFileBytes(dir / "out.png", "old");
    CFaultyFileSystem fs;
    fs.FailWriteOnce(0, FileCause::diskFull);
    const std::string qpic = BuildQpic(4, 4).bytes;
    const CAssetDecode decode =
        DecodeAsset("a.lmp", std::span(reinterpret_cast<const std::uint8_t*>(qpic.data()), qpic.size()));
    CPngResult result;
    EXPECT_FALSE(WriteIndexedPng(dir / "out.png", decode.images.at(0), TestPalette(), result, fs));
    EXPECT_EQ(result.fault, PngFault::writeFailed);
    EXPECT_EQ(result.cause, FileCause::diskFull);
    EXPECT_EQ(ReadFileBytes(dir / "out.png"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()), 1);
}

}  // namespace
