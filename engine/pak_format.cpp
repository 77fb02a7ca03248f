// Field-by-field little-endian encoding, independent of host byte order
// and of struct layout.
#include "pak_format.h"

#include <algorithm>
#include <cstring>

namespace vantor {
namespace {

void PutU32(unsigned char* out, std::uint32_t value)
{
    out[0] = static_cast<unsigned char>(value);
    out[1] = static_cast<unsigned char>(value >> 8);
    out[2] = static_cast<unsigned char>(value >> 16);
    out[3] = static_cast<unsigned char>(value >> 24);
}

std::uint32_t GetU32(const unsigned char* in)
{
    return std::uint32_t{in[0]} | (std::uint32_t{in[1]} << 8) | (std::uint32_t{in[2]} << 16) |
           (std::uint32_t{in[3]} << 24);
}

}  // namespace

std::string_view PakEntry::Name() const
{
    const auto* end = std::find(name.begin(), name.end(), '\0');
    return std::string_view(name.data(), static_cast<std::size_t>(end - name.begin()));
}

void PakEntry::SetName(std::string_view newName)
{
    name.fill('\0');
    const std::size_t count = std::min(newName.size(), kPakMaxNameLength);
    std::memcpy(name.data(), newName.data(), count);
}

PakHeaderBytes EncodeHeader(const PakHeader& header)
{
    PakHeaderBytes bytes{};
    std::memcpy(bytes.data(), header.magic.data(), 4);
    PutU32(bytes.data() + 4, header.dirOffset);
    PutU32(bytes.data() + 8, header.dirLength);
    return bytes;
}

PakHeader DecodeHeader(const PakHeaderBytes& bytes)
{
    PakHeader header;
    std::memcpy(header.magic.data(), bytes.data(), 4);
    header.dirOffset = GetU32(bytes.data() + 4);
    header.dirLength = GetU32(bytes.data() + 8);
    return header;
}

void EncodeEntry(const PakEntry& entry, unsigned char* out64)
{
    std::memcpy(out64, entry.name.data(), kPakNameFieldSize);
    PutU32(out64 + 56, entry.offset);
    PutU32(out64 + 60, entry.length);
}

PakEntry DecodeEntry(const unsigned char* in64)
{
    PakEntry entry;
    std::memcpy(entry.name.data(), in64, kPakNameFieldSize);
    entry.offset = GetU32(in64 + 56);
    entry.length = GetU32(in64 + 60);
    return entry;
}

PakHeader EmptyPakHeader()
{
    PakHeader header;
    header.magic = kPakMagic;
    header.dirOffset = static_cast<std::uint32_t>(kPakHeaderSize);
    header.dirLength = 0;
    return header;
}

}  // namespace vantor
