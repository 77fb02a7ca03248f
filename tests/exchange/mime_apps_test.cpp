// Finding the default application of a type across the mimeapps.list files,
// the installed entries and the association cache.
#include "mime_apps.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

class DefaultApplication : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_dirs.strConfigHome = Path("config");
        m_dirs.configDirs = {Path("etc-xdg")};
        m_dirs.strDataHome = Path("data");
        m_dirs.dataDirs = {Path("usr-local"), Path("usr")};
        m_dirs.desktops = {QStringLiteral("kde")};
    }

    QString Path(const QString& relative) const { return m_root.filePath(relative); }

    void Write(const QString& relative, const QString& text) const
    {
        const QString path = Path(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }

    // An installed application entry in a data folder's applications.
    QString Install(const QString& dataDir, const QString& relative, const QString& extra = QString()) const
    {
        const QString path = dataDir + "/applications/" + relative;
        Write(path, "[Desktop Entry]\nType=Application\nName=X\nExec=x %f\n" + extra);
        return Path(path);
    }

    QString Find(const QString& type = QStringLiteral("text/plain")) const
    {
        return FindDefaultApplication(type, m_dirs);
    }

    QTemporaryDir m_root;
    XdgDirectories m_dirs;
};

TEST_F(DefaultApplication, FirstInstalledDefaultWins)
{
    const QString editor = Install("usr", "editor.desktop");
    Write("config/mimeapps.list", "[Default Applications]\ntext/plain=gone.desktop;editor.desktop\n");
    EXPECT_EQ(Find(), editor);
    EXPECT_TRUE(Find("text/html").isEmpty());
}

TEST_F(DefaultApplication, FilesOfHigherPrecedenceWin)
{
    const QString user = Install("data", "user.desktop");
    const QString desktopOnly = Install("usr", "desktop-only.desktop");
    const QString system = Install("usr", "system.desktop");
    Write("usr/applications/mimeapps.list", "[Default Applications]\ntext/plain=system.desktop\n");
    EXPECT_EQ(Find(), system);
    Write("etc-xdg/mimeapps.list", "[Default Applications]\ntext/plain=user.desktop\n");
    EXPECT_EQ(Find(), user);
    Write("config/kde-mimeapps.list", "[Default Applications]\ntext/plain=desktop-only.desktop\n");
    EXPECT_EQ(Find(), desktopOnly);
}

TEST_F(DefaultApplication, AssociationsAndTheCacheStandInForADefault)
{
    const QString added = Install("usr", "added.desktop");
    const QString cached = Install("usr", "cached.desktop");
    Write("usr/applications/mimeinfo.cache", "[MIME Cache]\ntext/plain=cached.desktop;\n");
    EXPECT_EQ(Find(), cached);
    Write("data/applications/mimeapps.list", "[Added Associations]\ntext/plain=added.desktop;\n");
    EXPECT_EQ(Find(), added);
}

TEST_F(DefaultApplication, RemovedAssociationsHideWhatLowerFilesAdd)
{
    Install("usr", "unwanted.desktop");
    Write("usr/applications/mimeinfo.cache", "[MIME Cache]\ntext/plain=unwanted.desktop;\n");
    Write("usr/applications/mimeapps.list", "[Added Associations]\ntext/plain=unwanted.desktop;\n");
    Write("config/mimeapps.list", "[Removed Associations]\ntext/plain=unwanted.desktop;\n");
    EXPECT_TRUE(Find().isEmpty());
}

TEST_F(DefaultApplication, HiddenEntriesAreNotInstalled)
{
    Install("data", "editor.desktop", "Hidden=true\n");
    Install("usr", "editor.desktop");
    Write("config/mimeapps.list", "[Default Applications]\ntext/plain=editor.desktop\n");
    // The user's own entry hides the system's one of the same id.
    EXPECT_TRUE(Find().isEmpty());
}

TEST_F(DefaultApplication, VendorPrefixedIdsLiveInSubfolders)
{
    const QString kate = Install("usr", "kde4/kate.desktop");
    Write("config/mimeapps.list", "[Default Applications]\ntext/plain=kde4-kate.desktop\n");
    EXPECT_EQ(Find(), kate);
    EXPECT_EQ(FindDesktopEntry("kde4-kate.desktop", m_dirs), kate);
    EXPECT_TRUE(FindDesktopEntry("../kate.desktop", m_dirs).isEmpty());
    EXPECT_TRUE(FindDesktopEntry("kate", m_dirs).isEmpty());
}

}  // namespace
