// The private temporary folder is only used when nobody else can reach it.
#include "private_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace vantor;

namespace {

mode_t ModeOf(const QString& path)
{
    struct stat info {};
    lstat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 0777;
}

class PrivateFolder : public ::testing::Test {
protected:
    QTemporaryDir m_temp;
    QString m_path = PrivateFolderPath(m_temp.path());
};

TEST_F(PrivateFolder, IsCreatedForTheOwnerOnly)
{
    EXPECT_TRUE(m_path.startsWith(m_temp.path() + "/"));
    ASSERT_TRUE(EnsurePrivateFolder(m_path));
    EXPECT_TRUE(QFileInfo(m_path).isDir());
    EXPECT_EQ(ModeOf(m_path), 0700u);
    EXPECT_TRUE(EnsurePrivateFolder(m_path));
}

TEST_F(PrivateFolder, AnExistingOpenFolderIsClosed)
{
    ASSERT_TRUE(QDir().mkdir(m_path));
    chmod(QFile::encodeName(m_path).constData(), 0777);
    EXPECT_TRUE(EnsurePrivateFolder(m_path));
    EXPECT_EQ(ModeOf(m_path), 0700u);
}

TEST_F(PrivateFolder, LinksFilesAndMissingParentsAreRefused)
{
    const QString target = m_temp.filePath("elsewhere");
    ASSERT_TRUE(QDir().mkdir(target));
    ASSERT_TRUE(QFile::link(target, m_path));
    EXPECT_FALSE(EnsurePrivateFolder(m_path));

    ASSERT_TRUE(QFile::remove(m_path));
    QFile(m_path).open(QIODevice::WriteOnly);
    EXPECT_FALSE(EnsurePrivateFolder(m_path));

    EXPECT_FALSE(EnsurePrivateFolder(m_temp.filePath("missing/parent")));
}

TEST_F(PrivateFolder, SomeoneElsesFolderIsRefused)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "handing a folder to another user needs root";
    ASSERT_TRUE(QDir().mkdir(m_path));
    ASSERT_EQ(chown(QFile::encodeName(m_path).constData(), 65534, 65534), 0);
    EXPECT_FALSE(EnsurePrivateFolder(m_path));
}

}  // namespace
