// CEntryReader: ranges of one pak entry, read through the archive when they
// are needed, so that a big entry is never held whole. The entry is found
// by its path at every read: a pak that changed meanwhile yields nothing
// rather than another entry's bytes.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <string>

namespace vantor {

class CPakArchive;

class CEntryReader {
public:
    CEntryReader() = default;
    // canRead answers whether the archive may be read now (false while long
    // work runs on it); always when not given.
    CEntryReader(CPakArchive& archive, std::string entryPath, std::uint64_t nLength,
                 std::function<bool()> canRead = {});

    bool IsValid() const { return m_pArchive != nullptr; }
    const std::string& EntryPath() const { return m_strPath; }
    std::uint64_t Length() const { return m_nLength; }

    // Up to nCount bytes from nOffset, cut at the entry's end. Empty when
    // they cannot be read or nOffset lies at or past the end.
    QByteArray Read(std::uint64_t nOffset, std::size_t nCount);
    // The whole entry; empty when it cannot be read.
    QByteArray ReadAll() { return Read(0, static_cast<std::size_t>(m_nLength)); }

    // Every byte handed out so far: what a view over a big entry costs.
    std::uint64_t BytesRead() const { return m_nBytesRead; }

private:
    CPakArchive* m_pArchive = nullptr;
    std::string m_strPath;
    std::uint64_t m_nLength = 0;
    std::function<bool()> m_canRead;
    std::uint64_t m_nBytesRead = 0;
};

}  // namespace vantor
