// A run of bytes in the pak file: what every overlap test of the engine
// compares (entries, the directory, places a commit still protects).
#pragma once

#include "pak_format.h"

#include <cstdint>

namespace vantor {

struct ByteRange {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;

    std::uint64_t End() const { return offset + length; }
    // Empty ranges hold no bytes, so they overlap nothing.
    bool Overlaps(const ByteRange& other) const
    {
        return length != 0 && other.length != 0 && offset < other.End() && other.offset < End();
    }
};

inline ByteRange DataOf(const PakEntry& entry) { return {entry.offset, entry.length}; }

}  // namespace vantor
