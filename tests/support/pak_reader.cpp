#include "pak_reader.h"
#include "pak_builder.h"

namespace vantor::test {

std::vector<std::pair<std::string, std::string>> ParsedPak::Contents() const
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const ParsedEntry& e : entries) out.emplace_back(e.name, e.data);
    return out;
}

std::optional<ParsedPak> ParsePak(const std::string& bytes)
{
    if (bytes.size() < 12 || bytes.compare(0, 4, "PACK") != 0) return std::nullopt;
    ParsedPak pak;
    pak.fileLength = bytes.size();
    pak.dirOffset = PakBuilder::GetU32(bytes, 4);
    pak.dirLength = PakBuilder::GetU32(bytes, 8);
    if (pak.dirOffset == 0 && pak.dirLength == 0) return std::nullopt;
    if (pak.dirLength % 64 != 0) return std::nullopt;
    if (pak.dirLength != 0 && std::uint64_t{pak.dirOffset} + pak.dirLength > bytes.size()) return std::nullopt;
    for (std::uint32_t i = 0; i < pak.dirLength / 64; ++i) {
        const std::size_t at = pak.dirOffset + std::size_t{i} * 64;
        ParsedEntry entry;
        const std::string field = bytes.substr(at, 56);
        entry.name = field.substr(0, field.find('\0'));
        entry.offset = PakBuilder::GetU32(bytes, at + 56);
        entry.length = PakBuilder::GetU32(bytes, at + 60);
        if (entry.length != 0) {
            if (std::uint64_t{entry.offset} + entry.length > bytes.size()) return std::nullopt;
            entry.data = bytes.substr(entry.offset, entry.length);
        }
        pak.entries.push_back(std::move(entry));
    }
    return pak;
}

std::optional<ParsedPak> ParsePakFile(const std::string& path) { return ParsePak(ReadFileBytes(path)); }

std::string Describe(const std::vector<std::pair<std::string, std::string>>& contents)
{
    std::string out;
    for (const auto& [name, data] : contents) {
        out += name + "=" + (data.size() > 24 ? data.substr(0, 24) + "...(" + std::to_string(data.size()) + ")" : data);
        out += "\n";
    }
    return out;
}

}  // namespace vantor::test
