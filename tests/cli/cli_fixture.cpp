// The paks the vantor-pak regression cases run on, and a way to look at a
// pak without vantor-pak. Paks are built with PakBuilder: the same entries
// in the layouts other writers produce (with their input files beside them
// for comparison), and one broken pak per problem `check` can find, each
// named after what it breaks.
//
// Pictures for export come from the asset builder, in a game folder.
//
//   cli_fixture write DIR   writes every pak into DIR, inputs into DIR/inputs
//   cli_fixture dump PAK    the pak as the independent reader sees it
#include "asset_builder.h"
#include "pak_builder.h"
#include "pak_reader.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using vantor::test::PakBuilder;
namespace fs = std::filesystem;

using Contents = std::vector<std::pair<std::string, std::string>>;

std::string AllByteValues()
{
    std::string bytes;
    for (int round = 0; round < 3; ++round)
        for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    return bytes;
}

// The entries every layout holds; some are empty, one holds every byte value.
const Contents& LayoutContents()
{
    static const Contents contents = {
        {"maps/e1m1.bsp", "level one\n"},
        {"progs/player.mdl", AllByteValues()},
        {"sound/empty.wav", ""},
        {"readme.txt", "read me\n"},
        {"maps/dm/dm1.bsp", "deathmatch\n"},
        {"gfx/blank.lmp", ""},
    };
    return contents;
}

// An entry large enough that reading it takes several pieces.
std::string BigData()
{
    std::string data((3u << 20) + 5, '\0');
    std::uint32_t state = 12345;
    for (char& c : data) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    return data;
}

PakBuilder Layout(std::size_t directoryAt, std::size_t gap)
{
    PakBuilder pak;
    const Contents& contents = LayoutContents();
    for (std::size_t i = 0; i < contents.size(); ++i) {
        if (i == directoryAt) pak.Directory();
        if (gap != 0) pak.Gap(gap + i);
        pak.File(contents[i].first, contents[i].second);
    }
    if (directoryAt >= contents.size()) pak.Directory();
    if (gap != 0) pak.Gap(gap / 2);  // bytes after the directory, too
    return pak;
}

// Empty entries whose offsets point anywhere: at the header, far past the
// end. A length of 0 makes them harmless, and every reader must agree.
PakBuilder LayoutWithStrayEmptyEntries()
{
    PakBuilder pak;
    for (const auto& [name, data] : LayoutContents()) {
        if (data.empty()) continue;
        pak.File(name, data);
    }
    pak.Record("sound/empty.wav", 0, 0);
    pak.Record("gfx/blank.lmp", 0x7FFFFFF0u, 0);
    return pak;
}

PakBuilder Base()
{
    return PakBuilder()
        .File("autoexec.cfg", "exec quake.rc\n")
        .File("maps/e1m1.bsp", "level one\n")
        .File("maps/dm/dm1.bsp", "deathmatch\n")
        .File("progs/player.mdl", "player\n")
        .File("sound/empty.wav", "");
}

std::string WithU32(std::string bytes, std::size_t position, std::uint32_t value)
{
    PakBuilder::PutU32(bytes, position, value);
    return bytes;
}

void Write(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    vantor::test::WriteFileBytes(path.string(), bytes);
}

