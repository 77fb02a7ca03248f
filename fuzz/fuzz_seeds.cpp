// Writes the seed corpora of the fuzz targets into OUTDIR/read, OUTDIR/edit,
// OUTDIR/wave and OUTDIR/assets, so that no binary input is ever committed:
// paks in every layout another writer may produce and broken in every field
// for the reading target, a script per operation for the editing target, a
// wave of every encoding the decoder reads for the wave target, and a file
// of every asset format (behind the byte that picks its entry name) for the
// asset target.
// Usage: fuzz_seeds OUTDIR
#include "asset_builder.h"
#include "asset_names.h"
#include "edit_script.h"
#include "fuzz_common.h"
#include "pak_builder.h"
#include "wave_builder.h"

#include <cstdio>
#include <filesystem>

using namespace vantor::fuzz;
using vantor::test::PakBuilder;
using vantor::test::WaveBuilder;

namespace {

namespace fs = std::filesystem;

std::string Data(char c, std::size_t n) { return std::string(n, c); }

std::string Forged(std::string bytes, std::size_t at, std::uint32_t value)
{
    PakBuilder::PutU32(bytes, at, value);
    return bytes;
}

std::vector<std::pair<std::string, std::string>> ReadSeeds()
{
    const std::string two = PakBuilder().File("a.txt", "hello").File("maps/b.bsp", "xyz").Build();
    PakBuilder deep;
    deep.File("a/b/c/d/e/f/g/h/i/j/k/l/m/n/o/p/q/r/s/t/end.dat", "deep").File("a/b/side.txt", "side");
    PakBuilder many;
    for (int i = 0; i < 120; ++i)
        many.File("f" + std::to_string(i % 12) + "/g" + std::to_string(i % 5) + "/e" + std::to_string(i) + ".dat",
                  Data(static_cast<char>('a' + i % 26), static_cast<std::size_t>(i % 40)));
    PakBuilder hostile;
    for (const char* name : {"../x", "a/../../x", "/abs", "\\abs", "C:\\x", "a\\..\\..\\x", ".", "a//b", "..", "a/./b", "ok/good.txt"})
        hostile.File(name, "evil");

    return {
        {"empty", PakBuilder().Build()},
        {"two-entries", two},
        {"directory-first", PakBuilder().Directory().File("a.txt", Data('a', 100)).Gap(33).File("maps/b.bsp", Data('b', 300)).Build()},
        {"directory-in-middle",
         PakBuilder().File("a.txt", Data('a', 100)).Gap(40).File("maps/b.bsp", Data('b', 30)).Directory().File("maps/c.bsp", "c").Build()},
        {"unused-after-directory", PakBuilder().File("a.txt", Data('a', 100)).Directory().Gap(90).Build()},
        {"gaps", PakBuilder().Gap(20).File("a.txt", "a").Gap(64).File("maps/b.bsp", "b").Gap(5).Build()},
        {"zero-length-entries", PakBuilder().File("empty.dat", "").File("maps/new/temp.tmp", "").File("x.txt", "x").Build()},
        {"twins", PakBuilder().File("a.txt", "old").File("b.txt", "bb").File("a.txt", "new!").File("A.TXT", "case").Build()},
        {"deep-folders", deep.Build()},
        {"many-entries", many.Build()},
        {"hostile-names", hostile.Build()},
        {"backslash-names", PakBuilder().File("maps\\dm\\a.bsp", "a").File("maps/dm/a.bsp", "b").File("c:\\x.txt", "c").Build()},
        {"name-of-55", PakBuilder().File(std::string(51, 'n') + ".txt", "x").Build()},
        {"unterminated-name", PakBuilder().RawRecord(std::string(56, 'n'), 12, 0).Build()},
        {"entry-past-end", PakBuilder().File("a.txt", "a").Record("far.bin", 100000, 10).Build()},
        {"entry-over-header", PakBuilder().File("a.txt", "abc").Record("hdr.bin", 0, 20).Build()},
        {"entry-over-directory", PakBuilder().File("a.txt", "abc").Record("dir.bin", 15, 20).Build()},
        {"overlapping-entries", PakBuilder().File("a.txt", Data('a', 50)).Record("b.txt", 20, 40).Build()},
        {"entry-past-2gib", PakBuilder().File("a.txt", "a").Record("far.bin", 0x7FFFFF00u, 0x200).Build()},
        {"empty-entries-anywhere",
         PakBuilder().Record("e0.dat", 0, 0).File("a.txt", Data('a', 9)).Gap(30).File("a.txt", "twin").Record("e1.dat", 99999, 0).Build()},
        {"bad-magic", [&] { std::string b = two; b.replace(0, 4, "pack"); return b; }()},
        {"shorter-than-header", std::string("PACK\x0c\0\0", 7)},
        {"header-of-zeros", std::string("PACK\0\0\0\0\0\0\0\0", 12)},
        {"directory-past-end-length-0", Forged(PakBuilder().Build(), 4, 5000)},
        {"directory-past-end-length-64", Forged(Forged(PakBuilder().Build(), 4, 5000), 8, 64)},
        {"directory-runs-past-end", Forged(two, 8, 192)},
        {"huge-dir-length", Forged(two, 8, 0xFFFFFFC0u)},
        {"dir-length-not-multiple-of-64", Forged(two, 8, 64 + 63)},
        {"dir-length-under-64", Forged(two, 8, 10)},
    };
}

std::vector<std::pair<std::string, std::string>> EditSeeds()
{
    std::vector<std::pair<std::string, std::string>> seeds;
    const auto add = [&](const std::string& name, const CEditScript& script) { seeds.emplace_back(name, script.Bytes()); };
    for (std::uint8_t pak = 0; pak < kStartingPaks; ++pak) {
        const std::string p = "pak" + std::to_string(pak) + "-";
        add(p + "add", CEditScript(pak).Step(opAdd, {0, 1, 2, 0}).Step(opAdd, {3, 0, 5, 0}).Step(opAdd, {4, 2, 0, 0}));
        add(p + "replace", CEditScript(pak).Step(opAdd, {0, 0, 3, 1}).Step(opAdd, {0, 0, 9, 1}).Step(opRestore, {0}));
        add(p + "gib-restore", CEditScript(pak).Step(opGib, {0}).Step(opGib, {1}).Step(opRestore, {0}).Step(opRestore, {1}));
        add(p + "gib-later", CEditScript(pak).Step(opGibLater, {1}).Step(opGibLater, {2}).Step(opRenameEntry, {0, 6, 3}));
        add(p + "gib-folder", CEditScript(pak).Step(opGibFolder, {0}).Step(opRestore, {0}).Step(opRecover));
        add(p + "rename", CEditScript(pak).Step(opRenameEntry, {0, 1, 2}).Step(opRenameEntry, {1, 2, 0}).Step(opRenameEntry, {2, 0, 8}));
        add(p + "rename-folder", CEditScript(pak).Step(opRenameFolder, {0, 4, 5}).Step(opRenameFolder, {1, 0, 0}));
        add(p + "create-folder", CEditScript(pak).Step(opCreateFolder, {0, 5}).Step(opCreateFolder, {0, 5}).Step(opCreateFolder, {230, 0x80}));
        add(p + "recover", CEditScript(pak).Step(opGib, {0}).Step(opAdd, {1, 0, 4, 0}).Step(opGib, {2}).Step(opRecover).Step(opRestore, {0}));
        add(p + "import", CEditScript(pak).Step(opImport, {0x07, 1, 0}).Step(opImport, {0x07, 1, 1}).Step(opImport, {0x1B, 0, 0}));
        add(p + "batch", CEditScript(pak).Step(opBeginBatch).Step(opAdd, {0, 1, 2, 0}).Step(opGib, {0}).Step(opCreateFolder, {1, 3})
                             .Step(opEndBatch).Step(opReopen));
        add(p + "disk-full", CEditScript(pak).Step(opFailWrite, {1, 0}).Step(opAdd, {0, 1, 3, 1}).Step(opGib, {0})
                                 .Step(opFailWrite, {2, 0}).Step(opRecover).Step(opAdd, {2, 0, 2, 0}));
        add(p + "killed", CEditScript(pak).Step(opGib, {1}).Step(opFailWrite, {3, 1}).Step(opRecover).Step(opFailWrite, {1, 1})
                              .Step(opImport, {0x05, 2, 1}));
    }
    add("big-entry", CEditScript(1).Step(opAdd, {1, 1, 0xFE, 0}).Step(opGib, {0}).Step(opRecover).Step(opReopen));
    add("root-names", CEditScript(1).Step(opGibFolder, {235}).Step(opCreateFolder, {236, 0x80}).Step(opRenameFolder, {0, 16, 0x80})
                          .Step(opRenameFolder, {237, 1, 0}).Step(opCreateFolder, {238, 0}));
    add("kept-long-names", CEditScript(3).Step(opAdd, {0, 9, 1, 0}).Step(opRenameEntry, {4, 1, 8}).Step(opCreateFolder, {3, 0}));
    add("batch-of-failed-adds", CEditScript(4).Step(opBeginBatch).Step(opFailWrite, {0, 0}).Step(opAdd, {0, 1, 3, 0})
                                    .Step(opFailWrite, {2, 0}).Step(opAdd, {1, 0, 5, 1}).Step(opEndBatch));
    add("names-refused", CEditScript(1).Step(opAdd, {8, 0, 1, 0}).Step(opAdd, {10, 0, 1, 0}).Step(opAdd, {0, 8, 1, 0})
                             .Step(opRenameEntry, {0, 9, 0}).Step(opCreateFolder, {250, 10}).Step(opRenameFolder, {0, 11, 0}));
    return seeds;
}

std::vector<std::pair<std::string, std::string>> WaveSeeds()
{
    const std::string ima(512, '\0');
    std::string ms(256, '\x11');
    ms.replace(0, 7, std::string("\0\x10\0\0\0\0\0", 7));
    return {
        {"quake-8bit-cue-list",
         WaveBuilder().Format(WaveBuilder::kPcm, 1, 11025, 8).Data(WaveBuilder::PcmSamples(1, 8, 99)).Cue(40)
             .LabelList("loop").Build()},
        {"pcm16-stereo", WaveBuilder::Pcm(22050, 2, 16, 40)},
        {"pcm24", WaveBuilder::Pcm(44100, 1, 24, 20)},
        {"pcm32", WaveBuilder::Pcm(48000, 2, 32, 20)},
        {"float", WaveBuilder().Format(WaveBuilder::kFloat, 1, 22050, 32).Data(std::string(64, '\x3f')).Build()},
        {"ima-adpcm", WaveBuilder().ImaAdpcmFormat(1, 11025, 256).Data(ima).Build()},
        {"ima-adpcm-stereo", WaveBuilder().ImaAdpcmFormat(2, 22050, 512).Data(ima).Build()},
        {"ms-adpcm", WaveBuilder().MsAdpcmFormat(1, 11025, 256).Data(ms).Build()},
        {"extra-chunks",
         WaveBuilder().Chunk("JUNK", "abc").Format(WaveBuilder::kPcm, 1, 11025, 8).Chunk("fact", std::string(4, '\0'))
             .Data(WaveBuilder::PcmSamples(1, 8, 9)).Chunk("smpl", std::string(36, '\0')).Build()},
        {"data-size-lies", WaveBuilder().Format(WaveBuilder::kPcm, 1, 11025, 8).Data("abcdef", 0xFFFFFFFFu).Build()},
    };
}

std::vector<std::pair<std::string, std::string>> AssetSeeds()
{
    using namespace vantor::test;
    // The byte that makes the target decode the rest under kAssetNames[i].
    const auto under = [](const char* name, const std::string& bytes) {
        for (std::size_t i = 0; i < kAssetNames.size(); ++i)
            if (std::string_view(kAssetNames[i]) == name) return std::string(1, static_cast<char>(i)) + bytes;
        return bytes;
    };
    const std::string palette = BuildPalette().bytes;
    return {
        {"qpic", under("gfx/pic.lmp", BuildQpic(16, 8).bytes)},
        {"palette", under("gfx/palette.lmp", palette)},
        {"colormap", under("gfx/colormap.lmp", BuildColormap(4).bytes)},
        {"conchars", under("gfx/conchars", BuildConchars().bytes)},
        {"wad2", under("gfx.wad", WadBuilder()
                                      .Lump("palette", WadBuilder::kPalette, palette)
                                      .Lump("conchars", WadBuilder::kMiptex, BuildConchars().bytes)
                                      .Qpic("num_1", 8, 8)
                                      .Miptex("+0lava", 16, 16)
                                      .Build()
                                      .bytes)},
        {"bsp29", under("maps/start.bsp",
                        BspBuilder().Texture("+0slime", 16, 16).Missing().Texture("sky1", 32, 16).Build().bytes)},
        {"bsp2", under("maps/start.bsp", BspBuilder().Texture("{grate", 16, 16).Build("BSP2").bytes)},
        {"mdl", under("progs/ogre.mdl", MdlBuilder(8, 8).Skin().SkinGroup(3).Build().bytes)},
        {"spr", under("progs/s_light.spr", SprBuilder().Frame(4, 4).Group(2, 4, 2).Angled(2, 2).Build().bytes)},
        {"bsp30", under("maps/start.bsp", ForeignHeader("bsp30"))},
        {"wad3", under("gfx.wad", ForeignHeader("wad3"))},
        {"spr32", under("progs/s_light.spr", ForeignHeader("spr32"))},
    };
}

bool WriteAll(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& seeds)
{
    fs::create_directories(folder);
    for (const auto& [name, bytes] : seeds) WriteWholeFile(folder + "/" + name, bytes);
    std::printf("%zu seeds in %s\n", seeds.size(), folder.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTDIR\n");
        return 2;
    }
    const std::string out = argv[1];
    WriteAll(out + "/read", ReadSeeds());
    WriteAll(out + "/edit", EditSeeds());
    WriteAll(out + "/wave", WaveSeeds());
    WriteAll(out + "/assets", AssetSeeds());
    return 0;
}
