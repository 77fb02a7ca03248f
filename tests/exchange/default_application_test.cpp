// Default applications as the desktop resolves them (GIO): the lists in
// order of precedence, associations standing in for a default, removals,
// hidden and vendor-prefixed entries, parents' defaults; and the program
// started on a file with any name.
#include "desktop_shell.h"
#include "private_desktop.h"
#include "scoped_env.h"
#include "wait_for.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantor;
using vantor::test::CPrivateDesktop;
using vantor::test::PrivateDesktop;

namespace {

class DefaultApplication : public ::testing::Test {
protected:
    // Every case has a type of its own, and every file is written before
    // the first lookup: GLib reads the folders once.
    static void SetUpTestSuite()
    {
        const CPrivateDesktop& d = PrivateDesktop();
        const QString home = d.strConfigHome;
        const QString data = d.strDataHome;
        s_paths["editor"] = d.Install("usr", "editor.desktop");
        s_paths["system"] = d.Install("usr", "system.desktop");
        s_paths["user"] = d.Install(data, "user.desktop");
        s_paths["desktopOnly"] = d.Install("usr", "desktop-only.desktop");
        s_paths["cached"] = d.Install("usr", "cached.desktop", "MimeType=text/x-t-cache;text/x-t-added;\n");
        s_paths["added"] = d.Install("usr", "added.desktop");
        d.Install("usr", "unwanted.desktop", "MimeType=text/x-t-removed;\n");
        d.Install(data, "hidden.desktop", "Hidden=true\n");
        d.Install("usr", "hidden.desktop");
        s_paths["kate"] = d.Install("usr", "kde4/kate.desktop");
        d.Write("usr/applications/mimeinfo.cache", "[MIME Cache]\ntext/x-t-cache=cached.desktop;\n"
                                                   "text/x-t-added=cached.desktop;\n"
                                                   "text/x-t-removed=unwanted.desktop;\n");
        d.Write("usr/applications/mimeapps.list", "[Default Applications]\n"
                                                  "text/x-t-system=system.desktop\n"
                                                  "text/x-t-user=system.desktop\n"
                                                  "text/x-t-desktop=system.desktop\n"
                                                  "[Added Associations]\ntext/x-t-removed=unwanted.desktop;\n");
        d.Write("etc-xdg/kde-mimeapps.list", "[Default Applications]\n"
                                             "text/x-t-user=user.desktop\n"
                                             "text/x-t-desktop=user.desktop\n");
        d.Write(home + "/kde-mimeapps.list", "[Default Applications]\ntext/x-t-desktop=desktop-only.desktop\n");
        d.Write(home + "/mimeapps.list", "[Default Applications]\n"
                                         "text/x-t-first=gone.desktop;editor.desktop\n"
                                         "text/x-t-hidden=hidden.desktop\n"
                                         "text/x-t-vendor=kde4-kate.desktop\n"
                                         "text/plain=editor.desktop\n"
                                         "[Removed Associations]\ntext/x-t-removed=unwanted.desktop;\n");
        d.Write(data + "/applications/mimeapps.list", "[Added Associations]\ntext/x-t-added=added.desktop;\n");
    }

    static inline QHash<QString, QString> s_paths;
    CDesktopShell m_shell;
};

TEST_F(DefaultApplication, ResolvedAsTheDesktopDoes)
{
    const struct {
        const char* type;
        QString expected;
    } cases[] = {
        {"text/x-t-first", s_paths["editor"]},           // the first installed default of a list
        {"text/x-t-none", QString()},                     // nothing for the type
        {"text/x-t-system", s_paths["system"]},          // a data folder's list
        {"text/x-t-user", s_paths["user"]},              // a config folder's desktop list is above it
        {"text/x-t-desktop", s_paths["desktopOnly"]},    // the user's desktop list above all
        {"text/x-t-cache", s_paths["cached"]},           // an entry that declares the type
        {"text/x-t-added", s_paths["added"]},            // an added association before that
        {"text/x-t-removed", QString()},                  // removed by the user's list
        {"text/x-t-hidden", QString()},                   // the user's Hidden entry hides the system's
        {"text/x-t-vendor", s_paths["kate"]},            // vendor-kate.desktop lives in vendor/
        {"text/x-csrc", s_paths["editor"]},              // a parent type's default (text/plain)
        {"application/x-zzqx-unknown", QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(m_shell.GetDefaultApplication(c.type), c.expected) << c.type;
}

// Names a shell would read as code or options, and one that is not UTF-8.
TEST_F(DefaultApplication, ProgramGetsTheFileAsOneArgumentInItsFolder)
{
    QTemporaryDir folder;
    const std::string base = QFile::encodeName(folder.path()).toStdString();
    const QString log = folder.filePath("log");
    const vantor::test::ScopedEnv logVariable(vantor::test::kEditorLogVariable, QFile::encodeName(log));
    for (const std::string name : {"$(touch pwned).txt", "a;b `x` 'q\".txt", "-rf.txt", "caf\xe9.txt"}) {
        SCOPED_TRACE(name);
        QFile::remove(log);
        const std::string path = base + "/sub/" + name;
        QDir().mkpath(folder.filePath("sub"));
        std::FILE* pFile = std::fopen(path.c_str(), "w");
        ASSERT_NE(pFile, nullptr);
        std::fclose(pFile);

        const CLaunchOutcome outcome = m_shell.OpenWithDefaultApplication(path, "application/x-test-txt", base + "/sub");
        ASSERT_TRUE(outcome.process) << outcome.error;
        EXPECT_FALSE(outcome.process->bHandOff);
        EXPECT_SOON(outcome.process->bEnded);
        QFile file(log);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().toStdString(), "argc=1\ncwd=" + base + "/sub\narg=" + path + "\n");
        EXPECT_FALSE(QFile::exists(folder.filePath("sub/pwned")));
        // Qt cannot remove a name that is not UTF-8.
        std::remove(path.c_str());
    }
    EXPECT_FALSE(m_shell.OpenWithDefaultApplication(base + "/x.zzqx", "application/x-zzqx-unknown", base).process);
}

}  // namespace
