#include "pak_builder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace vantor::test {

PakBuilder& PakBuilder::File(std::string_view name, std::string_view data)
{
    std::string field(name);
    field.resize(56, '\0');
    m_records.push_back({field, 0, static_cast<std::uint32_t>(data.size())});
    m_chunks.push_back({Chunk::data, std::string(data), static_cast<int>(m_records.size() - 1)});
    return *this;
}

PakBuilder& PakBuilder::Gap(std::size_t count, char fill)
{
    m_chunks.push_back({Chunk::gap, std::string(count, fill), -1});
    return *this;
}

PakBuilder& PakBuilder::Directory()
{
    m_chunks.push_back({Chunk::directory, {}, -1});
    return *this;
}

PakBuilder& PakBuilder::Record(std::string_view name, std::uint32_t offset, std::uint32_t length)
{
    std::string field(name);
    field.resize(56, '\0');
    m_records.push_back({field, offset, length});
    return *this;
}

PakBuilder& PakBuilder::RawRecord(const std::string& nameField, std::uint32_t offset, std::uint32_t length)
{
    std::string field = nameField;
    field.resize(56, '\0');
    m_records.push_back({field, offset, length});
    return *this;
}

std::string PakBuilder::Build() const
{
    std::vector<Rec> records = m_records;
    std::vector<Chunk> chunks = m_chunks;
    bool hasDirectory = false;
    for (const Chunk& c : chunks) hasDirectory |= c.kind == Chunk::directory;
    if (!hasDirectory) chunks.push_back({Chunk::directory, {}, -1});

    std::string out(12, '\0');
    std::uint32_t dirOffset = 0;
    const std::size_t dirLength = records.size() * 64;
    for (const Chunk& c : chunks) {
        if (c.kind == Chunk::directory) {
            dirOffset = static_cast<std::uint32_t>(out.size());
            out.append(dirLength, '\0');
            continue;
        }
        if (c.kind == Chunk::data) records[static_cast<std::size_t>(c.record)].offset = static_cast<std::uint32_t>(out.size());
        out += c.bytes;
    }
    out.replace(0, 4, "PACK");
    PutU32(out, 4, dirOffset);
    PutU32(out, 8, static_cast<std::uint32_t>(dirLength));
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::size_t at = dirOffset + i * 64;
        out.replace(at, 56, records[i].nameField);
        PutU32(out, at + 56, records[i].offset);
        PutU32(out, at + 60, records[i].length);
    }
    return out;
}

void PakBuilder::WriteTo(const std::string& path) const { WriteFileBytes(path, Build()); }

void PakBuilder::PutU32(std::string& bytes, std::size_t position, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[position + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t PakBuilder::GetU32(const std::string& bytes, std::size_t position)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[position + static_cast<std::size_t>(i)]);
    return value;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void WriteFileBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

TempDir::TempDir()
{
    const std::string base = std::filesystem::temp_directory_path().string();
#ifdef _WIN32
    // No mkdtemp: a random name, made only if it is not there yet.
    std::random_device random;
    for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
        const std::string candidate = base + "/vantor-test-" + std::to_string(random());
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) m_path = candidate;
    }
    if (m_path.empty()) throw std::runtime_error("cannot make a temporary folder");
#else
    std::string pattern = base + "/vantor-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
#endif
}

TempDir::~TempDir()
{
    std::error_code ignored;
    // Tests make folders read-only on purpose; give permissions back first.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

}  // namespace vantor::test
