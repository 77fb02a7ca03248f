// The bytes of a .pak file: the 12-byte header and the 64-byte directory
// record, with their little-endian encoding. This is the only place that
// knows field positions; everything else works on the decoded structs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vantor {

inline constexpr std::size_t kPakHeaderSize = 12;
inline constexpr std::size_t kPakEntrySize = 64;
inline constexpr std::size_t kPakNameFieldSize = 56;
inline constexpr std::size_t kPakMaxNameLength = kPakNameFieldSize - 1;
inline constexpr std::array<char, 4> kPakMagic = {'P', 'A', 'C', 'K'};

// Offsets travel through the file layer as signed 32-bit values on the
// original platform: nothing may ever be placed at or beyond this.
inline constexpr std::uint64_t kPakMaxFileSize = 0x7FFFFFFFu;

struct PakHeader {
    std::array<char, 4> magic{};
    std::uint32_t dirOffset = 0;
    std::uint32_t dirLength = 0;

    bool HasMagic() const { return magic == kPakMagic; }
    bool operator==(const PakHeader&) const = default;
};

struct PakEntry {
    // The raw field as stored; readers stop at the first zero byte and a
    // field without one yields all 56 bytes.
    std::array<char, kPakNameFieldSize> name{};
    std::uint32_t offset = 0;
    std::uint32_t length = 0;

    std::string_view Name() const;
    // Stores name with a terminating zero and zeroes the rest of the field.
    // The caller has checked that it fits (at most 55 bytes).
    void SetName(std::string_view newName);
    std::uint64_t End() const { return std::uint64_t{offset} + length; }
};

using PakHeaderBytes = std::array<unsigned char, kPakHeaderSize>;
using PakEntryBytes = std::array<unsigned char, kPakEntrySize>;

PakHeaderBytes EncodeHeader(const PakHeader& header);
PakHeader DecodeHeader(const PakHeaderBytes& bytes);

void EncodeEntry(const PakEntry& entry, unsigned char* out64);
PakEntry DecodeEntry(const unsigned char* in64);

// The header of an empty pak: "PACK", directory at 12, length 0.
PakHeader EmptyPakHeader();

// Bytes of a file of fileLength that neither the header, the directory nor
// any entry's data covers. Overlapping ranges count once; ranges past the
// end do not count, so this is what a reader could reclaim, however broken
// the pak. The one measure of unused space, for the engine and check alike.
std::uint64_t CountUnusedBytes(std::uint64_t fileLength, std::uint64_t dirOffset, std::uint64_t dirLength,
                               std::span<const PakEntry> entries);

}  // namespace vantor
