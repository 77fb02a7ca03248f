// Pak items offered to other programs: what reaches disk, the formats and
// URLs offered for Copy and Cut, failures item by item, cancelling, and the
// lifetime of the transfer folder behind a clipboard entry or a drag.
#include "fake_shell.h"
#include "pak_archive.h"
#include "pak_builder.h"
#include "pak_data_source.h"
#include "scripted_prompt.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace vantor;
using namespace vantor::test;
namespace fs = std::filesystem;

namespace {

const QString kUriList = QStringLiteral("text/uri-list");
const QString kGnome = QStringLiteral("x-special/gnome-copied-files");
const QString kKdeCut = QStringLiteral("application/x-kde-cutselection");

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

QSet<QString> FormatSet(const QMimeData& data)
{
    const QStringList formats = data.formats();
    return QSet<QString>(formats.begin(), formats.end());
}

std::string LocalPath(const QUrl& url)
{
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

class DataSource : public ::testing::Test {
protected:
    void SetUp() override { m_shell.m_strPrivateTempPath = QString::fromStdString(m_private.Path()); }

    void Open(const PakBuilder& builder)
    {
        builder.WriteTo(m_dir / "test.pak");
        ASSERT_TRUE(m_pak.OpenPak(m_dir / "test.pak"));
    }
    static PakBuilder Sample()
    {
        return PakBuilder()
            .File("readme.txt", "hello")
            .File("maps/e1m1.bsp", "level one")
            .File("maps/dm/dm1.bsp", "deathmatch")
            .File("maps/dm/dm2.bsp", "")
            .File("progs/a.mdl", "model");
    }
    std::unique_ptr<CPakDataSource> Source(std::vector<std::string> files, std::vector<std::string> folders)
    {
        auto source = std::make_unique<CPakDataSource>(m_pak, m_shell);
        EXPECT_TRUE(source->SetItems(std::move(files), std::move(folders)));
        return source;
    }

    TempDir m_dir;
    TempDir m_private;
    CFakeShell m_shell;
    CPakArchive m_pak;
};

TEST_F(DataSource, CopyOffersTheFilesThenTheFoldersWithTheirBytes)
{
    Open(Sample());
    auto source = Source({"readme.txt", "progs/a.mdl"}, {"maps/"});
    EXPECT_TRUE(source->formats().isEmpty());
    ASSERT_TRUE(source->ExtractToTemp());
    EXPECT_EQ(source->GetError(), CPakDataSource::srcNone);

    const std::string transfer = source->GetTransfer()->DiskPath();
    const QList<QUrl> urls = source->urls();
    ASSERT_EQ(urls.size(), 3);
    EXPECT_EQ(LocalPath(urls[0]), transfer + "/readme.txt");
    EXPECT_EQ(LocalPath(urls[1]), transfer + "/a.mdl");
    EXPECT_EQ(LocalPath(urls[2]), transfer + "/maps");
    EXPECT_EQ(ReadFileBytes(LocalPath(urls[0])), "hello");
    EXPECT_EQ(ReadFileBytes(LocalPath(urls[1])), "model");
    EXPECT_EQ(ReadFileBytes(transfer + "/maps/e1m1.bsp"), "level one");
    EXPECT_EQ(ReadFileBytes(transfer + "/maps/dm/dm1.bsp"), "deathmatch");
    EXPECT_EQ(ReadFileBytes(transfer + "/maps/dm/dm2.bsp"), "");
    EXPECT_EQ(source->ExtractedFiles(), (std::vector<std::string>{"readme.txt", "progs/a.mdl"}));
    EXPECT_EQ(source->ExtractedFolders(), (std::vector<std::string>{"maps/"}));

    const QByteArray list = urls[0].toEncoded() + "\r\n" + urls[1].toEncoded() + "\r\n" + urls[2].toEncoded();
    EXPECT_EQ(source->data(kUriList).trimmed(), list);
    EXPECT_EQ(source->data(kGnome), "copy\n" + QByteArray(list).replace("\r\n", "\n"));
    EXPECT_EQ(FormatSet(*source), (QSet<QString>{kUriList, kGnome}));
    EXPECT_FALSE(source->hasFormat(kKdeCut));

    source->SetCut(true);
    EXPECT_EQ(FormatSet(*source),
              (QSet<QString>{kUriList, kGnome, kKdeCut}));
    EXPECT_EQ(source->data(kKdeCut), "1");
    EXPECT_EQ(source->data(kGnome), "cut\n" + QByteArray(list).replace("\r\n", "\n"));
    EXPECT_EQ(source->urls(), urls);
    source->SetCut(false);
    EXPECT_FALSE(source->hasFormat(kKdeCut));
}

// Names need not be UTF-8 and may hold URL syntax; every byte must survive.
TEST_F(DataSource, FileUrlsKeepEveryByte)
{
    const std::pair<std::string, QByteArray> cases[] = {
        {"/tmp/plain.txt", "file:///tmp/plain.txt"},
        {"/tmp/a b/c#d?e%f.txt", "file:///tmp/a%20b/c%23d%3Fe%25f.txt"},
        {"/tmp/caf\xc3\xa9/\xff\xfe.bin", "file:///tmp/caf%C3%A9/%FF%FE.bin"},
    };
    for (const auto& [path, encoded] : cases) {
        const QUrl url = CPakDataSource::FileUrl(path);
        EXPECT_TRUE(url.isValid()) << path;
        EXPECT_EQ(url.toEncoded(), encoded) << path;
        EXPECT_EQ(LocalPath(url), path);
    }
}

TEST_F(DataSource, EachTransferReplacesTheLastAndLivesAsLongAsAnOwner)
{
    Open(Sample());
    auto source = Source({"readme.txt"}, {});
    ASSERT_TRUE(source->ExtractToTemp());
    const std::string first = source->GetTransfer()->DiskPath();
    ASSERT_TRUE(source->ExtractToTemp());
    const std::string second = source->GetTransfer()->DiskPath();
    EXPECT_NE(first, second);
    EXPECT_FALSE(Exists(first));
    EXPECT_TRUE(source->SetItems({"progs/a.mdl"}, {}));
    EXPECT_FALSE(Exists(second));
    EXPECT_TRUE(source->formats().isEmpty());

    // A drag deletes its data when it ends; whoever keeps the transfer
    // keeps the files for a receiver still reading them.
    ASSERT_TRUE(source->ExtractToTemp());
    std::shared_ptr<CTransferFolder> kept = source->GetTransfer();
    const std::string dragged = kept->DiskPath();
    m_shell.m_dragResult = Qt::CopyAction;
    m_shell.m_onDrag = [&](const QMimeData& data) {
        EXPECT_EQ(ReadFileBytes(LocalPath(data.urls().value(0))), "model");
    };
    EXPECT_EQ(m_shell.StartDrag(nullptr, source.release(), Qt::CopyAction | Qt::MoveAction), Qt::CopyAction);
    ASSERT_EQ(m_shell.m_drags.size(), 1u);
    EXPECT_EQ(m_shell.m_drags[0].urls.size(), 1);
    EXPECT_EQ(m_shell.m_drags[0].actions, Qt::CopyAction | Qt::MoveAction);
    EXPECT_EQ(ReadFileBytes(dragged + "/a.mdl"), "model");
    kept.reset();
    EXPECT_FALSE(Exists(dragged));

    // DeleteTempFiles lets go of it too, and offers nothing any more.
    auto other = Source({"readme.txt"}, {});
    ASSERT_TRUE(other->ExtractToTemp());
    const std::string dropped = other->GetTransfer()->DiskPath();
    other->DeleteTempFiles();
    EXPECT_FALSE(Exists(dropped));
    EXPECT_FALSE(other->hasUrls());
}

// A bad entry fails alone: the others reach disk and stay on offer, and a
// folder holding it is neither listed nor offered as if it were whole.
TEST_F(DataSource, AFailedItemLeavesTheOthersOnOffer)
{
    Open(Sample().Record("maps/broken.bsp", 1000000, 10).Record("lost.txt", 1000000, 10));
    auto source = Source({"readme.txt", "lost.txt", "missing.txt", "progs/a.mdl"}, {"maps/dm/", "maps/"});
    EXPECT_FALSE(source->ExtractToTemp());
    EXPECT_EQ(source->GetError(), CPakDataSource::srcItemFailed);
    EXPECT_FALSE(source->IsFatal());
    // The first failure's text: lost.txt lies past the end of the file.
    EXPECT_EQ(source->DescribeError(), QString::fromUtf8(PakErrorText(errEndOfFile)));
    EXPECT_EQ(source->ExtractedFiles(), (std::vector<std::string>{"readme.txt", "progs/a.mdl"}));
    EXPECT_EQ(source->ExtractedFolders(), (std::vector<std::string>{"maps/dm/"}));
    const QList<QUrl> urls = source->urls();
    ASSERT_EQ(urls.size(), 3);
    EXPECT_EQ(ReadFileBytes(LocalPath(urls[2]) + "/dm1.bsp"), "deathmatch");
    EXPECT_FALSE(Exists(source->GetTransfer()->DiskPath() + "/lost.txt"));
}

TEST_F(DataSource, FailuresBeforeAnyItemAreFatal)
{
    struct Case {
        bool bOpen;
        QString privateRoot;
        int nCode;
        const char* text;
    };
    const Case cases[] = {
        {false, QStringLiteral("/tmp"), CPakDataSource::srcNoPak, "No pak file has been specified."},
        {true, QString(), CPakDataSource::srcNoTempFolder, "The temporary directory is invalid or not specified."},
        {true, QStringLiteral("/nonexistent/vantor"), CPakDataSource::srcNoTempFolder,
         "The temporary directory is invalid or not specified."},
    };
    Sample().WriteTo(m_dir / "test.pak");
    for (const Case& c : cases) {
        CPakArchive pak;
        if (c.bOpen) {
            ASSERT_TRUE(pak.OpenPak(m_dir / "test.pak"));
        }
        m_shell.m_strPrivateTempPath = c.privateRoot;
        CPakDataSource source(pak, m_shell);
        EXPECT_EQ(source.GetError(), CPakDataSource::srcUnspecified);
        EXPECT_EQ(source.DescribeError(), QStringLiteral("An unspecified error occurred."));
        EXPECT_FALSE(source.IsFatal());
        ASSERT_TRUE(source.SetItems({"readme.txt"}, {}));
        EXPECT_FALSE(source.ExtractToTemp());
        EXPECT_EQ(source.GetError(), c.nCode);
        EXPECT_EQ(source.DescribeError(), QString::fromUtf8(c.text));
        EXPECT_TRUE(source.IsFatal());
        EXPECT_TRUE(source.formats().isEmpty());
    }

    // Asked for data with nothing offered.
    CPakDataSource empty(m_pak, m_shell);
    EXPECT_TRUE(empty.data(kUriList).isEmpty());
    EXPECT_EQ(empty.GetError(), CPakDataSource::srcNothingToOffer);
    EXPECT_EQ(empty.DescribeError(), QStringLiteral("There is no data to paste."));
    EXPECT_TRUE(empty.IsFatal());
}

TEST_F(DataSource, ProgressCoversTheWholeTransferAndCanCancel)
{
    Open(Sample());
    std::vector<PakProgress> steps;
    auto source = Source({"readme.txt"}, {"maps/", "progs/"});
    ASSERT_TRUE(source->ExtractToTemp([&](const PakProgress& now) {
        steps.push_back(now);
        return true;
    }));
    ASSERT_FALSE(steps.empty());
    for (const PakProgress& step : steps) {
        EXPECT_EQ(step.itemsTotal, 5u);
        EXPECT_EQ(step.bytesTotal, 29u);
    }
    EXPECT_EQ(steps.back().itemsDone, 5u);
    EXPECT_EQ(steps.back().bytesDone, 29u);
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end(),
                               [](const PakProgress& a, const PakProgress& b) { return a.bytesDone < b.bytesDone; }));

