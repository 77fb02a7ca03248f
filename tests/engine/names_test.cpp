// Name conversions and rules as pure text.
#include "pak_error.h"
#include "pak_names.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(ToPakPath, DropsDriveAndLeadingSeparatorAndTurnsBackslashes)
{
    EXPECT_EQ("quake/id1/progs/a.mdl", ToPakPath("C:\\quake\\id1\\progs\\a.mdl"));
    EXPECT_EQ("progs/a.mdl", ToPakPath("\\progs\\a.mdl"));
    EXPECT_EQ("", ToPakPath("C:"));
    EXPECT_EQ("x", ToPakPath("C:x"));
    EXPECT_EQ("", ToPakPath(""));
    EXPECT_EQ("progs/", ToPakPath("/progs/"));
    EXPECT_EQ("a//../B", ToPakPath("a//../B"));
}

TEST(CombinePath, JoinsWithExactlyOneSlash)
{
    EXPECT_EQ("progs/a.mdl", CombinePath("progs\\", "a.mdl"));
    EXPECT_EQ("a.mdl", CombinePath("", "/a.mdl"));
    EXPECT_EQ("C:\\out/progs", CombinePath("C:\\out", "progs"));
    EXPECT_EQ("maps/dm/", CombinePath("/maps/", "dm/"));
    EXPECT_EQ("maps/", CombinePath("maps", ""));
}

TEST(ToDiskPath, UsesThePlatformSeparatorForBothForms)
{
#ifdef _WIN32
    EXPECT_EQ("C:\\out\\progs", ToDiskPath("C:\\out/progs"));
#else
    EXPECT_EQ("C:/out/progs", ToDiskPath("C:\\out/progs"));
    EXPECT_EQ("/tmp/maps/dm/x.bsp", ToDiskPath("/tmp/maps\\dm/x.bsp"));
#endif
}

TEST(NameParts, SplitAtTheLastSeparatorOfEitherKind)
{
    EXPECT_EQ("c.txt", GetNamePart("a/b\\c.txt"));
    EXPECT_EQ("c.txt", GetNamePart("c.txt"));
    EXPECT_EQ("", GetNamePart("maps/"));
    EXPECT_EQ("a/b/", GetFolderPart("a/b/c.txt"));
    EXPECT_EQ("", GetFolderPart("c.txt"));
}

TEST(PathRule, LimitsLengthAndForbiddenCharacters)
{
    EXPECT_EQ(0, CheckPakPath(std::string(55, 'a')));
    EXPECT_EQ(errPathTooLong, CheckPakPath(std::string(56, 'a')));
    EXPECT_EQ(errBadName, CheckPakPath(""));
    EXPECT_EQ(errBadName, CheckPakPath("/maps/a.bsp"));
    EXPECT_EQ(errBadName, CheckPakPath("\\maps"));
    for (const char* bad : {"a*b", "a:b", "a?b", "a\"b", "a<b", "a>b", "a|b", "a^b", "a b"})
        EXPECT_EQ(errBadName, CheckPakPath(bad)) << bad;
    // Allowed by this rule; extraction has its own guard against them.
    EXPECT_EQ(0, CheckPakPath("a//b/./c/"));
    // Length is checked before characters.
    EXPECT_EQ(errPathTooLong, CheckPakPath(std::string(60, ' ')));
}

TEST(DosNameRule, AcceptsEightDotThreeNames)
{
    for (const char* good : {"README.TXT", "A", "ABCDEFGH.QC", "ABC.", ""})
        EXPECT_EQ(0, CheckDosName(good)) << good;
    for (const char* bad : {"ABCDEFGHI", ".profile", "A.B.C", "NAME.TEXT", "MY FILE.TXT", "ABCDEFGHI.T", "a:b", "LONGFILENAME.TXT"})
        EXPECT_EQ(errBadName, CheckDosName(bad)) << bad;
}

TEST(SafeRelativeName, RefusesEveryWayOutOfAFolder)
{
    for (const char* good : {"a", "maps/e1m1.bsp", "a\\b\\c.txt", "..a", "x/.hidden"})
        EXPECT_TRUE(IsSafeRelativeName(good)) << good;
#ifdef _WIN32
    // Windows drops trailing dots: "a.." would name "a".
    EXPECT_FALSE(IsSafeRelativeName("a.."));
#else
    EXPECT_TRUE(IsSafeRelativeName("a.."));
#endif
    for (const char* bad : {"", "../x", "a/../../x", "/abs", "\\abs", "C:\\x", "a\\..\\..\\x", ".", "a//b", "a/", "a/./b", "..", "x:y"})
        EXPECT_FALSE(IsSafeRelativeName(bad)) << bad;
}

TEST(SafeRelativeName, WindowsAliasesAreRefusedOnlyThere)
{
    // Windows opens a device for these, or drops the trailing dots and
    // spaces; elsewhere they are plain names.
    for (const char* alias : {"CON", "nul", "maps/aux.bsp", "Com1.txt", "lpt9", "prn /x", "a./b", "x/a ", "readme.txt."}) {
#ifdef _WIN32
        EXPECT_FALSE(IsSafeRelativeName(alias)) << alias;
#else
        EXPECT_TRUE(IsSafeRelativeName(alias)) << alias;
#endif
    }
    for (const char* plain : {"console.txt", "com10", "com0", "nullable/x", "lpt", "a.b/c"})
        EXPECT_TRUE(IsSafeRelativeName(plain)) << plain;
}

TEST(TypeNames, FollowTheExtensionCaseInsensitively)
{
    EXPECT_STREQ("Wave Sound", GetTypeName("SOUND/FOO.WAV"));
    EXPECT_STREQ("QuakeC File", GetTypeName("progs.qc"));
    EXPECT_STREQ("QuakeC File", GetTypeName("x.QC"));
    EXPECT_STREQ("Unknown", GetTypeName("a.txt"));
    EXPECT_STREQ("Unknown", GetTypeName(""));
    EXPECT_STREQ("Unknown", GetTypeName("qc"));
    EXPECT_STREQ("Binary Space Partition", GetTypeName("maps/e1m1.bsp"));
    EXPECT_STREQ("Lump File", GetTypeName("gfx/pop.lmp"));
}

TEST(ErrorTexts, AreTheProgramsOwnWording)
{
    EXPECT_STREQ("Disk full.  Gib some files and try again.", PakErrorText(errDiskFull));
    EXPECT_STREQ("Error reading PAK directory.  The PAK file may be gibbed.", PakErrorText(errBadDirectory));
    EXPECT_STREQ("An unspecified error occurred.", PakErrorText(29));
    EXPECT_STREQ("An unspecified error occurred.", PakErrorText(-1));
    EXPECT_STREQ("The pak file could not be accessed.", PakErrorText(errPakInaccessible));

    int fatal = 0;
    for (int code = 0; code <= 28; ++code) fatal += IsFatalCode(code) ? 1 : 0;
    EXPECT_EQ(7, fatal);
    EXPECT_TRUE(IsFatalCode(errDiskFull));
    EXPECT_FALSE(IsFatalCode(errAccessDenied));

    EXPECT_EQ(errSharingViolation, CodeFromCause(FileCause::sharingViolation));
    EXPECT_EQ(errUnspecified, CodeFromCause(FileCause::none));
    EXPECT_EQ(errBadPath, CodeFromCause(FileCause::badPath));
    EXPECT_EQ(errEndOfFile, CodeFromCause(FileCause::endOfFile));
}
