// A transfer folder is new, private and gone with everything in it once
// released, and removing it never reaches through a link a receiver left.
#include "pak_builder.h"
#include "transfer_folder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace vantor;
using namespace vantor::test;
namespace fs = std::filesystem;

namespace {

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

TEST(TransferFolder, IsNewPrivateAndRemovedWithItsContents)
{
    TempDir root;
    EXPECT_EQ(CTransferFolder::Create(QString()), nullptr);
    EXPECT_EQ(CTransferFolder::Create(QStringLiteral("relative/root")), nullptr);
    EXPECT_EQ(CTransferFolder::Create(QString::fromStdString(root / "missing")), nullptr);

    auto first = CTransferFolder::Create(QString::fromStdString(root.Path()));
    auto second = CTransferFolder::Create(QString::fromStdString(root.Path() + "/"));
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->Path(), second->Path());
    EXPECT_EQ(first->Path(), QString::fromStdString(first->DiskPath()));
    EXPECT_TRUE(first->Path().startsWith(QString::fromStdString(root.Path() + "/")));
    EXPECT_FALSE(second->Path().contains(QStringLiteral("//")));
    struct stat info {};
    ASSERT_EQ(::lstat(first->DiskPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    const std::string path = first->DiskPath();
    fs::create_directories(path + "/maps/dm");
    WriteFileBytes(path + "/maps/dm/dm1.bsp", "level");
    WriteFileBytes(path + "/readme.txt", "hi");
    first.reset();
    EXPECT_FALSE(Exists(path));
    EXPECT_TRUE(Exists(second->DiskPath()));
}

// A receiver may replace an extracted file or folder by a link to its own
// files; removing the transfer removes the link and nothing it points at.
TEST(TransferFolder, LinksInsideAreRemovedNotFollowed)
{
    TempDir root;
    TempDir outside;
    fs::create_directories(outside / "keep/deeper");
    WriteFileBytes(outside / "keep/a.txt", "mine");
    WriteFileBytes(outside / "keep/deeper/b.txt", "also mine");
    WriteFileBytes(outside / "lone.txt", "single");

    auto transfer = CTransferFolder::Create(QString::fromStdString(root.Path()));
    ASSERT_TRUE(transfer);
    const std::string path = transfer->DiskPath();
    fs::create_directories(path + "/maps");
    fs::create_directory_symlink(outside / "keep", path + "/linked");
    fs::create_directory_symlink(outside / "keep", path + "/maps/nested");
    fs::create_symlink(outside / "lone.txt", path + "/file-link");
    fs::create_symlink(path + "/gone", path + "/dangling");
    transfer.reset();

    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(ReadFileBytes(outside / "keep/a.txt"), "mine");
    EXPECT_EQ(ReadFileBytes(outside / "keep/deeper/b.txt"), "also mine");
    EXPECT_EQ(ReadFileBytes(outside / "lone.txt"), "single");
}

TEST(TransferFolder, DeleteFolderTreeCodes)
{
    TempDir temp;
    fs::create_directories(temp / "tree/a/b");
    WriteFileBytes(temp / "tree/a/b/c.txt", "c");
    WriteFileBytes(temp / "tree/top.txt", "t");
    WriteFileBytes(temp / "file.txt", "f");
    fs::create_directories(temp / "target");
    WriteFileBytes(temp / "target/kept.txt", "k");
    fs::create_directory_symlink(temp / "target", temp / "link");

    struct Case {
        std::string path;
        int nExpected;
        bool bGone;
    };
    const Case cases[] = {
        {temp / "missing", -1, true},
        {"relative/tree", -1, true},
        {"", -1, true},
        {temp / "file.txt", -2, false},
        {temp / "link", -2, false},
        {temp / "link/", -2, false},
        {temp / "tree/", 1, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeleteFolderTree(c.path), c.nExpected) << c.path;
        if (!c.path.empty()) {
            EXPECT_EQ(Exists(c.path), !c.bGone) << c.path;
        }
    }
    EXPECT_EQ(ReadFileBytes(temp / "target/kept.txt"), "k");
}

TEST(TransferFolder, DeleteFolderTreeReportsWhatItCouldNotRemove)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may remove files from a read-only folder";
    TempDir temp;
    fs::create_directories(temp / "tree/locked");
    fs::create_directories(temp / "tree/open");
    WriteFileBytes(temp / "tree/locked/stuck.txt", "s");
    WriteFileBytes(temp / "tree/open/free.txt", "f");
    ::chmod((temp / "tree/locked").c_str(), 0500);
    EXPECT_EQ(DeleteFolderTree(temp / "tree"), 0);
    EXPECT_TRUE(Exists(temp / "tree/locked/stuck.txt"));
    EXPECT_FALSE(Exists(temp / "tree/open"));
    ::chmod((temp / "tree/locked").c_str(), 0700);
}

TEST(TransferFolder, LeafName)
{
    const std::pair<const char*, const char*> cases[] = {
        {"maps/dm/dm1.bsp", "dm1.bsp"}, {"maps\\dm\\dm1.bsp", "dm1.bsp"}, {"maps/dm\\dm1.bsp", "dm1.bsp"},
        {"maps\\dm/dm1.bsp", "dm1.bsp"}, {"readme.txt", "readme.txt"},    {"maps/", "maps"},
        {"maps/dm\\", "dm"},             {"/", ""},                       {"", ""},
        {"/tmp/x/", "x"},
    };
    for (const auto& [path, leaf] : cases)
        EXPECT_EQ(LeafName(QString::fromUtf8(path)), QString::fromUtf8(leaf)) << path;
}

}  // namespace
