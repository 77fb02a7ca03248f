// The indexed PNG writer, on libpng. libpng reports errors by longjmp; the
// jump lands in EncodeRows, which owns no C++ objects needing destruction.
#include "png_export.h"

#include "pak_error.h"

#if VANTOR_WITH_PNG
#include <png.h>
#endif

#include <csetjmp>
#include <cstring>

namespace vantor {

namespace {

#if VANTOR_WITH_PNG
struct CPngSink {
    std::vector<std::uint8_t>* pBytes = nullptr;
    bool bFailed = false;
};

void WriteToSink(png_structp pPng, png_bytep pData, png_size_t nLength)
{
    auto* pSink = static_cast<CPngSink*>(png_get_io_ptr(pPng));
    try {
        pSink->pBytes->insert(pSink->pBytes->end(), pData, pData + nLength);
    } catch (...) {
        // No exception may cross libpng's C frames.
        pSink->bFailed = true;
    }
}

void FlushSink(png_structp) {}

// Silences libpng's own printing; the failure is reported by the caller.
void OnPngWarning(png_structp, png_const_charp) {}

// Everything between png_create_write_struct and its destruction. Returns
// false when libpng jumped out with an error. No C++ object with a
// destructor lives in this frame.
bool EncodeRows(png_structp pPng, png_infop pInfo, const CIndexedImage& image, const CPalette& palette,
                CPngSink& sink)
{
    if (setjmp(png_jmpbuf(pPng)))
        return false;
    png_set_write_fn(pPng, &sink, WriteToSink, FlushSink);
    png_set_IHDR(pPng, pInfo, static_cast<png_uint_32>(image.nWidth), static_cast<png_uint_32>(image.nHeight), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color colours[256];
    for (int i = 0; i < 256; ++i) {
        colours[i].red = palette.rgb[static_cast<std::size_t>(i) * 3];
        colours[i].green = palette.rgb[static_cast<std::size_t>(i) * 3 + 1];
        colours[i].blue = palette.rgb[static_cast<std::size_t>(i) * 3 + 2];
    }
    png_set_PLTE(pPng, pInfo, colours, 256);
    // tRNS holds an alpha for each index up to the last one given; the
    // indices before the transparent one stay opaque.
    png_byte alpha[256];
    if (image.nTransparentIndex >= 0 && image.nTransparentIndex <= 255) {
        std::memset(alpha, 255, sizeof alpha);
        alpha[image.nTransparentIndex] = 0;
        png_set_tRNS(pPng, pInfo, alpha, image.nTransparentIndex + 1, nullptr);
    }
    png_write_info(pPng, pInfo);
    const auto nStride = static_cast<std::size_t>(image.nWidth);
    for (int y = 0; y < image.nHeight; ++y)
        png_write_row(pPng, image.pixels.data() + static_cast<std::size_t>(y) * nStride);
    png_write_end(pPng, pInfo);
    return true;
}
#endif

bool Fail(CPngResult& result, PngFault fault, std::string text, FileCause cause = FileCause::none)
{
    result.fault = fault;
    result.cause = cause;
    result.text = std::move(text);
    return false;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool EncodeIndexedPng(const CIndexedImage& image, const CPalette& palette, std::vector<std::uint8_t>& png,
                      CPngResult& result)
{
    result = CPngResult();
    png.clear();
    if (!image.IsOk() || image.nWidth <= 0 || image.nHeight <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.nWidth) * static_cast<std::size_t>(image.nHeight))
        return Fail(result, PngFault::noPicture, "There is no picture to write.");
#if !VANTOR_WITH_PNG
    // Builds for targets without a libpng (the Windows cross build).
    static_cast<void>(palette);
    return Fail(result, PngFault::encodeFailed, "This build of the program writes no PNG files.");
#else
    png_structp pPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, OnPngWarning);
    png_infop pInfo = pPng ? png_create_info_struct(pPng) : nullptr;
    if (pInfo == nullptr) {
        png_destroy_write_struct(&pPng, nullptr);
        return Fail(result, PngFault::encodeFailed, "The PNG library could not start.");
    }
    CPngSink sink;
    sink.pBytes = &png;
    const bool bEncoded = EncodeRows(pPng, pInfo, image, palette, sink);
    png_destroy_write_struct(&pPng, &pInfo);
    if (!bEncoded || sink.bFailed) {
        png.clear();
        return Fail(result, PngFault::encodeFailed, "The PNG library could not encode the picture.");
    }
    return true;
#endif
}

bool WriteIndexedPng(const std::string& path, const CIndexedImage& image, const CPalette& palette,
                     CPngResult& result, IFileSystem& fs)
{
    std::vector<std::uint8_t> png;
    if (!EncodeIndexedPng(image, palette, png, result))
        return false;
    std::unique_ptr<IFile> file;
    std::string temporary;
    FileCause cause = fs.CreateTemporary(FolderOf(path), file, temporary);
    if (cause == FileCause::none) {
        cause = file->WriteAt(0, png.data(), png.size());
        if (cause == FileCause::none) cause = file->Flush();
        file.reset();
        if (cause == FileCause::none) cause = fs.Rename(temporary, path);
        if (cause != FileCause::none) fs.Remove(temporary);
    }
    if (cause != FileCause::none)
        return Fail(result, PngFault::writeFailed,
                    "The PNG file could not be written: " + std::string(PakErrorText(CodeFromCause(cause))), cause);
    return true;
}

}  // namespace vantor
