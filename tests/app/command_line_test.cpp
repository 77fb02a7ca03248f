// What the command line starts: a pak, help, the version, or an error.
#include "command_line.h"
#include "view_text.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

CommandLine Parse(QStringList arguments)
{
    arguments.prepend(QStringLiteral("vantor"));
    return ParseCommandLine(arguments);
}

TEST(CommandLine, NamesAtMostOnePakAsAnAbsolutePath)
{
    EXPECT_EQ(Parse({}).action, CommandLine::run);
    EXPECT_TRUE(Parse({}).strPak.isEmpty());
    EXPECT_EQ(Parse({"/data/id1/pak0.pak"}).strPak, QDir::toNativeSeparators("/data/id1/pak0.pak"));
    EXPECT_EQ(Parse({"maps.pak"}).strPak, QDir::toNativeSeparators(QDir::current().absoluteFilePath("maps.pak")));
    EXPECT_EQ(Parse({"--", "-odd.pak"}).strPak, QDir::toNativeSeparators(QDir::current().absoluteFilePath("-odd.pak")));

    // Bytes that are not UTF-8 survive, relative or absolute.
    for (const std::string raw : {"/data/bad\xff\xfe.pak", "rel\xe9.pak"}) {
        const std::string kept = ToDiskBytes(Parse({FromDiskBytes(raw)}).strPak);
        EXPECT_TRUE(kept.ends_with(raw)) << kept;
        EXPECT_EQ(kept.front(), '/');
    }

    const CommandLine two = Parse({"a.pak", "b.pak"});
    EXPECT_EQ(two.action, CommandLine::error);
    EXPECT_TRUE(two.strMessage.contains("only one pak"));
}

TEST(CommandLine, HelpAndVersionWinOverEverythingElse)
{
    for (const char* option : {"--help", "-h", "-?"}) {
        const CommandLine line = Parse({"-platform", "offscreen", option, "a.pak", "b.pak"});
        EXPECT_EQ(line.action, CommandLine::help) << option;
        EXPECT_TRUE(line.strMessage.startsWith("Usage: vantor [options] [pak]")) << option;
    }
    for (const char* option : {"--version", "-v"}) {
        const CommandLine line = Parse({option});
        EXPECT_EQ(line.action, CommandLine::version) << option;
        EXPECT_TRUE(line.strMessage.startsWith("Vantor ")) << option;
    }
    EXPECT_EQ(Parse({"--", "--help"}).action, CommandLine::run);
}

TEST(CommandLine, AGameFolderComesWithItsOption)
{
    EXPECT_EQ(Parse({"--game-folder", "/q/mod", "a.pak"}).strGameFolder, "/q/mod");
    EXPECT_EQ(Parse({"--game-folder", "/q/mod", "a.pak"}).strPak,
              QDir::toNativeSeparators(QDir::current().absoluteFilePath("a.pak")));
    EXPECT_EQ(Parse({"--game-folder=mod"}).strGameFolder, QDir::current().absoluteFilePath("mod"));
    EXPECT_EQ(Parse({"--game-folder"}).action, CommandLine::error);
    // A bare folder is not a game folder: it stays the pak to open.
    EXPECT_TRUE(Parse({"/q/mod"}).strGameFolder.isEmpty());
}

TEST(CommandLine, UnknownOptionsAreErrors)
{
    const CommandLine line = Parse({"--frobnicate", "a.pak"});
    EXPECT_EQ(line.action, CommandLine::error);
    EXPECT_TRUE(line.strMessage.contains("unknown option '--frobnicate'"));
    EXPECT_TRUE(line.strPak.isEmpty());
}

}  // namespace
