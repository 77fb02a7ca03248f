#include "wave_decoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <memory>

namespace vantor {

namespace {

// libsndfile reads the entry through these; every read is held inside the
// bytes, whatever a header asks for.
struct CMemoryFile {
    std::span<const std::byte> bytes;
    sf_count_t nPosition = 0;
};

sf_count_t MemoryLength(void* pUser)
{
    return static_cast<sf_count_t>(static_cast<CMemoryFile*>(pUser)->bytes.size());
}

sf_count_t MemorySeek(sf_count_t nOffset, int nWhence, void* pUser)
{
    auto* pFile = static_cast<CMemoryFile*>(pUser);
    sf_count_t nBase = 0;
    switch (nWhence) {
    case SEEK_SET: nBase = 0; break;
    case SEEK_CUR: nBase = pFile->nPosition; break;
    case SEEK_END: nBase = static_cast<sf_count_t>(pFile->bytes.size()); break;
    default: return -1;
    }
    // Offsets come from the file's own size fields.
    sf_count_t nTarget = 0;
    if (__builtin_add_overflow(nBase, nOffset, &nTarget) || nTarget < 0)
        return -1;
    pFile->nPosition = nTarget;
    return nTarget;
}

sf_count_t MemoryRead(void* pBuffer, sf_count_t nCount, void* pUser)
{
    auto* pFile = static_cast<CMemoryFile*>(pUser);
    const auto nSize = static_cast<sf_count_t>(pFile->bytes.size());
    if (nCount <= 0 || pFile->nPosition >= nSize)
        return 0;
    const sf_count_t nRead = std::min(nCount, nSize - pFile->nPosition);
    std::memcpy(pBuffer, pFile->bytes.data() + pFile->nPosition, static_cast<std::size_t>(nRead));
    pFile->nPosition += nRead;
    return nRead;
}

sf_count_t MemoryWrite(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t MemoryTell(void* pUser)
{
    return static_cast<CMemoryFile*>(pUser)->nPosition;
}

struct CloseSndFile {
    void operator()(SNDFILE* pFile) const { sf_close(pFile); }
};

bool HasWaveSignature(std::span<const std::byte> bytes)
{
    // Only waves reach libsndfile: a ".wav" entry holding some other format
    // it knows is still not a wave, and each format it parses is more code
    // that hostile bytes reach.
    return bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
           std::memcmp(bytes.data() + 8, "WAVE", 4) == 0;
}

std::uint32_t ReadU32(std::span<const std::byte> bytes, std::size_t nAt)
{
    std::uint32_t nValue = 0;
    for (std::size_t i = 4; i-- > 0;)
        nValue = (nValue << 8) | static_cast<std::uint32_t>(bytes[nAt + i]);
    return nValue;
}

bool HasId(std::span<const std::byte> bytes, std::size_t nAt, const char* id)
{
    return std::memcmp(bytes.data() + nAt, id, 4) == 0;
}

// The entries of a LIST (or INFO) chunk, as libsndfile walks them: the
// markers "adtl", "INFO" and "exif" stand alone, anything else has a size.
// They must fill the chunk exactly: libsndfile reads a marker or a size
// that starts inside the chunk even where it ends outside.
bool ListEntriesFit(std::span<const std::byte> list)
{
    std::size_t nAt = 0;
    while (nAt < list.size()) {
        if (nAt + 4 <= list.size() &&
            (HasId(list, nAt, "adtl") || HasId(list, nAt, "INFO") || HasId(list, nAt, "exif"))) {
            nAt += 4;
            continue;
        }
        if (nAt + 8 > list.size())
            return false;
        const std::uint32_t nSize = ReadU32(list, nAt + 4);
        if (nSize > list.size() - nAt - 8)
            return false;
        nAt += 8 + std::size_t{nSize} + (nSize & 1);
    }
    return true;
}

// libsndfile 1.2 can spin for ever inside a LIST chunk whose sizes do not
// add up, reading nothing more while it does, so no limit on what the
// virtual file hands out can stop it. Such files are refused before it
// sees them. Only chunk sizes are looked at here; the contents are
// libsndfile's to read.
bool ListChunksFit(std::span<const std::byte> bytes)
{
    std::size_t nAt = 12;
    while (nAt + 8 <= bytes.size()) {
        const std::uint32_t nSize = ReadU32(bytes, nAt + 4);
        const std::size_t nLeft = bytes.size() - nAt - 8;
        const bool bList = HasId(bytes, nAt, "LIST") || HasId(bytes, nAt, "INFO");
        if (nSize > nLeft)
            return !bList;  // libsndfile reads no chunk past this one
        if (bList && !ListEntriesFit(bytes.subspan(nAt + 8, nSize)))
            return false;
        nAt += 8 + std::size_t{nSize} + (nSize & 1);
    }
    return true;
}

// libsndfile's own words name the fault, but not always the one a user would
// look for (a missing "fmt " chunk reads as a missing "data" chunk); they go
// after a plain sentence.
std::string ErrorOf(SNDFILE* pFile)
{
    std::string detail = sf_strerror(pFile);
    while (!detail.empty() && std::isspace(static_cast<unsigned char>(detail.back())))
        detail.pop_back();
    std::string text = "It is damaged or in an encoding this program cannot play.";
    if (!detail.empty())
        text += "  (" + detail + ")";
    return text;
}

// Beyond full scale is clipped, not wrapped round; 16-bit sources come
// through unchanged (libsndfile scales them by 1/32768).
std::int16_t ToInt16(float fSample)
{
    if (std::isnan(fSample))
        return 0;
    const float fScaled = std::clamp(fSample * 32768.0f, -32768.0f, 32767.0f);
    return static_cast<std::int16_t>(std::lrint(fScaled));
}

const char* const kHeaderLies = "Its header does not match its data.";

constexpr int kLowestRate = 1000;
constexpr int kHighestRate = 384000;
// Samples decoded per call: enough to keep calls few, small enough that a
// header claiming more frames or channels than its data holds costs
// nothing up front.
constexpr std::size_t kSamplesPerRead = 16384;
// No encoding libsndfile reads in a wave turns one byte into more than about
// ten bytes of 16-bit samples (GSM 6.10); a file that decodes into far more
// has a header that does not describe its data.
constexpr std::size_t kMostBytesPerByte = 16;
constexpr std::size_t kLeewayBytes = 1 << 16;

// The sample encodings a wave may hold, as the preview names them.
std::string EncodingOf(int nFormat)
{
    struct Name {
        int nSubtype;
        const char* pszName;
    };
    static constexpr Name kNames[] = {
        {SF_FORMAT_PCM_U8, "8-bit PCM"},       {SF_FORMAT_PCM_S8, "8-bit PCM"},
        {SF_FORMAT_PCM_16, "16-bit PCM"},      {SF_FORMAT_PCM_24, "24-bit PCM"},
        {SF_FORMAT_PCM_32, "32-bit PCM"},      {SF_FORMAT_FLOAT, "32-bit float"},
        {SF_FORMAT_DOUBLE, "64-bit float"},    {SF_FORMAT_IMA_ADPCM, "IMA ADPCM"},
        {SF_FORMAT_MS_ADPCM, "Microsoft ADPCM"}, {SF_FORMAT_ULAW, "u-law"},
        {SF_FORMAT_ALAW, "A-law"},             {SF_FORMAT_GSM610, "GSM 6.10"},
    };
    for (const Name& name : kNames) {
        if ((nFormat & SF_FORMAT_SUBMASK) == name.nSubtype)
            return name.pszName;
    }
    return "compressed";
}

}  // namespace

CDecodedWave DecodeWave(std::span<const std::byte> bytes)
{
    CDecodedWave wave;
    if (!HasWaveSignature(bytes)) {
        wave.error = "It is not a wave sound.";
        return wave;
    }
    if (!ListChunksFit(bytes)) {
        wave.error = kHeaderLies;
        return wave;
    }
    CMemoryFile memory{bytes, 0};
    SF_VIRTUAL_IO io{MemoryLength, MemorySeek, MemoryRead, MemoryWrite, MemoryTell};
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, CloseSndFile> file(sf_open_virtual(&io, SFM_READ, &info, &memory));
    if (!file) {
        wave.error = ErrorOf(nullptr);
        return wave;
    }
    if (info.channels < 1) {
        wave.error = "It has no channels.";
        return wave;
    }
    if (info.samplerate < kLowestRate || info.samplerate > kHighestRate) {
        wave.error = "Its rate of " + std::to_string(info.samplerate) + " samples a second cannot be played.";
        return wave;
    }
    wave.nSampleRate = info.samplerate;
    wave.nChannels = info.channels;
    wave.encoding = EncodingOf(info.format);

    // Every encoding is read as floats, full scale at 1.0, and turned into
    // 16 bits here: libsndfile would hand float files over as integers
    // unscaled, or scaled to their own peak, neither of which is the sound.
    const std::size_t nMostSamples = (bytes.size() * kMostBytesPerByte + kLeewayBytes) / sizeof(std::int16_t);
    const auto nChannels = static_cast<std::size_t>(info.channels);
    const std::size_t nFramesPerRead = std::max<std::size_t>(1, kSamplesPerRead / nChannels);
    std::vector<float> chunk(nFramesPerRead * nChannels);
    for (;;) {
        const sf_count_t nFrames =
            sf_readf_float(file.get(), chunk.data(), static_cast<sf_count_t>(nFramesPerRead));
        if (nFrames <= 0)
            break;
        const std::size_t nSamples = static_cast<std::size_t>(nFrames) * nChannels;
        if (wave.samples.size() + nSamples > nMostSamples) {
            wave.samples.clear();
            wave.error = kHeaderLies;
            return wave;
        }
        for (std::size_t i = 0; i < nSamples; ++i)
            wave.samples.push_back(ToInt16(chunk[i]));
    }
    if (wave.samples.empty()) {
        wave.error = sf_error(file.get()) != SF_ERR_NO_ERROR ? ErrorOf(file.get()) : "It holds no sound.";
        return wave;
    }

    // The game loops a sound from its first cue point; a later preview may
    // want the same.
    std::uint32_t nCues = 0;
    if (sf_command(file.get(), SFC_GET_CUE_COUNT, &nCues, sizeof nCues) == SF_TRUE && nCues > 0) {
        const auto cues = std::make_unique<SF_CUES>();
        if (sf_command(file.get(), SFC_GET_CUE, cues.get(), sizeof *cues) == SF_TRUE && cues->cue_count > 0)
            wave.loopStart = cues->cue_points[0].sample_offset;
    }
    return wave;
}

}  // namespace vantor
