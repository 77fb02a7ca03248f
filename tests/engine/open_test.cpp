// Opening and closing paks: malformed input, access modes, the lock that
// keeps a second opener out, and paks that vanish while open.
#include "pak_fixture.h"
#include "faulty_file_system.h"
#include "pak_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace vantor;
using namespace vantor::test;

namespace {

struct MalformedCase {
    const char* name;
    std::string (*bytes)();
    int expectedCode;  // -1: opens
    std::size_t expectedEntries = 0;
};

std::string ValidTwoEntries() { return PakBuilder().File("a.txt", "hello").File("maps/b.bsp", "xyz").Build(); }

const MalformedCase kMalformed[] = {
    {"EmptyPakOfTwelveBytes", [] { return PakBuilder().Build(); }, -1},
    {"BadMagic", [] { std::string b = ValidTwoEntries(); b.replace(0, 4, "pack"); return b; }, errNotPak},
    {"ShorterThanHeader", [] { return std::string("PACK\x0c\0\0", 7); }, errNotPak},
    {"EmptyFile", [] { return std::string(); }, errNotPak},
    {"HeaderOfZeros", [] { return std::string("PACK\0\0\0\0\0\0\0\0", 12); }, errBadDirectory},
    {"DirectoryPastEndWithLengthZero",
     [] { std::string b = PakBuilder().Build(); PakBuilder::PutU32(b, 4, 5000); return b; }, -1},
    {"DirectoryPastEndWithLength64",
     [] { std::string b = PakBuilder().Build(); PakBuilder::PutU32(b, 4, 5000); PakBuilder::PutU32(b, 8, 64); return b; },
     errReadFailed},
    {"DirectoryRunsPastEnd",
     [] { std::string b = ValidTwoEntries(); PakBuilder::PutU32(b, 8, 192); return b; }, errReadFailed},
    {"HugeDirLength",
     [] { std::string b = ValidTwoEntries(); PakBuilder::PutU32(b, 8, 0xFFFFFFC0u); return b; }, errReadFailed},
    {"DirLengthNotMultipleOf64",
     [] { std::string b = ValidTwoEntries(); PakBuilder::PutU32(b, 8, 64 + 63); return b; }, -1, 1},
    {"UnterminatedName",
     [] { return PakBuilder().RawRecord(std::string(56, 'n'), 12, 0).Build(); }, -1, 1},
    {"EntryPastEnd", [] { return PakBuilder().Record("far.bin", 100000, 10).Build(); }, -1, 1},
};

void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

class OpenMalformed : public ::testing::TestWithParam<MalformedCase> {};

}  // namespace

