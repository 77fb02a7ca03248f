// The wave decoder on files built here: every encoding the game's tools and
// editors write, each size field lying, files cut at every chunk boundary,
// odd sizes, chunks missing, extra and out of place. What decodes must give
// whole frames of the stated shape; what does not must say why and give
// nothing. The sanitizer builds catch any read outside the bytes.
#include "wave_builder.h"
#include "wave_decoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace vantor;
using vantor::test::WaveBuilder;

namespace {

constexpr std::uint32_t kLies = std::numeric_limits<std::uint32_t>::max();

CDecodedWave Decode(const std::string& bytes)
{
    return DecodeWave(std::as_bytes(std::span(bytes.data(), bytes.size())));
}

// What a case must decode to: a sound of this shape, or an error
// (rate 0) whose text starts with error when that is given.
struct Expected {
    int nRate = 0;
    int nChannels = 0;
    std::size_t nFrames = 0;
    std::optional<std::uint32_t> loopStart;
    const char* error = nullptr;
};

Expected Sound(int nRate, int nChannels, std::size_t nFrames, std::optional<std::uint32_t> loopStart = {})
{
    return {nRate, nChannels, nFrames, loopStart, nullptr};
}

Expected Failure(const char* error = nullptr)
{
    return {0, 0, 0, {}, error};
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    Expected expected;
};

void PrintTo(const DecodeCase& c, std::ostream* os)
{
    *os << c.name;
}

const Expected kQuakeSound = Sound(11025, 1, 100, 40);
const char* const kHeaderLies = "Its header does not match its data.";
// What libsndfile refuses: a plain sentence, its own words after.
const Expected kFailure = Failure("It is damaged or in an encoding this program cannot play.");

// The game's kind of sound: 8-bit 11 025 Hz mono with its loop point, the
// cue and its label after the data.
WaveBuilder QuakeSound(std::optional<std::uint32_t> fmtSize = {}, std::optional<std::uint32_t> dataSize = {})
{
    WaveBuilder wave;
    wave.Format(WaveBuilder::kPcm, 1, 11025, 8);
    if (fmtSize) {
        wave = WaveBuilder();
        std::string fmt = WaveBuilder().Format(WaveBuilder::kPcm, 1, 11025, 8).Build().substr(20);
        wave.Chunk("fmt ", fmt, fmtSize);
    }
    return wave.Data(WaveBuilder::PcmSamples(1, 8, 100), dataSize).Cue(40).LabelList("loop");
}

std::string Forged(std::string bytes, std::size_t at, std::uint32_t value)
{
    WaveBuilder::PutU32(bytes, at, value);
    return bytes;
}

std::vector<DecodeCase> Cases()
{
    const WaveBuilder quake = QuakeSound();
    const std::string good = quake.Build();
    const std::vector<std::size_t> at = quake.ChunkOffsets();  // fmt, data, cue, LIST
    const std::string ima(512, '\0');  // two blocks of silence
    const std::string ms = [] {
        // Coefficient pair 0, delta 16, two samples of 0; then nibbles.
        std::string block(256, '\x11');
        block.replace(0, 7, std::string("\0\x10\0\0\0\0\0", 7));
        return block + block;
    }();

    return {
        // Encodings and shapes.
        {"Pcm8Mono11025WithCueAfterData", good, kQuakeSound},
        {"Pcm16Stereo22050", WaveBuilder::Pcm(22050, 2, 16, 300), Sound(22050, 2, 300)},
        {"Pcm24Mono", WaveBuilder::Pcm(44100, 1, 24, 77), Sound(44100, 1, 77)},
        {"Pcm32Stereo", WaveBuilder::Pcm(48000, 2, 32, 64), Sound(48000, 2, 64)},
        {"FloatMono", WaveBuilder().Format(WaveBuilder::kFloat, 1, 22050, 32).Data(std::string(4 * 50, '\0')).Build(),
         Sound(22050, 1, 50)},
        {"ImaAdpcmMono", WaveBuilder().ImaAdpcmFormat(1, 11025, 256).Data(ima).Build(), Sound(11025, 1, 2 * 505)},
        {"ImaAdpcmStereo", WaveBuilder().ImaAdpcmFormat(2, 22050, 512).Data(ima).Build(), Sound(22050, 2, 505)},
        {"MsAdpcmMono", WaveBuilder().MsAdpcmFormat(1, 11025, 256).Data(ms).Build(), Sound(11025, 1, 2 * 500)},
        {"AnyRate", WaveBuilder::Pcm(8000, 1, 8, 10), Sound(8000, 1, 10)},

        // Odd sizes: the pad byte is not a sample.
        {"OddDataSize8Bit", WaveBuilder::Pcm(11025, 1, 8, 101), Sound(11025, 1, 101)},
        {"OddDataSize16BitDropsTheHalfFrame",
         WaveBuilder().Format(WaveBuilder::kPcm, 1, 11025, 16).Data(WaveBuilder::PcmSamples(1, 8, 21)).Build(),
         Sound(11025, 1, 10)},
        {"OddChunkBeforeData",
         WaveBuilder().Format(WaveBuilder::kPcm, 1, 11025, 8).Chunk("JUNK", "abc").Data(WaveBuilder::PcmSamples(1, 8, 9)).Build(),
         Sound(11025, 1, 9)},

        // Chunks the decoder must step over.
        {"ExtraChunksBeforeAndAfterData",
         WaveBuilder()
             .Chunk("JUNK", std::string(28, '\0'))
             .Format(WaveBuilder::kPcm, 1, 11025, 8)
             .Chunk("fact", std::string("\x64\0\0\0", 4))
             .LabelList("before")
             .Data(WaveBuilder::PcmSamples(1, 8, 100))
             .Chunk("smpl", std::string(36, '\0'))
             .Cue(40)
             .Chunk("zzzz", "unknown")
             .Build(),
         kQuakeSound},
        {"CueBeforeData",
         WaveBuilder().Format(WaveBuilder::kPcm, 1, 11025, 8).Cue(40).Data(WaveBuilder::PcmSamples(1, 8, 100)).Build(),
         kQuakeSound},
        {"NoCueNoLoop", WaveBuilder::Pcm(11025, 1, 8, 100), Sound(11025, 1, 100)},

        // Missing or impossible parts.
        {"MissingFmt", WaveBuilder().Data(WaveBuilder::PcmSamples(1, 8, 100)).Build(), kFailure},
        {"MissingData", WaveBuilder().Format(WaveBuilder::kPcm, 1, 11025, 8).Cue(0).Build(), kFailure},
        {"EmptyData", WaveBuilder().Format(WaveBuilder::kPcm, 1, 11025, 8).Data("").Build(), Failure("It holds no sound.")},
        {"NoChannels", WaveBuilder().Format(WaveBuilder::kPcm, 0, 11025, 8).Data("abcd").Build(), kFailure},
        {"RateTooLowToHear", WaveBuilder::Pcm(5, 1, 8, 10), Failure("Its rate of 5 samples")},
        {"UnknownEncoding", WaveBuilder().Format(0x7777, 1, 11025, 8).Data("abcd").Build(), kFailure},
        {"NotRiff", "This is not a sound at all, just some text.", Failure("It is not a wave sound.")},
        {"RiffButNotWave", std::string("RIFF\x04\0\0\0AVI LIST", 16), Failure("It is not a wave sound.")},
        {"Empty", "", Failure("It is not a wave sound.")},
        {"HeaderOnly", std::string("RIFF\x04\0\0\0WAVE", 12), kFailure},

        // Size fields that lie.
        {"RiffSizeTooLarge", Forged(good, 4, kLies), kQuakeSound},
        {"RiffSizeTooSmall", Forged(good, 4, 4), kQuakeSound},
        {"FmtSizeTooLarge", QuakeSound(kLies).Build(), kFailure},
        {"FmtSizeTooSmall", QuakeSound(8).Build(), kFailure},
        {"FmtSizeZero", QuakeSound(0).Build(), kFailure},
        // What the size leaves out is lost; beyond the file's end, the data
        // runs to it, as streamed waves that never learnt their size need.
        {"DataSizeTooLarge", Forged(good, at[1] + 4, kLies), Sound(11025, 1, good.size() - at[1] - 8)},
        {"DataSizeTooSmall", Forged(good, at[1] + 4, 30), Sound(11025, 1, 30)},
        {"DataSizeZero", Forged(good, at[1] + 4, 0), Failure("It holds no sound.")},
        {"CueSizeTooLarge", Forged(good, at[2] + 4, kLies), kQuakeSound},
        {"CueCountTooLarge", Forged(good, at[2] + 8, kLies), Sound(11025, 1, 100)},
        // libsndfile would spin for ever on these.
        {"ListSizeTooLarge", Forged(good, at[3] + 4, kLies), Failure(kHeaderLies)},
        {"ListEntrySizeTooLarge", Forged(good, at[3] + 16, kLies), Failure(kHeaderLies)},
        {"ListOfUnknownTypeWithEntriesOfAllOnes",
         WaveBuilder()
             .Format(WaveBuilder::kPcm, 1, 11025, 8)
             .Data(WaveBuilder::PcmSamples(1, 8, 10))
             .Chunk("LIST", std::string(92, '\xFF'))
             .Build(),
         Failure(kHeaderLies)},
        {"ListEndingInHalfAnEntry",
         WaveBuilder()
             .Format(WaveBuilder::kPcm, 1, 11025, 8)
             .Chunk("LIST", std::string("INFOINFO\x22\xFF\xFF\x61\0\0\0\0\0\0\x80\x01", 20))
             .Chunk("\xE8\xFF\xFF\xFF", "")
             .Data(WaveBuilder::PcmSamples(1, 8, 10))
             .Build(),
         Failure(kHeaderLies)},
        {"ImaBlockAlignTooLarge", Forged(WaveBuilder().ImaAdpcmFormat(1, 11025, 256).Data(ima).Build(), 32, 0xFFFF), kFailure},
    };
}

class DecodeWaveFile : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeWaveFile, GivesWholeFramesOrSaysWhy)
{
    const DecodeCase& c = GetParam();
    const CDecodedWave wave = Decode(c.bytes);
    if (c.expected.nRate == 0) {
        EXPECT_FALSE(wave.IsOk());
        EXPECT_TRUE(wave.samples.empty());
        if (c.expected.error) {
            EXPECT_EQ(wave.error.rfind(c.expected.error, 0), 0u) << wave.error;
        }
        return;
    }
    ASSERT_TRUE(wave.IsOk()) << wave.error;
    EXPECT_EQ(wave.nSampleRate, c.expected.nRate);
    EXPECT_EQ(wave.nChannels, c.expected.nChannels);
    EXPECT_EQ(wave.FrameCount(), c.expected.nFrames);
    EXPECT_EQ(wave.samples.size() % static_cast<std::size_t>(wave.nChannels), 0u);
    EXPECT_EQ(wave.loopStart, c.expected.loopStart);
}