void WriteAll(const fs::path& dir)
{
    Write(dir / "base.pak", Base().Build());

    Write(dir / "layout-end.pak", Layout(99, 0).Build());
    Write(dir / "layout-first.pak", Layout(0, 0).Build());
    Write(dir / "layout-middle.pak", Layout(3, 0).Build());
    Write(dir / "layout-gaps.pak", Layout(2, 100).Build());
    Write(dir / "layout-stray.pak", LayoutWithStrayEmptyEntries().Build());
    for (const auto& [name, data] : LayoutContents()) Write(dir / "inputs" / name, data);

    const std::string big = BigData();
    Write(dir / "big.pak", PakBuilder().File("small.txt", "small\n").File("big.bin", big).Build());
    Write(dir / "inputs-big" / "big.bin", big);

    // One broken pak per finding of `check`.
    const std::string base = Base().Build();
    Write(dir / "bad-short.pak", std::string("PACK\x0c\0", 6));
    Write(dir / "bad-magic.pak", std::string("pack") + base.substr(4));
    Write(dir / "bad-zero-header.pak", WithU32(WithU32(base, 4, 0), 8, 0));
    Write(dir / "bad-dir-size.pak", WithU32(base, 8, PakBuilder::GetU32(base, 8) + 10) + std::string(10, '\0'));
    Write(dir / "bad-dir-past-end.pak", base.substr(0, base.size() - 32));
    {
        std::string overHeader(64, '\0');
        overHeader.replace(0, 4, "PACK");
        Write(dir / "bad-dir-over-header.pak", WithU32(overHeader, 8, 64));
    }
    Write(dir / "bad-past-end.pak", PakBuilder().File("a.txt", "aaaa").Record("maps/far.bsp", 1000, 50).Build());
    Write(dir / "bad-overlap.pak",
          PakBuilder().File("a.txt", "0123456789").Record("b.txt", 17, 10).File("c.txt", "ABCDEFGHIJ").Build());
    Write(dir / "bad-unterminated.pak",
          PakBuilder().File("a.txt", "aaaa").RawRecord(std::string(56, 'x'), 16, 0).Build());
    Write(dir / "bad-path.pak", PakBuilder().File("my file.txt", "space").File("ok.txt", "fine").Build());
    Write(dir / "bad-escape.pak",
          PakBuilder().File("../evil.txt", "up").File("maps/./x.txt", "dot").File("a//b.txt", "empty level")
              .File("/evil.txt", "rooted").File("fine.txt", "fine").Build());
    Write(dir / "bad-duplicate.pak", PakBuilder().File("a.txt", "first").File("b.txt", "b").File("a.txt", "second").Build());
    Write(dir / "bad-over-header.pak", PakBuilder().File("a.txt", "0123456789").Record("h.bin", 0, 12).Build());
    Write(dir / "bad-over-dir.pak", PakBuilder().File("a.txt", "0123456789").Record("d.bin", 22, 64).Build());
    Write(dir / "bad-clash.pak", PakBuilder()
                                     .File("a.txt", "file")
                                     .File("maps\\x.bsp", "in maps")
                                     .File("a.txt/b.txt", "below a.txt")
                                     .File("maps", "file")
                                     .File("ok/maps", "no clash")
                                     .Build());

    // Pictures, a map, a WAD, a model and sprites in a game folder whose id1
    // holds the palette; a pak of pictures in a folder without one.
    {
        using namespace vantor::test;
        const std::string palette = BuildPalette().bytes;
        Write(dir / "quake" / "id1" / "pak0.pak",
              PakBuilder().File("gfx/palette.lmp", palette).File("gfx/qplaque.lmp", BuildQpic(4, 3).bytes).Build());
        BuiltAsset lying = BuildQpic(8, 8);
        lying.Put("height", 9);
        const BuiltAsset map = BspBuilder().Texture("+0lava", 16, 16).Missing().Texture("sky1", 32, 16).Build();
        const BuiltAsset wad = WadBuilder()
                                   .Lump("palette", WadBuilder::kPalette, palette)
                                   .Lump("conchars", WadBuilder::kMiptex, BuildConchars().bytes)
                                   .Build();
        const BuiltAsset model = MdlBuilder(8, 4).Skin().SkinGroup(2).Build();
        const BuiltAsset sprite = SprBuilder().Frame(2, 2).Build();
        Write(dir / "quake" / "mod" / "pak0.pak", PakBuilder()
                                                      .File("maps/start.bsp", map.bytes)
                                                      .File("gfx.wad", wad.bytes)
                                                      .File("progs/ogre.mdl", model.bytes)
                                                      .File("progs/s_light.spr", sprite.bytes)
                                                      .File("sprites/glow.spr", ForeignHeader("spr2"))
                                                      .File("gfx/bad.lmp", lying.bytes)
                                                      .File("readme.txt", "read me\n")
                                                      .Build());
        Write(dir / "lone" / "pics.pak", PakBuilder().File("gfx/dot.lmp", BuildQpic(1, 1).bytes).Build());
        Write(dir / "mine.lmp", palette);
    }

    // Paks other programs make, or a hostile one could.
    // An entry named like the pak: extracting beside the pak must not write over it.
    Write(dir / "self" / "self.pak",
          PakBuilder().File("a.txt", "first\n").File("self.pak", "not the pak\n").File("maps/b.bsp", "last\n").Build());
    // One entry's data runs far past the end; the ones around it are whole.
    Write(dir / "damaged.pak", PakBuilder()
                                   .File("a.txt", "first\n")
                                   .Record("maps/cut.bsp", 18, 100000)
                                   .File("maps/b.bsp", "second\n")
                                   .File("z.txt", "last\n")
                                   .Build());
    // Names stored with '\' as Windows tools write them.
    Write(dir / "backslash.pak", PakBuilder()
                                     .File("maps\\a.bsp", "level a\n")
                                     .File("maps\\dm\\b.bsp", "level b\n")
                                     .File("readme.txt", "read me\n")
                                     .Build());
    // Names in UTF-8, in Latin-1, and with C1 control characters both ways.
    Write(dir / "names.pak", PakBuilder()
                                 .File("caf\xC3\xA9.txt", "utf-8\n")
                                 .File("caf\xE9.txt", "latin-1\n")
                                 .File("a\xC2\x85" "b.txt", "utf-8 next line\n")
                                 .File("a\x9B" "2Jb.txt", "raw CSI\n")
                                 .File("\xE2\x82\xAC\xF0\x9F\x98\x80.txt", "euro, smile\n")
                                 .Build());
}

std::string Shown(const std::string& data)
{
    std::string out;
    for (const char c : data.substr(0, 40)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\' && c != '"') {
            out += c;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        }
    }
    if (data.size() > 40) out += "... (" + std::to_string(data.size()) + " bytes)";
    return out;
}

int Dump(const std::string& path)
{
    const auto pak = vantor::test::ParsePakFile(path);
    if (!pak) {
        std::printf("not a pak every reader can open\n");
        return 1;
    }
    std::printf("directory %u %u, file %llu bytes\n", pak->dirOffset, pak->dirLength,
                static_cast<unsigned long long>(pak->fileLength));
    for (const auto& entry : pak->entries)
        std::printf("%u %u %s \"%s\"\n", entry.offset, entry.length, entry.name.c_str(), Shown(entry.data).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const std::string command = argc == 3 ? argv[1] : "";
        if (command == "write") {
            WriteAll(argv[2]);
            return 0;
        }
        if (command == "dump") return Dump(argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cli_fixture: %s\n", error.what());
        return 1;
    }
    std::fprintf(stderr, "usage: cli_fixture write DIR | cli_fixture dump PAK\n");
    return 2;
}
