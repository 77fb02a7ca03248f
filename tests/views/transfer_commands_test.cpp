// Items leaving the views as files: Copy and Cut of list rows and tree
// folders, and drags, with what stays in the pak when an item could not
// reach the disk.
#include "views_fixture.h"

#include "profile.h"
#include "resource.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <filesystem>

using namespace vantor;
using namespace vantor::test;
namespace fs = std::filesystem;

namespace {

class TransferCommands : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        WriteProfileInt("Options", "RecoverOnExit", 0);
    }
    // A pak whose "bad.txt" claims bytes past the end of the file.
    void OpenPak()
    {
        OpenFrame(WritePak(PakBuilder()
                               .File("a.txt", "alpha")
                               .File("b.txt", "beta")
                               .File("maps/e1m1.bsp", "level")
                               .Record("bad.txt", 1u << 20, 10)));
        Frame().SetActivePane(&List());
    }
    static QList<QUrl> ClipboardUrls() { return QGuiApplication::clipboard()->mimeData()->urls(); }
    static std::string Bytes(const QUrl& url) { return ReadFileBytes(url.toLocalFile().toStdString()); }
    // The names in the directory on disk (the damaged entry keeps the
    // tests' own reader from taking the pak).
    std::vector<std::string> Names()
    {
        const std::string bytes = ReadFileBytes(Tree().GetPakPath().toStdString());
        const auto u32 = [&](std::size_t at) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
                   static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
                   static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
                   static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
        };
        std::vector<std::string> names;
        for (std::uint32_t at = u32(4); at + 64 <= u32(4) + u32(8); at += 64)
            names.emplace_back(bytes.c_str() + at);
        return names;
    }

    // The transfer folders that still exist.
    int Transfers() const
    {
        return static_cast<int>(std::distance(fs::directory_iterator(m_dir / "private"), fs::directory_iterator()));
    }
};

TEST_F(TransferCommands, CopyOffersTheFilesFirstThenTheFoldersAndASecondCopyReplacesTheFirst)
{
    OpenPak();
    ASSERT_EQ(Column(), QStringList({"maps", "a.txt", "b.txt", "bad.txt"}));
    SelectRows({0, 1, 2});
    Frame().RouteCommand(ID_EDIT_COPY);
    const QList<QUrl> urls = ClipboardUrls();
    ASSERT_EQ(urls.size(), 3);
    EXPECT_EQ(urls[0].fileName(), "a.txt");
    EXPECT_EQ(Bytes(urls[0]), "alpha");
    EXPECT_EQ(Bytes(urls[1]), "beta");
    EXPECT_EQ(ReadFileBytes(urls[2].toLocalFile().toStdString() + "/e1m1.bsp"), "level");
    EXPECT_EQ(Transfers(), 1);

    SelectRows({2});
    Frame().RouteCommand(ID_EDIT_COPY);
    EXPECT_EQ(Transfers(), 1);
    EXPECT_FALSE(fs::exists(urls[0].toLocalFile().toStdString()));
    EXPECT_EQ(Names().size(), 4u);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(TransferCommands, CutRemovesExactlyWhatReachedTheDisk)
{
    OpenPak();
    SelectRows({1, 3});  // a.txt, bad.txt
    Frame().RouteCommand(ID_EDIT_CUT);
    EXPECT_TRUE(Messages().constLast().startsWith("An error occurred extracting one or more items"));
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data("x-special/gnome-copied-files").left(4), "cut\n");
    ASSERT_EQ(ClipboardUrls().size(), 1);
    EXPECT_EQ(Bytes(ClipboardUrls()[0]), "alpha");
    EXPECT_EQ(Column(), QStringList({"maps", "b.txt", "bad.txt"}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.txt", "maps/e1m1.bsp", "bad.txt"}));

    // The tree's own Cut of its folder.
    Enter("maps");
    Frame().SetActivePane(&Tree());
    Frame().RouteCommand(ID_EDIT_CUT);
    EXPECT_EQ(Folder("maps"), nullptr);
    EXPECT_EQ(Bytes(QUrl::fromLocalFile(ClipboardUrls()[0].toLocalFile() + "/e1m1.bsp")), "level");
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.txt", "bad.txt"}));
}

TEST_F(TransferCommands, DragsCarryOnlyWhatIsOnDiskAndAMoveRemovesIt)
{
    OpenPak();
    // An item that cannot be extracted: no drag at all, nothing left behind.
    SelectRows({3});
    List().OnBeginDrag();
    EXPECT_TRUE(m_shell.m_drags.empty());
    EXPECT_EQ(Transfers(), 0);

    // Cancelled with Escape: the files go.
    SelectRows({1});
    List().OnBeginDrag();
    ASSERT_EQ(m_shell.m_drags.size(), 1u);
    EXPECT_EQ(m_shell.m_drags[0].actions, Qt::CopyAction | Qt::MoveAction);
    EXPECT_EQ(Transfers(), 0);
    EXPECT_EQ(Names().size(), 4u);

    // Moved away: the rows and entries go, the files stay for the receiver.
    m_shell.m_dragResult = Qt::MoveAction;
    SelectRows({0, 2});
    List().OnBeginDrag();
    ASSERT_EQ(m_shell.m_drags.size(), 2u);
    EXPECT_EQ(m_shell.m_drags[1].urls.size(), 2);
    EXPECT_EQ(Column(), QStringList({"a.txt", "bad.txt"}));
    EXPECT_EQ(Folder("maps"), nullptr);
    EXPECT_EQ(Transfers(), 1);
    EXPECT_EQ(Bytes(m_shell.m_drags[1].urls[0]), "beta");
    EXPECT_TRUE(Messages().isEmpty());
}

}  // namespace