INSTANTIATE_TEST_SUITE_P(Crafted, DecodeWaveFile, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

// Cut where a chunk starts or ends (and one byte either side), the sound
// plays only once its data is whole enough to hold a frame, and the loop
// point once the cue chunk is whole, never before it has a cue point; a
// LIST chunk cut short is refused, its size being a lie.
TEST(DecodeWaveCut, AtEveryChunkBoundary)
{
    const WaveBuilder quake = QuakeSound();
    const std::string good = quake.Build();
    const std::vector<std::size_t> at = quake.ChunkOffsets();  // fmt, data, cue, LIST
    const std::size_t dataStart = at[1] + 8;
    std::vector<std::size_t> cuts{0, 4, 8, 12};
    for (const std::size_t offset : at)
        cuts.insert(cuts.end(), {offset - 1, offset, offset + 1, offset + 4, offset + 8});
    cuts.insert(cuts.end(), {good.size() - 1, good.size()});
    for (const std::size_t cut : cuts) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const CDecodedWave wave = Decode(good.substr(0, cut));
        if (cut >= at[3] + 8 && cut < good.size()) {
            EXPECT_EQ(wave.error, kHeaderLies);
            continue;
        }
        if (cut <= dataStart) {
            EXPECT_FALSE(wave.IsOk());
            EXPECT_TRUE(wave.samples.empty());
            continue;
        }
        ASSERT_TRUE(wave.IsOk()) << wave.error;
        EXPECT_EQ(wave.FrameCount(), std::min<std::size_t>(100, cut - dataStart));
        if (cut >= at[3]) {
            EXPECT_EQ(wave.loopStart, 40u);
        }
        if (cut < at[2] + 12) {
            EXPECT_EQ(wave.loopStart, std::nullopt);
        }
    }
}

