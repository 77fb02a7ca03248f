// Copy and Cut against a real X clipboard: another process (xclip) asks this
// one for the data, as a file manager pasting would, and must find files
// holding the entries' bytes. Runs on a private X server (under_x11.sh).
#include "fake_shell.h"
#include "pak_archive.h"
#include "pak_builder.h"
#include "pak_data_source.h"
#include "scripted_prompt.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::test;

namespace {

class X11Clipboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run this test through under_x11.sh";
        PakBuilder()
            .File("readme.txt", "hello")
            .File("progs/a.mdl", std::string(200000, 'm'))
            .File("maps/e1m1.bsp", "level one")
            .File("maps/dm/dm1.bsp", "deathmatch")
            .WriteTo(m_dir / "test.pak");
        ASSERT_TRUE(m_pak.OpenPak(m_dir / "test.pak"));
        m_shell.m_strPrivateTempPath = QString::fromStdString(m_private.Path());
    }

    CPakDataSource* Put(bool bCut)
    {
        auto source = std::make_unique<CPakDataSource>(m_pak, m_shell);
        EXPECT_TRUE(source->SetItems({"readme.txt", "progs/a.mdl"}, {"maps/"}));
        source->SetCut(bCut);
        return PutOnClipboard(std::move(source), m_prompt);
    }

    // What xclip, another X client, reads from the clipboard as this type.
    // The event loop runs meanwhile: this process has to answer it.
    static QByteArray ReadAs(const QString& type)
    {
        QProcess xclip;
        xclip.start(QStringLiteral("xclip"), {"-o", "-selection", "clipboard", "-t", type});
        EXPECT_TRUE(xclip.waitForStarted(5000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return xclip.state() == QProcess::NotRunning; }, 10000));
        EXPECT_EQ(xclip.exitCode(), 0) << xclip.readAllStandardError().toStdString();
        return xclip.readAllStandardOutput();
    }

    static std::string LocalPath(const QByteArray& url)
    {
        return QByteArray::fromPercentEncoding(QUrl::fromEncoded(url).path(QUrl::FullyEncoded).toLatin1())
            .toStdString();
    }

    TempDir m_dir;
    TempDir m_private;
    CFakeShell m_shell;
    CScriptedPrompt m_prompt;
    CPakArchive m_pak;
};

TEST_F(X11Clipboard, CopiedFilesReachAnotherProcess)
{
    ASSERT_NE(Put(false), nullptr);
    EXPECT_TRUE(m_prompt.Texts().filter(QStringLiteral("error")).isEmpty()) << m_prompt.Texts().join('\n').toStdString();

    const QByteArray list = ReadAs(QStringLiteral("text/uri-list"));
    QList<QByteArray> urls = list.split('\n');
    for (QByteArray& url : urls)
        url = url.trimmed();
    urls.removeAll(QByteArray());
    ASSERT_EQ(urls.size(), 3) << list.toStdString();
    EXPECT_TRUE(list.contains("\r\n"));
    EXPECT_EQ(ReadFileBytes(LocalPath(urls[0])), "hello");
    EXPECT_EQ(ReadFileBytes(LocalPath(urls[1])), std::string(200000, 'm'));
    EXPECT_EQ(ReadFileBytes(LocalPath(urls[2]) + "/e1m1.bsp"), "level one");
    EXPECT_EQ(ReadFileBytes(LocalPath(urls[2]) + "/dm/dm1.bsp"), "deathmatch");

    EXPECT_TRUE(ReadAs(QStringLiteral("x-special/gnome-copied-files")).startsWith("copy\nfile://"));
}

TEST_F(X11Clipboard, CutIsOfferedAsACut)
{
    ASSERT_NE(Put(true), nullptr);
    const QByteArray gnome = ReadAs(QStringLiteral("x-special/gnome-copied-files"));
    EXPECT_TRUE(gnome.startsWith("cut\nfile://")) << gnome.toStdString();
    EXPECT_EQ(gnome.count('\n'), 3);
    EXPECT_EQ(ReadAs(QStringLiteral("application/x-kde-cutselection")), "1");
}

}  // namespace
