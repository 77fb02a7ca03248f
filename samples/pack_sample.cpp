// Build-time tool: writes the sample pak from files kept in the repository.
// Usage: pack_sample OUTPUT.pak ROOT NAME...   (NAME relative to ROOT, pak form)
#include "pak_format.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace vantor;
    if (argc < 3) {
        std::fprintf(stderr, "usage: pack_sample OUTPUT.pak ROOT NAME...\n");
        return 2;
    }
    std::string data;
    std::vector<PakEntry> entries;
    for (int i = 3; i < argc; ++i) {
        const std::string name = argv[i];
        std::ifstream in(std::string(argv[2]) + "/" + name, std::ios::binary);
        if (!in || name.size() > kPakMaxNameLength) {
            std::fprintf(stderr, "pack_sample: cannot pack %s\n", name.c_str());
            return 1;
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        PakEntry entry;
        entry.SetName(name);
        entry.offset = static_cast<std::uint32_t>(kPakHeaderSize + data.size());
        entry.length = static_cast<std::uint32_t>(bytes.size());
        entries.push_back(entry);
        data += bytes;
    }
    PakHeader header = EmptyPakHeader();
    header.dirOffset = static_cast<std::uint32_t>(kPakHeaderSize + data.size());
    header.dirLength = static_cast<std::uint32_t>(entries.size() * kPakEntrySize);

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    const PakHeaderBytes head = EncodeHeader(header);
    out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    for (const PakEntry& entry : entries) {
        unsigned char record[kPakEntrySize];
        EncodeEntry(entry, record);
        out.write(reinterpret_cast<const char*>(record), sizeof record);
    }
    return out ? 0 : 1;
}
