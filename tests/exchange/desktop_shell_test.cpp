// The desktop shell's answers the views rely on: "Unknown" for types the
// desktop does not know, and a private folder below the temporary folder.
#include "desktop_shell.h"
#include "scoped_env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantor;
using vantor::test::ScopedEnv;

namespace {

TEST(DesktopShell, TypesTheDesktopDoesNotKnowAreUnknown)
{
    CDesktopShell shell;
    EXPECT_EQ(shell.GetTypeName("progs.zzqx"), "Unknown");
    EXPECT_EQ(shell.GetTypeName("noextension"), "Unknown");
    EXPECT_NE(shell.GetTypeName("readme.txt"), "Unknown");
    EXPECT_EQ(shell.GetMimeType("readme.txt"), "text/plain");
    EXPECT_FALSE(shell.GetFileIcon("readme.txt").isNull());
    EXPECT_FALSE(shell.GetFolderIcon(FolderIcon::open).isNull());
}

TEST(DesktopShell, PrivateTempFolderLiesBelowTheTemporaryFolder)
{
    QTemporaryDir temp;
    const ScopedEnv tmpdir("TMPDIR", QFile::encodeName(temp.path()));
    CDesktopShell shell;
    EXPECT_EQ(QDir(shell.GetTempPath()).canonicalPath(), QDir(temp.path()).canonicalPath());
    const QString folder = shell.GetPrivateTempPath();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QFileInfo(folder).absolutePath(), QFileInfo(shell.GetTempPath()).absoluteFilePath());
}

}  // namespace
