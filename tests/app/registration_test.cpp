// The .pak registration under a private XDG_DATA_HOME: what is written while
// "AssociatePak" and "NewPak" are on, what is removed when they are turned
// off, and that nothing belonging to the user is touched.
#include "pak_registration.h"
#include "desktop_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace vantor;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Registration : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_paths.strDataHome = m_root.filePath("data");
        m_paths.strTemplatesDir = m_root.filePath("Templates");
        m_paths.strProgram = QStringLiteral("/opt/vantor/bin/vantor");
    }

    CPakRegistration Make()
    {
        return CPakRegistration(m_paths, [this](const QString& program, const QStringList& arguments) {
            m_tools.append((QStringList{program} + arguments).join(u' '));
        });
    }

    // Every file below the temporary root, relative to it.
    QStringList Files() const
    {
        QStringList files;
        const QDir root(m_root.path());
        std::function<void(const QString&)> walk = [&](const QString& folder) {
            const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
            for (const QFileInfo& info : entries) {
                if (info.isDir())
                    walk(info.absoluteFilePath());
                else
                    files.append(root.relativeFilePath(info.absoluteFilePath()));
            }
        };
        walk(m_root.path());
        files.sort();
        return files;
    }

    QTemporaryDir m_root;
    RegistrationPaths m_paths;
    QStringList m_tools;
};

TEST_F(Registration, WritesTypeEntryIconsAndTemplate)
{
    Make().Refresh(1, 1);
    EXPECT_EQ(Files(), QStringList({"Templates/Quake Pak.pak", "data/applications/vantor.desktop",
                                    "data/icons/hicolor/scalable/apps/vantor.svg",
                                    "data/icons/hicolor/scalable/mimetypes/vantor-pak.svg",
                                    "data/mime/packages/vantor.xml"}));

    const QString mime = QString::fromUtf8(ReadAll(m_root.filePath("data/mime/packages/vantor.xml")));
    EXPECT_TRUE(mime.contains("<mime-type type=\"application/x-pak\">"));
    EXPECT_TRUE(mime.contains("<comment>Quake Pak</comment>"));
    EXPECT_TRUE(mime.contains("<match type=\"string\" offset=\"0\" value=\"PACK\"/>"));
    EXPECT_TRUE(mime.contains("<glob pattern=\"*.pak\"/>"));

    CDesktopFile entry;
    ASSERT_TRUE(entry.Load(m_root.filePath("data/applications/vantor.desktop")));
    EXPECT_EQ(entry.Value("Desktop Entry", "Exec"), "/opt/vantor/bin/vantor %f");
    EXPECT_EQ(entry.ListValue("Desktop Entry", "MimeType"), QStringList({"application/x-pak"}));
    EXPECT_EQ(entry.Value("Desktop Entry", "Icon"), "vantor");

    EXPECT_EQ(ReadAll(m_root.filePath("Templates/Quake Pak.pak")), QByteArray("PACK\x0c\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(m_tools, QStringList({"update-mime-database " + m_root.filePath("data/mime"),
                                    "update-desktop-database " + m_root.filePath("data/applications"),
                                    "xdg-mime default vantor.desktop application/x-pak"}));
}

TEST_F(Registration, ASecondStartChangesNothingAndRunsNoTool)
{
    Make().Refresh(1, 1);
    m_tools.clear();
    const QDateTime written = QFileInfo(m_root.filePath("data/applications/vantor.desktop")).lastModified();
    Make().Refresh(1, 1);
    EXPECT_TRUE(m_tools.isEmpty());
    EXPECT_EQ(QFileInfo(m_root.filePath("data/applications/vantor.desktop")).lastModified(), written);
}

TEST_F(Registration, AMovedProgramIsRegisteredAgain)
{
    Make().Refresh(1, 1);
    m_tools.clear();
    m_paths.strProgram = QStringLiteral("/home/me/vantor");
    Make().Refresh(1, 1);
    CDesktopFile entry;
    ASSERT_TRUE(entry.Load(m_root.filePath("data/applications/vantor.desktop")));
    EXPECT_EQ(entry.Value("Desktop Entry", "Exec"), "/home/me/vantor %f");
    EXPECT_TRUE(m_tools.contains("xdg-mime default vantor.desktop application/x-pak"));
    EXPECT_FALSE(m_tools.join(u'\n').contains("update-mime-database"));
}

TEST_F(Registration, NothingIsWrittenWhileAssociationIsOff)
{
    Make().Refresh(0, 1);
    EXPECT_TRUE(Files().isEmpty());
    EXPECT_TRUE(m_tools.isEmpty());
}

TEST_F(Registration, TemplateOnlyWhileNewMenuIsOn)
{
    Make().Refresh(1, 0);
    EXPECT_FALSE(QFileInfo::exists(m_root.filePath("Templates/Quake Pak.pak")));
    Make().Refresh(1, 1);
    EXPECT_TRUE(QFileInfo::exists(m_root.filePath("Templates/Quake Pak.pak")));
    // Turning it off again leaves the template in place.
    Make().Refresh(1, 0);
    EXPECT_TRUE(QFileInfo::exists(m_root.filePath("Templates/Quake Pak.pak")));
    EXPECT_TRUE(QFileInfo::exists(m_root.filePath("data/applications/vantor.desktop")));
}

TEST_F(Registration, TurningAssociationOffLeavesTheRegistrationAlone)
{
    Make().Refresh(1, 1);
    const QStringList files = Files();
    m_tools.clear();
    Make().Refresh(0, 1);
    EXPECT_EQ(files, Files());
    EXPECT_TRUE(m_tools.isEmpty());
}

