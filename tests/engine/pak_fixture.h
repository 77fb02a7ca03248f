// A pak on disk opened by a fresh archive, with helpers to look at what
// the file holds through the independent reader.
#pragma once

#include "pak_archive.h"
#include "faulty_file_system.h"
#include "pak_builder.h"
#include "pak_reader.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vantor::test {

// The archive with its raw writes and record changes in reach, for tests
// that build or break a directory by hand; programs only get the changes
// that keep the commit protocol.
class CPakForTests : public CPakArchive {
public:
    using CPakArchive::CPakArchive;
    using CPakFile::AddEntry;
    using CPakFile::GibEntry;
    using CPakFile::RenameEntry;
    using CPakFile::RestoreEntry;
    using CPakFile::SetHeader;
    using CPakFile::SetPakLength;
    using CPakFile::WriteData;
    using CPakFile::WriteDirectory;
    using CPakFile::WriteHeader;
};

class PakFixture : public ::testing::Test {
protected:
    void Open(const PakBuilder& builder) { OpenBytes(builder.Build()); }
    void OpenBytes(const std::string& bytes)
    {
        m_pak.ClosePak();  // the file is rewritten below; Windows refuses that while it is held
        m_path = m_dir / "test.pak";
        WriteFileBytes(m_path, bytes);
        ASSERT_TRUE(m_pak.OpenPak(m_path)) << m_pak.GetErrorText();
    }
    // The same pak opened read-only (the file layer refuses read-write).
    void OpenReadOnly(const PakBuilder& builder)
    {
        m_path = m_dir / "test.pak";
        builder.WriteTo(m_path);
        m_fs.DenyReadWrite(true);
        ASSERT_TRUE(m_readOnly.OpenPak(m_path));
        ASSERT_TRUE(m_readOnly.IsReadOnly());
    }
    // A disk file to add, beneath a folder of its own.
    std::string Source(std::string_view rel, std::string_view bytes)
    {
        const std::string path = m_src / std::string(rel);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteFileBytes(path, bytes);
        return path;
    }
    std::uint64_t FileLength() const { return std::filesystem::file_size(m_path); }
    // The pak's bytes as any reader sees them. Windows lets no one else
    // open a pak an archive holds for writing: there they are read through
    // that archive's own handle.
    std::string Bytes() const
    {
#ifdef _WIN32
        if (std::string held; ReadHeldFile(m_path, held)) return held;
#endif
        return ReadFileBytes(m_path);
    }
    ParsedPak OnDisk() const
    {
        auto parsed = ParsePak(Bytes());
        EXPECT_TRUE(parsed.has_value()) << "the pak on disk does not parse";
        return parsed.value_or(ParsedPak{});
    }
    std::vector<std::string> LiveNames() const
    {
        std::vector<std::string> names;
        for (const PakEntry& e : m_pak.GetEntries()) names.emplace_back(e.Name());
        return names;
    }
    std::vector<std::string> GibbedNames() const
    {
        StringArray names;
        m_pak.GetGibbedNames(names);
        return names;
    }

    TempDir m_dir;
    TempDir m_src;
    std::string m_path;
    CFaultyFileSystem m_passThrough;  // never fails: it only lets Bytes() reach what m_pak holds
    CPakForTests m_pak{m_passThrough};
    CFaultyFileSystem m_fs;
    CPakArchive m_readOnly{m_fs};
};

}  // namespace vantor::test
