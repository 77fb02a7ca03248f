// An independent reader of pak bytes, sharing no code with the engine, so
// tests judge what is on disk without trusting what wrote it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor::test {

struct ParsedEntry {
    std::string name;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    std::string data;
    bool operator==(const ParsedEntry&) const = default;
};

struct ParsedPak {
    std::uint32_t dirOffset = 0;
    std::uint32_t dirLength = 0;
    std::uint64_t fileLength = 0;
    std::vector<ParsedEntry> entries;

    // Names and contents in directory order: what a user would see.
    std::vector<std::pair<std::string, std::string>> Contents() const;
};

// Nothing when the bytes are not a pak every reader can open with every
// entry readable (magic, directory inside the file, data inside the file).
std::optional<ParsedPak> ParsePak(const std::string& bytes);
std::optional<ParsedPak> ParsePakFile(const std::string& path);

// "name=data" lines in directory order, for readable failure messages.
std::string Describe(const std::vector<std::pair<std::string, std::string>>& contents);

}  // namespace vantor::test
