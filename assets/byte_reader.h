// A bounds-checked little-endian cursor over untrusted bytes. A read past
// the end yields zero and marks the reader failed; callers read a block of
// fields and check Ok() once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vantor {

class CByteReader {
public:
    explicit CByteReader(std::span<const std::uint8_t> bytes, std::size_t nAt = 0)
        : m_bytes(bytes), m_nAt(nAt), m_bOk(nAt <= bytes.size())
    {
    }

    bool Ok() const { return m_bOk; }
    std::size_t Position() const { return m_nAt; }
    std::size_t Remaining() const { return m_bOk ? m_bytes.size() - m_nAt : 0; }

    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
    std::uint32_t ReadU32()
    {
        if (!Need(4)) return 0;
        const std::uint8_t* p = m_bytes.data() + m_nAt;
        m_nAt += 4;
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    }
    std::uint8_t ReadU8()
    {
        if (!Need(1)) return 0;
        return m_bytes[m_nAt++];
    }
    void Skip(std::size_t nCount)
    {
        if (Need(nCount)) m_nAt += nCount;
    }
    // nCount bytes in place; empty (and failed) when fewer remain.
    std::span<const std::uint8_t> ReadBytes(std::size_t nCount)
    {
        if (!Need(nCount)) return {};
        auto part = m_bytes.subspan(m_nAt, nCount);
        m_nAt += nCount;
        return part;
    }
    // A fixed-size name field: up to its first NUL, bytes outside printable
    // ASCII shown as '?' (the names are shown and compared, never used as
    // paths).
    std::string ReadName(std::size_t nField)
    {
        auto field = ReadBytes(nField);
        std::string name;
        for (std::uint8_t c : field) {
            if (c == 0) break;
            name.push_back(c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '?');
        }
        return name;
    }

private:
    bool Need(std::size_t nCount)
    {
        if (m_bOk && nCount <= m_bytes.size() - m_nAt) return true;
        m_bOk = false;
        return false;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_nAt = 0;
    bool m_bOk = true;
};

}  // namespace vantor
