// export: one picture of an entry as an indexed PNG, drawn with the palette
// the game would use (or the one given), without a detour through RGB.
#include "commands.h"
#include "report.h"
#include "session.h"

#include "asset_decode.h"
#include "palette_source.h"
#include "png_export.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <span>

namespace vantor::cli {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The picture --image names: a number counts from 0 in the list, anything
// else is a picture's name (exactly, else ignoring case). Without --image,
// the first picture that decoded. Null when there is none.
const CIndexedImage* ChooseImage(const CAssetDecode& decode, const std::string& wanted)
{
    const auto& images = decode.images;
    if (wanted.empty()) {
        const auto found = std::find_if(images.begin(), images.end(), [](const auto& image) { return image.IsOk(); });
        return found == images.end() ? nullptr : &*found;
    }
    std::size_t index = 0;
    const auto [end, error] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), index);
    if (error == std::errc() && end == wanted.data() + wanted.size())
        return index < images.size() ? &images[index] : nullptr;
    for (const auto& image : images)
        if (image.name == wanted) return &image;
    for (const auto& image : images)
        if (EqualsIgnoringCase(image.name, wanted)) return &image;
    return nullptr;
}

}  // namespace

int RunExport(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    if (operands.size() != 3) return UsageError(call.command, "expects PAK NAME OUT.png");
    const std::string& name = operands[1];
    const std::string& out = operands[2];

    CPalette palette;
    std::string paletteSource;
    const std::string paletteFile = call.args.Value("--palette");
    if (!paletteFile.empty()) {
        if (!ReadPaletteFile(paletteFile, palette)) {
            ReportError(paletteFile, "not a palette (a palette file holds 768 bytes)");
            return kExitUsage;
        }
        paletteSource = "palette: " + paletteFile;
    }

    CPakArchive pak;
    if (!OpenForReading(pak, operands[0])) return kExitUsage;
    const int index = NamesFolder(name) ? -1 : FindNamedEntry(pak, name);
    if (index < 0) {
        ReportError(name, CodeText(errFileNotFound));
        return kExitItemFailed;
    }
    const std::uint32_t length = pak.GetEntries()[static_cast<std::size_t>(index)].length;
    if (length > kMaxAssetBytes) {
        ReportError(name, "too large to decode (" + std::to_string(length) + " bytes)");
        return kExitItemFailed;
    }
    std::vector<std::uint8_t> bytes(length);
    if (length != 0 && !pak.ReadEntryData(static_cast<std::size_t>(index), bytes.data())) {
        ReportPakError(name, pak);
        return kExitItemFailed;
    }

    const CAssetDecode decode = DecodeAsset(name, std::span<const std::uint8_t>(bytes));
    if (!decode.bRecognised) {
        ReportError(name, "not a picture, texture, skin or sprite");
        return kExitItemFailed;
    }
    if (!decode.IsOk()) {
        ReportError(name, decode.formatName + ": " + decode.reason);
        return kExitItemFailed;
    }
    const std::string wanted = call.args.Value("--image");
    const CIndexedImage* image = ChooseImage(decode, wanted);
    if (image == nullptr) {
        ReportError(name, decode.formatName + ": " +
                                         (wanted.empty() ? "no picture decodes" : "no picture " + wanted));
        return kExitItemFailed;
    }
    const std::string shownImage = name + (image->name.empty() ? "" : ": " + image->name);
    if (!image->IsOk()) {
        ReportError(shownImage, image->reason);
        return kExitItemFailed;
    }

    if (paletteSource.empty() && decode.palette) {
        palette = *decode.palette;
        paletteSource = "palette: " + name;
    }
    if (paletteSource.empty()) {
        CPaletteSearch search;
        search.pakPath = operands[0];
        search.pOpenPak = &pak;
        const CPaletteSource found = FindPalette(search);
        if (!found.bFound) {
            ReportError(shownImage, found.description + " Give one with --palette FILE.");
            return kExitItemFailed;
        }
        palette = found.palette;
        paletteSource = found.description;
    }

    CPngResult result;
    if (!WriteIndexedPng(out, *image, palette, result)) {
        ReportError(out, result.text);
        return kExitItemFailed;
    }
    std::printf("%s: %s, %dx%d, %s\n", Printable(out).c_str(), Printable(shownImage).c_str(), image->nWidth,
                image->nHeight, Printable(paletteSource).c_str());
    return std::fflush(stdout) == 0 ? kExitOk : kExitItemFailed;
}

}  // namespace vantor::cli
