// Progress of an operation over many items or many bytes. The callback
// returns false to stop: the operation then ends as after an ordinary
// failure at that point, and what is done stays done.
#pragma once

#include <cstdint>
#include <functional>

namespace vantor {

struct PakProgress {
    std::uint64_t itemsDone = 0;
    std::uint64_t itemsTotal = 0;
    std::uint64_t bytesDone = 0;
    std::uint64_t bytesTotal = 0;
};

using PakProgressFn = std::function<bool(const PakProgress&)>;

}  // namespace vantor
