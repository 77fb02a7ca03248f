// Builds pak files in code, in any layout another writer might produce
// (directory first, in the middle, gaps, forged records), so that tests
// never depend on committed binaries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::test {

class PakBuilder {
public:
    // Stores data at the current position and adds its record.
    PakBuilder& File(std::string_view name, std::string_view data);
    // Unused bytes at the current position.
    PakBuilder& Gap(std::size_t count, char fill = '\xEE');
    // The directory goes here instead of at the end.
    PakBuilder& Directory();
    // A record whose offset and length are given as they are (no data).
    PakBuilder& Record(std::string_view name, std::uint32_t offset, std::uint32_t length);
    // A record whose 56-byte name field is filled exactly with these bytes.
    PakBuilder& RawRecord(const std::string& nameField, std::uint32_t offset, std::uint32_t length);

    std::string Build() const;
    void WriteTo(const std::string& path) const;

    // Helpers for forging bytes after Build().
    static void PutU32(std::string& bytes, std::size_t position, std::uint32_t value);
    static std::uint32_t GetU32(const std::string& bytes, std::size_t position);

private:
    struct Chunk {
        enum Kind { data, gap, directory } kind;
        std::string bytes;
        int record = -1;  // for data: the record whose offset it sets
    };
    struct Rec {
        std::string nameField;  // exactly 56 bytes
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    std::vector<Chunk> m_chunks;
    std::vector<Rec> m_records;
};

// Reads or writes a whole file; test helpers, they abort the test on failure.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::string_view bytes);

// A fresh folder below the temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    std::string operator/(std::string_view name) const { return m_path + "/" + std::string(name); }

private:
    std::string m_path;
};

}  // namespace vantor::test