// The samples are the file's, converted to 16 bits: 8-bit samples are
// unsigned around 128, and the loudest float is full scale, clipped beyond.
TEST(DecodeWaveSamples, KeepTheirValues)
{
    const CDecodedWave pcm8 =
        Decode(WaveBuilder().Format(WaveBuilder::kPcm, 1, 11025, 8).Data(std::string("\x80\xFF\x00", 3)).Build());
    ASSERT_TRUE(pcm8.IsOk());
    EXPECT_EQ(pcm8.samples, (std::vector<std::int16_t>{0, 127 * 256, -128 * 256}));

    std::string floats(12, '\0');
    for (const auto& [i, value] : {std::pair{0, 0.5f}, {1, 2.0f}, {2, -4.0f}})
        std::memcpy(&floats[static_cast<std::size_t>(i) * 4], &value, 4);
    const CDecodedWave pcmFloat = Decode(WaveBuilder().Format(WaveBuilder::kFloat, 1, 11025, 32).Data(floats).Build());
    ASSERT_TRUE(pcmFloat.IsOk());
    ASSERT_EQ(pcmFloat.samples.size(), 3u);
    EXPECT_NEAR(pcmFloat.samples[0], 16384, 1);
    EXPECT_GE(pcmFloat.samples[1], 32766);
    EXPECT_LE(pcmFloat.samples[2], -32767);
}

}  // namespace