TEST_P(OpenMalformed, OpensOrFailsWithItsCode)
{
    const MalformedCase& c = GetParam();
    TempDir dir;
    const std::string path = dir / "case.pak";
    WriteFileBytes(path, c.bytes());
    CPakArchive pak;
    const bool opened = pak.OpenPak(path);
    if (c.expectedCode < 0) {
        ASSERT_TRUE(opened) << pak.GetErrorText();
        EXPECT_EQ(c.expectedEntries, pak.GetEntries().size());
        EXPECT_EQ(pak.GetEntries().size() * 64, pak.GetHeader().dirLength);
    } else {
        EXPECT_FALSE(opened);
        EXPECT_EQ(c.expectedCode, pak.GetError());
        EXPECT_FALSE(pak.IsOpen());
        EXPECT_TRUE(pak.GetEntries().empty());
        EXPECT_TRUE(pak.ClosePak());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, OpenMalformed, ::testing::ValuesIn(kMalformed),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OpenPak, ReadsHeaderAndRecordsInDiskOrder)
{
    TempDir dir;
    const std::string path = dir / "a.pak";
    PakBuilder().Directory().File("z.txt", "zz").Gap(5).File("a/b.txt", "bbb").WriteTo(path);
    CPakArchive pak;
    ASSERT_TRUE(pak.OpenPak(path));
    EXPECT_FALSE(pak.IsReadOnly());
    ASSERT_EQ(2u, pak.GetEntries().size());
    EXPECT_EQ("z.txt", pak.GetEntries()[0].Name());
    EXPECT_EQ(12u, pak.GetHeader().dirOffset);
    EXPECT_EQ(128u, pak.GetHeader().dirLength);
    EXPECT_EQ(path, pak.GetFilePath());

    std::string data(3, '\0');
    ASSERT_TRUE(pak.ReadEntryData(1, data.data()));
    EXPECT_EQ("bbb", data);
}

TEST(OpenPak, EntryPastEndFailsToReadWithoutAllocating)
{
    TempDir dir;
    const std::string path = dir / "a.pak";
    PakBuilder().Record("far.bin", 100, 0xFFFFFFF0u).Record("empty.bin", 99999, 0).WriteTo(path);
    CPakArchive pak;
    ASSERT_TRUE(pak.OpenPak(path));
    char byte = 0;
    EXPECT_FALSE(pak.ReadEntryPart(0, 0, &byte, 1));
    EXPECT_EQ(errEndOfFile, pak.GetError());
    // An empty entry reads as empty wherever it claims to lie.
    EXPECT_TRUE(pak.ReadEntryData(1, nullptr));
}

TEST(OpenPak, FallsBackToReadOnlyWhenTheFileCannotBeWritten)
{
    TempDir dir;
    const std::string path = dir / "ro.pak";
    PakBuilder().File("a.txt", "a").WriteTo(path);
    CFaultyFileSystem fileSystem;
    fileSystem.DenyReadWrite(true);
    CPakArchive pak(fileSystem);
    ASSERT_TRUE(pak.OpenPak(path));
    EXPECT_TRUE(pak.IsReadOnly());
    EXPECT_EQ(ReadOnlyReason::notWritable, pak.GetReadOnlyReason());
    // Said at once, not when the first change fails.
    EXPECT_EQ(errAccessDenied, pak.GetRecoveryRefusal());
    EXPECT_EQ(1u, pak.GetEntries().size());

    // The real permission bits lead to the same place (root ignores them).
    pak.ClosePak();
    EXPECT_EQ(ReadOnlyReason::none, pak.GetReadOnlyReason());
#ifndef _WIN32
    if (::geteuid() != 0) {
        ::chmod(path.c_str(), 0444);
        CPakArchive real;
        ASSERT_TRUE(real.OpenPak(path));
        EXPECT_TRUE(real.IsReadOnly());
        EXPECT_EQ(ReadOnlyReason::notWritable, real.GetReadOnlyReason());
    }
#endif
}

TEST(OpenPak, MissingFileReportsFileNotFound)
{
    TempDir dir;
    CPakArchive pak;
    EXPECT_FALSE(pak.OpenPak(dir / "nothing.pak"));
    EXPECT_EQ(errFileNotFound, pak.GetError());
    EXPECT_FALSE(pak.OpenPak(dir / "no/such/folder.pak"));
    EXPECT_EQ(errFileNotFound, pak.GetError());
    EXPECT_FALSE(pak.OpenPak(dir.Path()));
    EXPECT_EQ(errNotPak, pak.GetError());
}

TEST(OpenPak, WhatCannotBeAPakFailsWithItsOwnCode)
{
    const struct {
        const char* what;
        void (*make)(const std::string& path);
        int code;
    } cases[] = {
        {"a folder", [](const std::string& path) { std::filesystem::create_directory(path); }, errNotPak},
#ifndef _WIN32
        // Links need a privilege on Windows, and it has no FIFOs.
        {"a link to a folder",
         [](const std::string& path) {
             std::filesystem::create_directory(path + ".d");
             std::filesystem::create_symlink(path + ".d", path);
         },
         errNotPak},
        {"a FIFO", [](const std::string& path) { ::mkfifo(path.c_str(), 0600); }, errNotPak},
        {"a loop of links",
         [](const std::string& path) {
             std::filesystem::create_symlink(path + ".2", path);
             std::filesystem::create_symlink(path, path + ".2");
         },
         errBadPath},
#endif
#ifdef _WIN32
        // Windows reports a path through a file as one through a missing folder.
        {"beneath a file", [](const std::string& path) { WriteFileBytes(path.substr(0, path.rfind('/')), "x"); }, errFileNotFound},
#else
        {"beneath a file", [](const std::string& path) { WriteFileBytes(path.substr(0, path.rfind('/')), "x"); }, errBadPath},
#endif
        {"nothing", [](const std::string&) {}, errFileNotFound},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = std::string(c.what) == "beneath a file" ? dir / "file.pak/x.pak" : dir / "x.pak";
        c.make(path);
        CPakArchive pak;
        EXPECT_FALSE(pak.OpenPak(path)) << c.what;
        EXPECT_EQ(c.code, pak.GetError()) << c.what;
        EXPECT_FALSE(pak.OpenPakReadOnly(path)) << c.what;
        EXPECT_EQ(c.code, pak.GetError()) << c.what;
    }
}

TEST(OpenPak, APakPast2GiBOpensReadOnlyAndIsNeverRecovered)
{
    TempDir dir;
    const std::string path = dir / "big.pak";
    PakBuilder().File("a.txt", "abc").Gap(100).WriteTo(path);
    // Sparse: the file system stores none of it.
    const std::uint64_t length = std::uint64_t{5} << 30;
    std::filesystem::resize_file(path, length);
    const std::string source = dir / "new.txt";
    WriteFileBytes(source, "x");

    CPakArchive pak;
    ASSERT_TRUE(pak.OpenPak(path)) << pak.GetErrorText();
    EXPECT_TRUE(pak.IsReadOnly());
    EXPECT_EQ(ReadOnlyReason::tooBig, pak.GetReadOnlyReason());
    EXPECT_EQ(errAccessDenied, pak.GetRecoveryRefusal());
    EXPECT_FALSE(pak.RecoverUnusedSpace());
    EXPECT_EQ(errAccessDenied, pak.GetError());
    EXPECT_FALSE(pak.AddFileFromDisk(source, "", false));
    EXPECT_EQ(errAccessDenied, pak.GetError());
    char data[3] = {};
    EXPECT_EQ(3u, pak.ReadEntryByName("a.txt", data));
    EXPECT_EQ("abc", std::string(data, 3));
    // Shared like any reader, not held alone as a writer would.
    CPakArchive reader;
    EXPECT_TRUE(reader.OpenPakReadOnly(path));
    EXPECT_EQ(ReadOnlyReason::asked, reader.GetReadOnlyReason());
    EXPECT_TRUE(pak.ClosePak());
    EXPECT_EQ(length, std::filesystem::file_size(path));
}

TEST(OpenPak, SecondOpenerIsRefusedWithSharingViolation)
{
    TempDir dir;
    const std::string path = dir / "a.pak";
    PakBuilder().File("a.txt", "a").WriteTo(path);
    CPakArchive first;
    ASSERT_TRUE(first.OpenPak(path));
    CPakArchive second;
    EXPECT_FALSE(second.OpenPak(path));
    EXPECT_EQ(errSharingViolation, second.GetError());

#ifndef _WIN32
    // Another process is kept out just the same (on Windows the sharing
    // mode is the same check for both, and there is no fork).
    const pid_t child = ::fork();
    if (child == 0) {
        CPakArchive other;
        const bool opened = other.OpenPak(path);
        ::_exit(!opened && other.GetError() == errSharingViolation ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
#endif

    ASSERT_TRUE(first.ClosePak());
    EXPECT_TRUE(second.OpenPak(path));
}

TEST(ClosePak, ForgetsEverythingAndMayBeRepeated)
{
    TempDir dir;
    const std::string path = dir / "a.pak";
    PakBuilder().File("a.txt", "a").WriteTo(path);
    CPakArchive pak;
    EXPECT_EQ(errUnspecified, pak.GetError());
    EXPECT_TRUE(pak.ClosePak());
    ASSERT_TRUE(pak.OpenPak(path));
    EXPECT_TRUE(pak.ClosePak());
    EXPECT_TRUE(pak.ClosePak());
    EXPECT_FALSE(pak.IsOpen());
    EXPECT_TRUE(pak.GetEntries().empty());
    EXPECT_EQ(0u, pak.GetHeader().dirOffset);
    EXPECT_EQ("An unspecified error occurred.", pak.GetErrorText());
}

TEST(ClosePak, ReportsACommitThatFailsOnTheWayOut)
{
    TempDir dir;
    const std::string path = dir / "a.pak";
    PakBuilder().File("a.txt", "a").File("b.txt", "b").WriteTo(path);
    const std::string before = ReadFileBytes(path);
    CFaultyFileSystem fileSystem;
    CPakArchive pak(fileSystem);
    ASSERT_TRUE(pak.OpenPak(path));
    ASSERT_TRUE(pak.GibEntryByName("a.txt", false));
    fileSystem.FailWriteOnce(0, FileCause::diskFull);
    EXPECT_FALSE(pak.ClosePak());
    EXPECT_EQ(errDiskFull, pak.GetError());
    EXPECT_FALSE(pak.IsOpen());
    EXPECT_EQ(before, ReadFileBytes(path));
}

TEST(VanishedPak, DeletedWhileOpenFailsEveryPrimitiveWith28)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows lets no one delete a pak an archive holds";
#endif
    TempDir dir;
    const std::string path = dir / "a.pak";
    PakBuilder().File("a.txt", "abc").WriteTo(path);
    CPakForTests pak;
    ASSERT_TRUE(pak.OpenPak(path));
    ASSERT_EQ(0, ::unlink(path.c_str()));

    char buffer[3];
    EXPECT_FALSE(pak.ReadEntryData(0, buffer));
    EXPECT_EQ(errPakInaccessible, pak.GetError());
    EXPECT_TRUE(pak.IsFatalError());
    EXPECT_EQ(-1, pak.GetPakLength());
    EXPECT_FALSE(pak.WriteHeader());
    EXPECT_FALSE(pak.WriteDirectory());
    EXPECT_FALSE(pak.SetPakLength(100));
    EXPECT_FALSE(pak.WriteData(12, 3, "xyz"));
    EXPECT_FALSE(pak.ReadHeader());
    EXPECT_EQ(errPakInaccessible, pak.GetError());

    // The handle is released even though closing reports the loss.
    EXPECT_FALSE(pak.ClosePak());
    EXPECT_EQ(errPakInaccessible, pak.GetError());
    EXPECT_FALSE(pak.IsOpen());
}

TEST(VanishedPak, ReplacedWhileOpenIsNeverWrittenThroughTheOldHandle)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows lets no one replace a pak an archive holds";
#endif
    TempDir dir;
    const std::string path = dir / "a.pak";
    PakBuilder().File("a.txt", "abc").WriteTo(path);
    CPakForTests pak;
    ASSERT_TRUE(pak.OpenPak(path));

    // Another program saves a new file over the path (write, then rename).
    const std::string replacement = PakBuilder().File("new.txt", "new").Build();
    WriteFileBytes(dir / "tmp.pak", replacement);
    std::filesystem::rename(dir / "tmp.pak", path);

    EXPECT_FALSE(pak.WriteHeader());
    EXPECT_EQ(errPakInaccessible, pak.GetError());
    EXPECT_FALSE(pak.ClosePak());
    EXPECT_EQ(replacement, ReadFileBytes(path));

    // Once closed, the replacement opens normally.
    EXPECT_TRUE(pak.OpenPak(path));
    EXPECT_EQ("new.txt", pak.GetEntries()[0].Name());
}

TEST(OpenPak, ReadersShareTheFileAndAWriterHasItAlone)
{
    TempDir dir;
    const std::string path = dir / "a.pak";
    PakBuilder().File("a.txt", "a").WriteTo(path);
    {
        CPakArchive reader, another, writer;
        ASSERT_TRUE(reader.OpenPakReadOnly(path));
        EXPECT_TRUE(another.OpenPakReadOnly(path)) << another.GetErrorText();
        // A would-be writer can only look while readers are there.
        ASSERT_TRUE(writer.OpenPak(path));
        EXPECT_TRUE(writer.IsReadOnly());
        EXPECT_EQ(ReadOnlyReason::inUse, writer.GetReadOnlyReason());
    }
    CPakArchive writer, reader;
    ASSERT_TRUE(writer.OpenPak(path));
    EXPECT_FALSE(writer.IsReadOnly());
    EXPECT_EQ(ReadOnlyReason::none, writer.GetReadOnlyReason());
    EXPECT_FALSE(reader.OpenPakReadOnly(path));
    EXPECT_EQ(errSharingViolation, reader.GetError());
}

TEST(OpenPak, NeverWaitsOnAFifoNorBecomesAStandardStream)
{
#ifdef _WIN32
    GTEST_SKIP() << "no FIFOs, and files are handles, never standard descriptors";
#else
    TempDir dir;
    const std::string fifo = dir / "fifo.pak";
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    CPakArchive pak;
    EXPECT_FALSE(pak.OpenPak(fifo));
    EXPECT_EQ(errNotPak, pak.GetError());

    // With standard output and error closed, the pak must not take their
    // numbers (whatever the program prints would land in it); the programs
    // put the null device there first.
    const std::string path = dir / "a.pak";
    PakBuilder().File("a.txt", "a").WriteTo(path);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(1);
        ::close(2);
        CPakArchive open;
        const bool opened = open.OpenPak(path) && open.ExtractFolderTo("", dir.Path(), true);
        const bool stillClosed = ::fcntl(1, F_GETFD) == -1 && ::fcntl(2, F_GETFD) == -1;
        ReserveStandardDescriptors();
        const bool nowOpen = ::fcntl(1, F_GETFD) != -1 && ::fcntl(2, F_GETFD) != -1;
        ::_exit(opened && stillClosed && nowOpen ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
#endif
}