    // Cancelled at the second step (before the first entry of maps/):
    // readme.txt is done, the rest counts as failed.
    int nSteps = 0;
    EXPECT_FALSE(source->ExtractToTemp([&](const PakProgress&) { return ++nSteps < 2; }));
    EXPECT_EQ(nSteps, 2);
    EXPECT_TRUE(source->WasCancelled());
    EXPECT_EQ(source->GetError(), CPakDataSource::srcItemFailed);
    EXPECT_EQ(source->ExtractedFiles(), (std::vector<std::string>{"readme.txt"}));
    EXPECT_TRUE(source->ExtractedFolders().empty());
    EXPECT_EQ(source->urls().size(), 1);
}

class Clipboard : public DataSource {
protected:
    void TearDown() override { QGuiApplication::clipboard()->clear(); }
    CScriptedPrompt m_prompt;
};

TEST_F(Clipboard, PutOnClipboardPlacesWhatReachedDisk)
{
    Open(Sample().Record("lost.txt", 1000000, 10));
    CPakDataSource* pPlaced = PutOnClipboard(Source({"readme.txt", "lost.txt"}, {"maps/"}), m_prompt);
    ASSERT_NE(pPlaced, nullptr);
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData(), pPlaced);
    EXPECT_EQ(pPlaced->ExtractedFiles(), (std::vector<std::string>{"readme.txt"}));
    EXPECT_EQ(pPlaced->ExtractedFolders(), (std::vector<std::string>{"maps/"}));
    EXPECT_EQ(pPlaced->urls().size(), 2);
    ASSERT_EQ(m_prompt.Questions().size(), 2u);
    EXPECT_EQ(m_prompt.Questions()[0].kind, CScriptedPrompt::Kind::progress);
    EXPECT_TRUE(m_prompt.Questions()[0].bCancellable);
    EXPECT_EQ(m_prompt.Questions()[1].text, "An error occurred extracting one or more items from the pak:  " +
                                                QString::fromUtf8(PakErrorText(errEndOfFile)));
    EXPECT_EQ(m_prompt.Questions()[1].icon, PromptIcon::exclamation);

    // The transfer goes with the clipboard's content.
    const std::string transfer = pPlaced->GetTransfer()->DiskPath();
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(Exists(transfer));
}

TEST_F(Clipboard, CancellingPlacesWhatWasDoneWithoutAMessage)
{
    Open(Sample());
    m_prompt.m_nCancelAtStep = 2;
    CPakDataSource* pPlaced = PutOnClipboard(Source({"readme.txt", "progs/a.mdl"}, {"maps/"}), m_prompt);
    ASSERT_NE(pPlaced, nullptr);
    EXPECT_TRUE(m_prompt.Cancelled());
    EXPECT_EQ(pPlaced->ExtractedFiles(), (std::vector<std::string>{"readme.txt"}));
    EXPECT_TRUE(pPlaced->ExtractedFolders().empty());
    EXPECT_EQ(m_prompt.Texts().size(), 1);
}

TEST_F(Clipboard, AFatalFailurePlacesNothing)
{
    Open(Sample());
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    m_shell.m_strPrivateTempPath.clear();
    EXPECT_EQ(PutOnClipboard(Source({"readme.txt"}, {}), m_prompt), nullptr);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
    EXPECT_EQ(m_prompt.Texts().constLast(), "A fatal error occurred while extracting data from the pak file:  "
                                            "The temporary directory is invalid or not specified.");
}

}  // namespace
