// Reading desktop entries and mimeapps.list the way the desktop does.
#include "desktop_file.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(DesktopFile, ReadsGroupsKeysAndEscapes)
{
    CDesktopFile file;
    file.Parse(QStringLiteral("Stray=ignored\n"
                              "# a comment\n"
                              "[Desktop Entry]\n"
                              "Name = Editor \n"
                              "Name[de]=Bearbeiter\n"
                              "Comment=Line\\none\\sand\\ttab\\\\done\n"
                              "Name=Second name is ignored\n"
                              "[Other]\n"
                              "Key=value=with=equals\n"));
    EXPECT_FALSE(file.HasGroup(QString()));
    EXPECT_EQ(file.Value("Desktop Entry", "Name"), "Editor");
    EXPECT_EQ(file.Value("Desktop Entry", "Name[de]"), "Bearbeiter");
    EXPECT_EQ(file.Value("Desktop Entry", "Comment"), "Line\none and\ttab\\done");
    EXPECT_EQ(file.Value("Other", "Key"), "value=with=equals");
    EXPECT_EQ(file.Value("Other", "Missing", "fallback"), "fallback");
    EXPECT_EQ(file.Keys("Desktop Entry"), QStringList({"Name", "Name[de]", "Comment"}));
}

TEST(DesktopFile, FirstGroupOfANameWins)
{
    CDesktopFile file;
    file.Parse(QStringLiteral("[Default Applications]\ntext/plain=a.desktop\n"
                              "[Default Applications]\ntext/plain=b.desktop\ntext/html=c.desktop\n"));
    EXPECT_EQ(file.Value("Default Applications", "text/plain"), "a.desktop");
    EXPECT_FALSE(file.Keys("Default Applications").contains("text/html"));
}

TEST(DesktopFile, SplitsListsAtUnescapedSemicolons)
{
    CDesktopFile file;
    file.Parse(QStringLiteral("[G]\n"
                              "Plain=a.desktop;b.desktop;\n"
                              "Empty=;;one;;\n"
                              "Escaped=semi\\;colon;next\n"
                              "Backslash=ends\\\\;next\n"
                              "Trailing=last\\\n"));
    EXPECT_EQ(file.ListValue("G", "Plain"), QStringList({"a.desktop", "b.desktop"}));
    EXPECT_EQ(file.ListValue("G", "Empty"), QStringList({"one"}));
    EXPECT_EQ(file.ListValue("G", "Escaped"), QStringList({"semi;colon", "next"}));
    EXPECT_EQ(file.ListValue("G", "Backslash"), QStringList({"ends\\", "next"}));
    EXPECT_EQ(file.ListValue("G", "Trailing"), QStringList({"last\\"}));
    EXPECT_TRUE(file.ListValue("G", "Missing").isEmpty());
}
