// Decoding a wave file held in memory into 16-bit samples that a sound
// output takes, through libsndfile. No Qt here: the tests and the fuzz
// target use it on its own, and the pak's entry is read from where it lies
// in memory, never copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantor {

struct CDecodedWave {
    int nSampleRate = 0;
    int nChannels = 0;
    // Signed 16-bit samples, the channels of a frame side by side; whole
    // frames only.
    std::vector<std::int16_t> samples;
    // The frame a looping sound starts again from: the first cue point, as
    // the game reads it. None when the file has no cue point.
    std::optional<std::uint32_t> loopStart;
    // How the file stores its samples, as users name it ("16-bit PCM").
    std::string encoding;
    // Why the sound cannot be played, as a sentence for the user; empty
    // when it can.
    std::string error;

    bool IsOk() const { return error.empty(); }
    std::size_t FrameCount() const { return nChannels > 0 ? samples.size() / static_cast<std::size_t>(nChannels) : 0; }
};

// Decodes a RIFF WAVE file: PCM of 8 to 32 bits, float, IMA and MS ADPCM,
// and whatever else libsndfile reads inside a wave; any channel count and
// rate it accepts. A file whose data ends early plays what it holds; one
// whose LIST chunk sizes do not add up is refused. Never reads outside
// bytes. Throws std::bad_alloc only when memory runs out.
CDecodedWave DecodeWave(std::span<const std::byte> bytes);

}  // namespace vantor
