// Which folders the folder browser refuses: those on optical discs.
#include "dialogs/folder_browser.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace vantor;

TEST(FolderBrowser, RefusesOnlyOpticalDiscFileSystems)
{
    for (const char* type : {"iso9660", "udf", "UDF", "cdfs"})
        EXPECT_TRUE(IsOpticalFileSystem(type)) << type;
    for (const char* type : {"ext4", "tmpfs", "vfat", "ntfs", "nfs", ""})
        EXPECT_FALSE(IsOpticalFileSystem(type)) << type;
    EXPECT_FALSE(IsOnOpticalDisc(QDir::tempPath()));
}
