#include "entry_reader.h"

#include "pak_archive.h"

#include <algorithm>
#include <new>

namespace vantor {

CEntryReader::CEntryReader(CPakArchive& archive, std::string entryPath, std::uint64_t nLength,
                           std::function<bool()> canRead)
    : m_pArchive(&archive), m_strPath(std::move(entryPath)), m_nLength(nLength), m_canRead(std::move(canRead))
{
}

QByteArray CEntryReader::Read(std::uint64_t nOffset, std::size_t nCount)
{
    if (!m_pArchive || nOffset >= m_nLength || nCount == 0 || (m_canRead && !m_canRead()))
        return {};
    const auto nTake = static_cast<std::size_t>(std::min<std::uint64_t>(nCount, m_nLength - nOffset));
    const int nIndex = m_pArchive->FindEntryByName(m_strPath);
    if (nIndex < 0 || m_pArchive->GetEntryLength(m_strPath) != static_cast<std::int64_t>(m_nLength))
        return {};
    QByteArray bytes;
    try {
        bytes.resize(static_cast<qsizetype>(nTake));
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (!m_pArchive->ReadEntryPart(static_cast<std::size_t>(nIndex), nOffset, bytes.data(), nTake))
        return {};
    m_nBytesRead += nTake;
    return bytes;
}

}  // namespace vantor