TEST_F(Registration, AUsersOwnTemplateIsNeitherReplacedNorRemoved)
{
    QDir().mkpath(m_paths.strTemplatesDir);
    QFile own(m_root.filePath("Templates/Quake Pak.pak"));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("PACK my own starter pak");
    own.close();
    Make().Refresh(1, 1);
    EXPECT_EQ(ReadAll(own.fileName()), "PACK my own starter pak");
    Make().Refresh(0, 0);
    EXPECT_EQ(ReadAll(own.fileName()), "PACK my own starter pak");
}

TEST_F(Registration, NoTemplatesFolderMeansNoTemplate)
{
    m_paths.strTemplatesDir.clear();
    Make().Refresh(1, 1);
    EXPECT_FALSE(Files().join(u'\n').contains(".pak"));
    EXPECT_TRUE(QFileInfo::exists(m_root.filePath("data/applications/vantor.desktop")));
}

// A package put this program's entry into a system data folder.
class InstalledRegistration : public Registration {
protected:
    void Install(const QString& program)
    {
        m_paths.systemDataDirs = {m_root.filePath("nowhere"), m_root.filePath("sys")};
        RegistrationPaths installed = m_paths;
        installed.strProgram = program;
        QDir().mkpath(m_root.filePath("sys/applications"));
        QFile entry(m_root.filePath("sys/applications/vantor.desktop"));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write(CPakRegistration(installed).DesktopEntryBytes());
    }
};

TEST_F(InstalledRegistration, TheInstalledProgramWritesOnlyTheTemplate)
{
    Install(m_paths.strProgram);
    Make().Refresh(1, 1);
    EXPECT_EQ(Files(), QStringList({"Templates/Quake Pak.pak", "sys/applications/vantor.desktop"}));
    EXPECT_TRUE(m_tools.isEmpty());
}

TEST_F(InstalledRegistration, TheInstalledProgramRemovesWhatAnEarlierBuildRegistered)
{
    const QString installed = m_paths.strProgram;
    m_paths.strProgram = QStringLiteral("/home/me/src/build/vantor");
    Make().Refresh(1, 0);
    m_tools.clear();
    m_paths.strProgram = installed;
    Install(installed);
    Make().Refresh(1, 0);
    EXPECT_EQ(Files(), QStringList({"sys/applications/vantor.desktop"}));
    EXPECT_EQ(m_tools, QStringList({"update-mime-database " + m_root.filePath("data/mime"),
                                    "update-desktop-database " + m_root.filePath("data/applications")}));
}

TEST_F(InstalledRegistration, OtherProgramsAndTheUsersOwnEntryAreLeftAlone)
{
    // A build elsewhere keeps its per-user registration beside the package.
    Install(QStringLiteral("/usr/bin/vantor"));
    Make().Refresh(1, 0);
    EXPECT_TRUE(QFileInfo::exists(m_root.filePath("data/applications/vantor.desktop")));

    // An entry the user edited is theirs, even for the installed program.
    const QString entryPath = m_root.filePath("data/applications/vantor.desktop");
    QFile entry(entryPath);
    ASSERT_TRUE(entry.open(QIODevice::Append));
    entry.write("NoDisplay=true\n");
    entry.close();
    const QByteArray edited = ReadAll(entryPath);
    Install(m_paths.strProgram);
    Make().Refresh(1, 0);
    EXPECT_EQ(ReadAll(entryPath), edited);
    EXPECT_FALSE(QFileInfo::exists(m_root.filePath("data/mime/packages/vantor.xml")));
}

TEST(RegistrationExecLine, QuotesAndEscapesProgramPaths)
{
    struct Case {
        const char* program;
        const char* exec;  // what a desktop reads after the key-file unescaping
    } const cases[] = {
        {"/usr/bin/vantor", "/usr/bin/vantor"},
        {"/opt/my games/vantor", "\"/opt/my games/vantor\""},
        {"/opt/$HOME/vantor", "\"/opt/\\$HOME/vantor\""},
        {"/opt/a\"b/vantor", "\"/opt/a\\\"b/vantor\""},
        {"/opt/back\\slash/vantor", "\"/opt/back\\\\slash/vantor\""},
        {"/opt/100%/vantor", "/opt/100%%/vantor"},
    };
    for (const Case& c : cases) {
        CDesktopFile entry;
        entry.Parse("[Desktop Entry]\nExec=" + CPakRegistration::ExecLine(QString::fromUtf8(c.program)) + " %f\n");
        EXPECT_EQ(entry.Value("Desktop Entry", "Exec"), QString::fromUtf8(c.exec) + " %f") << c.program;
    }
}

TEST(RegistrationTemplatesFolder, FollowsTheUsersDirectorySettings)
{
    QTemporaryDir root;
    const QString home = root.filePath("home");
    const QString config = root.filePath("config");
    QDir().mkpath(config);
    EXPECT_EQ(FindTemplatesFolder(config, home), home + "/Templates");

    auto writeDirs = [&](const QByteArray& text) {
        QFile file(config + "/user-dirs.dirs");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    };
    writeDirs("# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_TEMPLATES_DIR=\"$HOME/Vorlagen\"\n");
    EXPECT_EQ(FindTemplatesFolder(config, home), home + "/Vorlagen");
    writeDirs("XDG_TEMPLATES_DIR=\"/srv/templates\"\n");
    EXPECT_EQ(FindTemplatesFolder(config, home), "/srv/templates");
    writeDirs("XDG_TEMPLATES_DIR=\"$HOME/\"\n");
    EXPECT_TRUE(FindTemplatesFolder(config, home).isEmpty());
}

}  // namespace
