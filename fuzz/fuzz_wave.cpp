// Fuzzes the wave decoder over any bytes: nothing may read outside them
// (the input is copied into a buffer of exactly its size, so AddressSanitizer
// sees the end), and whatever decodes must be whole frames of a shape a
// sound output can take; whatever does not must say why and hand back no
// samples. A second decode of the same bytes must agree with the first.
#include "fuzz_common.h"
#include "wave_decoder.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

using namespace vantor;
using namespace vantor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const auto bytes = std::make_unique<std::byte[]>(nSize);
    for (std::size_t i = 0; i < nSize; ++i)
        bytes[i] = static_cast<std::byte>(pData[i]);
    const std::span<const std::byte> image(bytes.get(), nSize);

    const CDecodedWave wave = DecodeWave(image);
    if (!wave.IsOk()) {
        Require(wave.samples.empty(), "a refused wave handed back samples");
        return 0;
    }
    Require(wave.nChannels >= 1, "a decoded wave without channels");
    Require(wave.nSampleRate >= 1000 && wave.nSampleRate <= 384000, "a decoded wave at a rate no output takes");
    Require(!wave.samples.empty(), "a decoded wave without samples");
    Require(wave.samples.size() % static_cast<std::size_t>(wave.nChannels) == 0, "a decoded wave ends in a part frame");
    // No encoding yields more than 16 bytes of samples a byte of file.
    Require(wave.samples.size() * sizeof(std::int16_t) <= nSize * 16 + 65536, "a decoded wave larger than its bound");

    const CDecodedWave again = DecodeWave(image);
    Require(again.IsOk() && again.samples == wave.samples && again.loopStart == wave.loopStart,
            "the same bytes decoded twice differently");
    return 0;
}
