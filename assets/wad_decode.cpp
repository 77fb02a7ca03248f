// WAD2: the pictures of gfx.wad and texture WADs. Palette, qpic and miptex
// lumps are pictures; conchars is found by name whatever its type; other
// lumps (sounds, unknown types) are passed over.
#include "asset_format.h"
#include "asset_readers.h"

#include <cctype>

namespace vantor {

namespace fmt = assetformat;

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

struct CWadRecord {
    std::int64_t nFilePos = 0;
    std::int64_t nDiskSize = 0;
    std::uint8_t nType = 0;
    std::uint8_t nCompression = 0;
    std::string name;
};

bool IsPictureRecord(const CWadRecord& record)
{
    return EqualsIgnoringCase(record.name, "conchars") || record.nType == fmt::kWadPalette ||
           record.nType == fmt::kWadQpic || record.nType == fmt::kWadMiptex;
}

CIndexedImage DecodeLump(const CWadRecord& record, std::span<const std::uint8_t> lump, CAssetDecode& decode,
                         CPixelBudget& budget)
{
    if (EqualsIgnoringCase(record.name, "conchars"))
        return DecodeConchars(lump, budget);
    if (record.nType == fmt::kWadQpic)
        return DecodeQpic(lump, budget);
    if (record.nType == fmt::kWadMiptex)
        return DecodeMiptex(lump, budget);
    // Type 0x40 holds the palette, and in some WADs the colour map.
    if (lump.size() == kPaletteBytes) {
        CPalette palette;
        CIndexedImage image = DecodePalette(lump, palette);
        if (!decode.palette) decode.palette = palette;
        return image;
    }
    return DecodeColormap(lump, budget);
}

}  // namespace

void DecodeWad(std::span<const std::uint8_t> bytes, CAssetDecode& decode, CPixelBudget& budget)
{
    CByteReader header(bytes);
    header.Skip(4);
    const std::int64_t nCount = header.ReadI32();
    const std::int64_t nTableAt = header.ReadI32();
    if (!header.Ok()) {
        Refuse(decode, AssetFault::truncated, "The file ends inside its 12-byte header.");
        return;
    }
    if (nCount < 0) {
        Refuse(decode, AssetFault::negativeSize, "The lump count " + std::to_string(nCount) + " is negative.");
        return;
    }
    if (nTableAt < 0 || static_cast<std::uint64_t>(nTableAt) > bytes.size()) {
        Refuse(decode, AssetFault::offsetOutside,
               "The lump table starts at " + std::to_string(nTableAt) + ", outside the file's " +
                   std::to_string(bytes.size()) + " bytes.");
        return;
    }
    const std::uint64_t nTableRoom = bytes.size() - static_cast<std::uint64_t>(nTableAt);
    if (static_cast<std::uint64_t>(nCount) > nTableRoom / fmt::kWadRecord) {
        Refuse(decode, AssetFault::countTooLarge,
               "The file claims " + std::to_string(nCount) + " lumps; its lump table has room for " +
                   std::to_string(nTableRoom / fmt::kWadRecord) + ".");
        return;
    }
    CByteReader table(bytes, static_cast<std::size_t>(nTableAt));
    for (std::int64_t i = 0; i < nCount; ++i) {
        CWadRecord record;
        record.nFilePos = table.ReadI32();
        record.nDiskSize = table.ReadI32();
        table.Skip(4);  // the uncompressed size: only compression would need it
        record.nType = table.ReadU8();
        record.nCompression = table.ReadU8();
        table.Skip(2);
        record.name = table.ReadName(fmt::kWadNameBytes);
        if (!IsPictureRecord(record))
            continue;
        if (!HasRoomForImage(decode, 1))
            continue;
        CIndexedImage image;
        if (record.nFilePos < 0 || record.nDiskSize < 0) {
            Refuse(image, AssetFault::negativeSize, "The lump's position or size is negative.");
        } else if (static_cast<std::uint64_t>(record.nFilePos) > bytes.size() ||
                   static_cast<std::uint64_t>(record.nDiskSize) > bytes.size() - record.nFilePos) {
            Refuse(image, AssetFault::offsetOutside,
                   "The lump's " + std::to_string(record.nDiskSize) + " bytes at " +
                       std::to_string(record.nFilePos) + " run past the file's end.");
        } else if (record.nCompression != 0) {
            Refuse(image, AssetFault::unsupported, "The lump is compressed, which the game never reads.");
        } else {
            image = DecodeLump(record, bytes.subspan(static_cast<std::size_t>(record.nFilePos),
                                                     static_cast<std::size_t>(record.nDiskSize)),
                               decode, budget);
        }
        // A miptex names itself; the lump's name is what the WAD lists.
        image.name = record.name;
        if (record.nType == fmt::kWadMiptex && !EqualsIgnoringCase(record.name, "conchars"))
            ApplyTextureName(image);
        decode.images.push_back(std::move(image));
    }
}

}  // namespace vantor
