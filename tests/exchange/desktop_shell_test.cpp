// The desktop shell's answers the views rely on: "Unknown" for types the
// desktop does not know, a private folder below the temporary folder, and
// defaults inherited from parent types.
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

TEST(DesktopShell, DefaultApplicationOfAParentTypeServesASubtype)
{
    CDesktopShell shell;
    // Load the type database from the system before the data folders are
    // pointed away, so that only the test's applications are installed.
    ASSERT_EQ(shell.GetMimeType("main.c"), "text/x-csrc");
    QTemporaryDir root;
    const QByteArray base = QFile::encodeName(root.path());
    const ScopedEnv dataDirs("XDG_DATA_DIRS", base + "/usr");
    const ScopedEnv configDirs("XDG_CONFIG_DIRS", base + "/etc-xdg");
    const ScopedEnv configHome("XDG_CONFIG_HOME", base + "/config");
    const ScopedEnv dataHome("XDG_DATA_HOME", base + "/data");
    QDir().mkpath(root.filePath("config"));
    QDir().mkpath(root.filePath("data/applications"));
    QFile entry(root.filePath("data/applications/editor.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Editor\nExec=editor %f\n");
    entry.close();
    QFile list(root.filePath("config/mimeapps.list"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("[Default Applications]\ntext/plain=editor.desktop\n");
    list.close();

    EXPECT_EQ(shell.GetDefaultApplication("text/x-csrc"), entry.fileName());
    EXPECT_TRUE(shell.GetDefaultApplication("application/x-zzqx-unknown").isEmpty());
}

}  // namespace
