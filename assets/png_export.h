// Writing a decoded picture as an indexed PNG: its indices as they are,
// the palette as PLTE, the transparent index in tRNS. Never through RGB,
// so no pixel changes colour (or leaves the fullbright range) on the way.
#pragma once

#include "asset_image.h"
#include "file_layer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantor {

enum class PngFault {
    none,
    noPicture,    // a refused or empty image (no pixels to write)
    encodeFailed, // libpng refused the picture
    writeFailed,  // the file could not be written (cause says why)
};

struct CPngResult {
    PngFault fault = PngFault::none;
    FileCause cause = FileCause::none;  // for writeFailed
    std::string text;                   // a sentence for the user

    bool IsOk() const { return fault == PngFault::none; }
};

// The PNG file's bytes.
bool EncodeIndexedPng(const CIndexedImage& image, const CPalette& palette, std::vector<std::uint8_t>& png,
                      CPngResult& result);

// Encodes, writes a temporary file beside path and renames it over path,
// so a failure never leaves half a file where one was.
bool WriteIndexedPng(const std::string& path, const CIndexedImage& image, const CPalette& palette,
                     CPngResult& result, IFileSystem& fs = PlatformFileSystem());

}  // namespace vantor
