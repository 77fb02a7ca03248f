// Builds RIFF WAVE files in code, chunk by chunk, any field forged, so that
// the decoder's tests, the views' tests and the fuzz seeds never depend on
// committed binaries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::test {

class WaveBuilder {
public:
    // Format tags of the "fmt " chunk.
    static constexpr std::uint16_t kPcm = 1;
    static constexpr std::uint16_t kMsAdpcm = 2;
    static constexpr std::uint16_t kFloat = 3;
    static constexpr std::uint16_t kImaAdpcm = 0x11;

    // Any chunk; an odd body gets its pad byte. sizeField replaces the size
    // the header would state.
    WaveBuilder& Chunk(std::string_view id, std::string_view body, std::optional<std::uint32_t> sizeField = {});
    // A "fmt " chunk for PCM or float: block alignment and byte rate follow
    // from channels and bits.
    WaveBuilder& Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);
    // "fmt " chunks of the two ADPCM kinds, with their extra fields.
    WaveBuilder& ImaAdpcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t blockAlign);
    WaveBuilder& MsAdpcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t blockAlign);
    WaveBuilder& Data(std::string_view samples, std::optional<std::uint32_t> sizeField = {});
    // A "cue " chunk with one cue point at frame, as the game's tools write.
    WaveBuilder& Cue(std::uint32_t frame);
    // A "LIST" chunk with an "adtl" label, as those tools add after "cue ".
    WaveBuilder& LabelList(std::string_view label);

    // The whole file; riffSize replaces the RIFF header's size field.
    std::string Build(std::optional<std::uint32_t> riffSize = {}) const;
    // Where each chunk's header starts in Build()'s bytes, in order; the
    // size field is 4 bytes further on.
    std::vector<std::size_t> ChunkOffsets() const;

    // A mono or stereo PCM wave of frames frames of a saw tooth.
    static std::string Pcm(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits, std::size_t frames);
    // Sample bytes for PCM of this width: frames × channels of a saw tooth.
    static std::string PcmSamples(std::uint16_t channels, std::uint16_t bits, std::size_t frames);

    static void PutU16(std::string& bytes, std::size_t position, std::uint16_t value);
    static void PutU32(std::string& bytes, std::size_t position, std::uint32_t value);

private:
    struct CChunk {
        std::string id;
        std::string body;
        std::optional<std::uint32_t> sizeField;
    };
    std::vector<CChunk> m_chunks;
};

}  // namespace vantor::test
