#include "wave_builder.h"

namespace vantor::test {

namespace {

std::string U16(std::uint16_t value)
{
    std::string bytes(2, '\0');
    WaveBuilder::PutU16(bytes, 0, value);
    return bytes;
}

std::string U32(std::uint32_t value)
{
    std::string bytes(4, '\0');
    WaveBuilder::PutU32(bytes, 0, value);
    return bytes;
}

std::string FormatBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint32_t byteRate,
                       std::uint16_t blockAlign, std::uint16_t bits)
{
    return U16(tag) + U16(channels) + U32(rate) + U32(byteRate) + U16(blockAlign) + U16(bits);
}

}  // namespace

void WaveBuilder::PutU16(std::string& bytes, std::size_t position, std::uint16_t value)
{
    bytes[position] = static_cast<char>(value & 0xFF);
    bytes[position + 1] = static_cast<char>(value >> 8);
}

void WaveBuilder::PutU32(std::string& bytes, std::size_t position, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[position + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

WaveBuilder& WaveBuilder::Chunk(std::string_view id, std::string_view body, std::optional<std::uint32_t> sizeField)
{
    m_chunks.push_back({std::string(id), std::string(body), sizeField});
    return *this;
}

WaveBuilder& WaveBuilder::Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    const auto blockAlign = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
    return Chunk("fmt ", FormatBody(tag, channels, rate, rate * blockAlign, blockAlign, bits));
}

WaveBuilder& WaveBuilder::ImaAdpcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t blockAlign)
{
    // Each channel's block starts with a 4-byte header and a sample of its
    // own; the rest is 4 bits a sample.
    const auto samplesPerBlock = static_cast<std::uint16_t>((blockAlign - 4 * channels) * 2 / channels + 1);
    const std::uint32_t byteRate = rate * blockAlign / samplesPerBlock;
    return Chunk("fmt ", FormatBody(kImaAdpcm, channels, rate, byteRate, blockAlign, 4) + U16(2) + U16(samplesPerBlock));
}

WaveBuilder& WaveBuilder::MsAdpcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t blockAlign)
{
    // A 7-byte header a channel holding two samples, then 4 bits a sample;
    // the seven standard coefficient pairs follow.
    const auto samplesPerBlock = static_cast<std::uint16_t>((blockAlign - 7 * channels) * 2 / channels + 2);
    const std::uint32_t byteRate = rate * blockAlign / samplesPerBlock;
    std::string extra = U16(samplesPerBlock) + U16(7);
    for (const auto& [a, b] : {std::pair{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}})
        extra += U16(static_cast<std::uint16_t>(a)) + U16(static_cast<std::uint16_t>(b));
    return Chunk("fmt ", FormatBody(kMsAdpcm, channels, rate, byteRate, blockAlign, 4) +
                             U16(static_cast<std::uint16_t>(extra.size())) + extra);
}

WaveBuilder& WaveBuilder::Data(std::string_view samples, std::optional<std::uint32_t> sizeField)
{
    return Chunk("data", samples, sizeField);
}

WaveBuilder& WaveBuilder::Cue(std::uint32_t frame)
{
    // Count, then the point: id, position, chunk "data", chunk start,
    // block start, sample offset (the frame the game loops from).
    return Chunk("cue ", U32(1) + U32(1) + U32(frame) + "data" + U32(0) + U32(0) + U32(frame));
}

WaveBuilder& WaveBuilder::LabelList(std::string_view label)
{
    std::string text(label);
    text += '\0';
    std::string labl = "labl" + U32(static_cast<std::uint32_t>(4 + text.size())) + U32(1) + text;
    if (labl.size() % 2 != 0)
        labl += '\0';
    return Chunk("LIST", "adtl" + labl);
}

std::string WaveBuilder::Build(std::optional<std::uint32_t> riffSize) const
{
    std::string body = "WAVE";
    for (const CChunk& chunk : m_chunks) {
        body += chunk.id;
        body += U32(chunk.sizeField.value_or(static_cast<std::uint32_t>(chunk.body.size())));
        body += chunk.body;
        if (chunk.body.size() % 2 != 0)
            body += '\0';
    }
    return "RIFF" + U32(riffSize.value_or(static_cast<std::uint32_t>(body.size()))) + body;
}

std::vector<std::size_t> WaveBuilder::ChunkOffsets() const
{
    std::vector<std::size_t> offsets;
    std::size_t position = 12;
    for (const CChunk& chunk : m_chunks) {
        offsets.push_back(position);
        position += 8 + chunk.body.size() + chunk.body.size() % 2;
    }
    return offsets;
}

std::string WaveBuilder::PcmSamples(std::uint16_t channels, std::uint16_t bits, std::size_t frames)
{
    const std::size_t width = (bits + 7u) / 8u;
    std::string bytes;
    bytes.reserve(frames * channels * width);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        for (std::uint16_t channel = 0; channel < channels; ++channel) {
            // A saw tooth over the whole range; 8-bit samples are unsigned.
            const auto value = static_cast<std::uint32_t>((frame * 37 + channel * 101) * 0x01010101u);
            for (std::size_t i = 0; i < width; ++i)
                bytes += static_cast<char>((value >> (8 * (4 - width + i))) & 0xFF);
        }
    }
    return bytes;
}

std::string WaveBuilder::Pcm(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits, std::size_t frames)
{
    return WaveBuilder().Format(kPcm, channels, rate, bits).Data(PcmSamples(channels, bits, frames)).Build();
}

}  // namespace vantor::test
