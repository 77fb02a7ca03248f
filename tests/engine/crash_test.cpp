// Every changing operation, killed after each of its writes in turn, leaves
// a pak that opens and shows either the old or the new contents.
#include "crash_harness.h"
#include "pak_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

using namespace vantor;
using namespace vantor::test;

namespace {

struct CrashCase {
    const char* name;
    std::string (*pak)();
    PakStep prepare;
    PakStep change;
};

void PrintTo(const CrashCase& c, std::ostream* os) { *os << c.name; }

std::string Data(char c, std::size_t n) { return std::string(n, c); }

std::string DirectoryAtEnd()
{
    return PakBuilder().File("a.txt", Data('a', 100)).File("maps/b.bsp", Data('b', 300)).File("maps/c.bsp", Data('c', 50))
        .File("maps/dm/d.bsp", Data('d', 70)).File("z.txt", Data('z', 10)).Build();
}

std::string DirectoryFirst()
{
    return PakBuilder().Directory().File("a.txt", Data('a', 100)).Gap(33).File("maps/b.bsp", Data('b', 300))
        .File("maps/c.bsp", Data('c', 50)).File("z.txt", Data('z', 10)).Build();
}

std::string DirectoryInMiddle()
{
    return PakBuilder().File("a.txt", Data('a', 100)).Gap(40).File("maps/b.bsp", Data('b', 300)).Directory()
        .File("maps/c.bsp", Data('c', 50)).Gap(7).File("z.txt", Data('z', 10)).Build();
}

std::string UnusedAfterDirectory()
{
    return PakBuilder().File("a.txt", Data('a', 100)).File("maps/b.bsp", Data('b', 300)).Directory().Gap(90).Build();
}

std::string GapsOnly()
{
    return PakBuilder().Gap(20).File("a.txt", Data('a', 100)).Gap(64).File("maps/b.bsp", Data('b', 300)).Gap(5)
        .File("maps/c.bsp", Data('c', 50)).Gap(1000).File("z.txt", Data('z', 10)).Gap(3).Build();
}

// The big entry moves by 10 bytes, far less than its own length.
std::string SelfOverlap()
{
    return PakBuilder().File("a.txt", Data('a', 100)).Gap(10).File("big.bin", Data('B', 5000)).File("c.txt", Data('c', 30)).Build();
}

// Many small moves: every other entry is gibbed before recovering.
std::string Alternating()
{
    PakBuilder builder;
    for (int i = 0; i < 40; ++i) builder.File("f" + std::to_string(i) + ".dat", Data(static_cast<char>('A' + i % 26), 20 + (i * 37) % 90));
    return builder.Build();
}

// Entries a few bytes apart: nearly every move is shorter than its entry.
std::string TinyGaps()
{
    PakBuilder builder;
    for (int i = 0; i < 24; ++i) builder.File("t" + std::to_string(i) + ".dat", Data(static_cast<char>('a' + i), 40 + i)).Gap(1 + i % 3);
    return builder.Build();
}

bool GibOddFiles(CPakArchive& pak)
{
    for (int i = 1; i < 40; i += 2)
        if (!pak.GibEntryByName("f" + std::to_string(i) + ".dat", true)) return false;
    return true;
}

bool Gib(CPakArchive& pak, const char* name) { return pak.GibEntryByName(name, true); }

// Disk files that adding and importing read, made once for all cases.
const TempDir& Sources()
{
    static const TempDir* dir = [] {
        auto* made = new TempDir;
        WriteFileBytes(*made / "A.TXT", std::string(777, 'n'));
        WriteFileBytes(*made / "EMPTY.DAT", "");
        std::filesystem::create_directories(*made / "dm/sub");
        std::filesystem::create_directories(*made / "dm/empty");
        WriteFileBytes(*made / "dm/dm1.bsp", std::string(300, '1'));
        WriteFileBytes(*made / "dm/dm2.bsp", std::string(50, '2'));
        WriteFileBytes(*made / "dm/sub/x.wav", std::string(1200, 'x'));
        return made;
    }();
    return *dir;
}

bool Add(CPakArchive& pak, const char* file, const char* folder, bool replace)
{
    return pak.AddFileFromDisk(Sources() / file, folder, replace);
}

std::string WithAText()
{
    return PakBuilder().File("a.txt", Data('a', 100)).File("maps/A.TXT", Data('o', 40)).File("z.txt", Data('z', 10)).Build();
}

const CrashCase kCases[] = {
    {"GibAtEnd", DirectoryAtEnd, {}, [](CPakArchive& p) { return Gib(p, "maps/b.bsp"); }},
    {"GibLastRecord", DirectoryAtEnd, {}, [](CPakArchive& p) { return Gib(p, "z.txt"); }},
    {"GibWithDirectoryFirst", DirectoryFirst, {}, [](CPakArchive& p) { return Gib(p, "a.txt"); }},
    {"GibWithUnusedAfterDirectory", UnusedAfterDirectory, {}, [](CPakArchive& p) { return Gib(p, "a.txt"); }},
    {"GibFolder", DirectoryAtEnd, {}, [](CPakArchive& p) { return p.GibFolder("maps"); }},
    {"GibFolderInMiddle", DirectoryInMiddle, {}, [](CPakArchive& p) { return p.GibFolder("maps/"); }},
    {"RestoreAtEnd", DirectoryAtEnd, [](CPakArchive& p) { return Gib(p, "maps/c.bsp"); },
     [](CPakArchive& p) { return p.RestoreByName("maps/c.bsp"); }},
    {"RestoreDirectoryNotAtEnd", UnusedAfterDirectory, [](CPakArchive& p) { return Gib(p, "a.txt"); },
     [](CPakArchive& p) { return p.RestoreByName("a.txt"); }},
    {"RestoreDirectoryFirst", DirectoryFirst, [](CPakArchive& p) { return Gib(p, "maps/c.bsp"); },
     [](CPakArchive& p) { return p.RestoreByName("maps/c.bsp"); }},
    {"RestoreSwapsWithLiveEntry", [] { return PakBuilder().File("a.txt", "old").File("b.txt", "bb").File("a.txt", "new!").Build(); },
     [](CPakArchive& p) { return Gib(p, "a.txt"); }, [](CPakArchive& p) { return p.RestoreByName("a.txt"); }},
    {"RecoverGapsOnly", GapsOnly, {}, [](CPakArchive& p) { return p.RecoverUnusedSpace(); }},
    {"RecoverDirectoryFirst", DirectoryFirst, [](CPakArchive& p) { return Gib(p, "maps/b.bsp"); },
     [](CPakArchive& p) { return p.RecoverUnusedSpace(); }},
    {"RecoverDirectoryInMiddle", DirectoryInMiddle, {}, [](CPakArchive& p) { return p.RecoverUnusedSpace(); }},
    {"RecoverSelfOverlap", SelfOverlap, {}, [](CPakArchive& p) { return p.RecoverUnusedSpace(); }},
    {"RecoverAfterGibbingEveryOther", Alternating, GibOddFiles, [](CPakArchive& p) { return p.RecoverUnusedSpace(); }},
    {"RecoverTinyGaps", TinyGaps, {}, [](CPakArchive& p) { return p.RecoverUnusedSpace(); }},
    {"RecoverEverythingGibbed", DirectoryAtEnd, [](CPakArchive& p) { return p.GibFolder("maps") && p.GibEntryByName("a.txt", false) && p.GibEntryByName("z.txt", true); },
     [](CPakArchive& p) { return p.RecoverUnusedSpace(); }},
    {"AddAtEnd", DirectoryAtEnd, {}, [](CPakArchive& p) { return Add(p, "A.TXT", "maps", false); }},
    {"AddWithUnusedAfterDirectory", UnusedAfterDirectory, {}, [](CPakArchive& p) { return Add(p, "A.TXT", "", false); }},
    {"AddWithDirectoryFirst", DirectoryFirst, {}, [](CPakArchive& p) { return Add(p, "A.TXT", "maps", false); }},
    {"AddEmptyFile", DirectoryAtEnd, {}, [](CPakArchive& p) { return Add(p, "EMPTY.DAT", "", false); }},
    {"AddToEmptyPak", [] { return PakBuilder().Build(); }, {}, [](CPakArchive& p) { return Add(p, "A.TXT", "", false); }},
    {"ReplaceEntry", WithAText, {}, [](CPakArchive& p) { return Add(p, "A.TXT", "maps", true); }},
    {"AddSeveralInOneBatch", DirectoryAtEnd, {},
     [](CPakArchive& p) {
         CPakBatch batch(p);
         return Add(p, "A.TXT", "", false) && Add(p, "EMPTY.DAT", "maps", false) && Add(p, "dm/dm1.bsp", "maps", false) &&
                p.GibEntryByName("z.txt", true) && batch.End();
     }},
    {"ImportFolder", DirectoryAtEnd, {}, [](CPakArchive& p) { return p.ImportFolder(Sources() / "dm", "maps", false); }},
    {"ImportFolderReplacing", DirectoryInMiddle, [](CPakArchive& p) { return p.ImportFolder(Sources() / "dm", "", false); },
     [](CPakArchive& p) { return p.ImportFolder(Sources() / "dm", "", true); }},
    {"CreateFolder", DirectoryAtEnd, {}, [](CPakArchive& p) { return p.CreateFolder("maps/new"); }},
    {"CreateFolderDirectoryFirst", DirectoryFirst, {}, [](CPakArchive& p) { return p.CreateFolder("new"); }},
    {"RenameEntry", DirectoryAtEnd, {}, [](CPakArchive& p) { return p.RenameEntryByName("maps/b.bsp", "dm/b.bsp"); }},
    {"RenameFolder", DirectoryInMiddle, {}, [](CPakArchive& p) { return p.RenameFolder("maps", "new/maps"); }},
};

class CrashSafety : public ::testing::TestWithParam<CrashCase> {};

}  // namespace

TEST_P(CrashSafety, EveryStopLeavesTheOldOrTheNewContents)
{
    const CrashCase& c = GetParam();
    const CrashOutcome outcome = RunCrashHarness(c.pak(), c.prepare, c.change);
    EXPECT_EQ("", outcome.failure);
    EXPECT_GT(outcome.writePoints, 0);
    EXPECT_GT(outcome.sawBefore, 0) << "the first write must not already commit";
    RecordProperty("WritePoints", outcome.writePoints);
}

TEST_P(CrashSafety, AFullDiskOnAnyOneWriteLosesNothing)
{
    const CrashCase& c = GetParam();
    const CrashOutcome outcome = RunDiskFullHarness(c.pak(), c.prepare, c.change);
    EXPECT_EQ("", outcome.failure);
    EXPECT_GT(outcome.writePoints, 0);
}

INSTANTIATE_TEST_SUITE_P(Directory, CrashSafety, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
