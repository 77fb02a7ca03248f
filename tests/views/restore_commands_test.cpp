// Restore Deleted Files from the views: which names are offered, the replace
// question, the folder conflict, what comes back into tree and list, and the
// summary of names that could not be restored; the pak is read back with
// the tests' own reader.
#include "views_fixture.h"

#include "pak_reader.h"
#include "profile.h"
#include "resource.h"

#include <filesystem>

using namespace vantor;
using namespace vantor::test;

namespace {

QStringList Sorted(QStringList list)
{
    list.sort();
    return list;
}

class RestoreCommands : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        WriteProfileInt("Options", "RecoverOnExit", 0);
    }
    void Delete(const QString& folder, std::initializer_list<int> rows)
    {
        Enter(folder);
        Frame().SetActivePane(&List());
        SelectRows(rows);
        Frame().RouteCommand(ID_FILE_DELETE);
    }
    // The pak's live contents as the independent reader sees them.
    QStringList OnDisk()
    {
        QStringList list;
        const std::optional<ParsedPak> pak = ParsePakFile(Tree().GetPakPath().toStdString());
        EXPECT_TRUE(pak.has_value());
        if (pak) {
            for (const auto& [name, bytes] : pak->Contents())
                list.append(QString::fromStdString(name + "=" + bytes));
        }
        return list;
    }
    QStringList OfferedLastTime() const { return m_prompt.Questions().back().names; }
};

TEST_F(RestoreCommands, CancelOrNothingChosenChangesNothing)
{
    OpenFrame(WritePak(PakBuilder().File("a.txt", "a").File("b.txt", "b")));
    Delete("", {0});
    const QStringList before = OnDisk();
    Frame().RouteCommand(ID_FILE_RESTORE);  // no answer: cancelled
    m_prompt.AnswerRestore(QStringList());
    Frame().RouteCommand(ID_FILE_RESTORE);
    EXPECT_EQ(OfferedLastTime(), QStringList({"a.txt"}));
    EXPECT_EQ(OnDisk(), before);
    EXPECT_TRUE(Enabled(ID_FILE_RESTORE));
}

TEST_F(RestoreCommands, AFolderComesBackIntoTheTreeAndRowsIntoTheList)
{
    OpenFrame(WritePak(PakBuilder().File("maps/a.bsp", "a").File("maps/b.bsp", "b").File("x.txt", "x")));
    Delete("", {0, 1});  // maps, x.txt
    ASSERT_EQ(Folder("maps"), nullptr);
    m_prompt.AnswerRestore(QStringList({"maps/a.bsp", "x.txt"}));
    Frame().RouteCommand(ID_FILE_RESTORE);
    EXPECT_NE(Folder("maps"), nullptr);
    EXPECT_EQ(Column(), QStringList({"maps", "x.txt"}));
    EXPECT_EQ(OnDisk(), QStringList({"maps/a.bsp=a", "x.txt=x"}));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(RestoreCommands, ALiveNameIsReplacedOnlyWhenTheUserSaysSo)
{
    OpenFrame(WritePak(PakBuilder().File("a.txt", "old a").File("b.txt", "old b").File("c.txt", "old c")));
    Delete("", {0, 1, 2});
    // The same names come back as new entries.
    const std::string dir = m_dir / "in";
    std::filesystem::create_directories(dir);
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        WriteFileBytes(dir + "/" + name, std::string("new ") + name[0]);
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        ASSERT_TRUE(Tree().GetArchive().AddFileFromDisk(dir + "/" + name, "/", true));
    Tree().RefillPanes();

    // No leaves both; Yes swaps (the new one becomes restorable); Yes To
    // All answers for the rest of the run.
    m_prompt.AnswerRestore(QStringList({"a.txt", "b.txt", "c.txt"}));
    m_prompt.AnswerReplace(replaceNo);
    m_prompt.AnswerReplace(replaceYesToAll);
    Frame().RouteCommand(ID_FILE_RESTORE);
    EXPECT_EQ(m_prompt.Questions().back().text, "The file b.txt already exists.  Overwrite?");
    EXPECT_TRUE(m_prompt.AllAnswered());
    EXPECT_EQ(Sorted(OnDisk()), QStringList({"a.txt=new a", "b.txt=old b", "c.txt=old c"}));
    m_prompt.AnswerRestore(std::nullopt);
    Frame().RouteCommand(ID_FILE_RESTORE);
    EXPECT_EQ(Sorted(OfferedLastTime()), QStringList({"a.txt", "b.txt", "c.txt"}));

    // Cancel stops the run; what came back before it stays.
    m_prompt.AnswerRestore(QStringList({"b.txt"}));
    m_prompt.AnswerReplace(replaceCancel);
    Frame().RouteCommand(ID_FILE_RESTORE);
    EXPECT_EQ(Sorted(OnDisk()), QStringList({"a.txt=new a", "b.txt=old b", "c.txt=old c"}));
}

TEST_F(RestoreCommands, AFileNeverComesBackOverAFolderOfItsName)
{
    OpenFrame(WritePak(PakBuilder().File("sound", "a file").File("keep.txt", "k")));
    Delete("", {1});  // sound
    // A folder now lives where the file was.
    const std::string dir = m_dir / "in";
    std::filesystem::create_directories(dir);
    WriteFileBytes(dir + "/x.wav", "wave");
    ASSERT_TRUE(Tree().GetArchive().AddFileFromDisk(dir + "/x.wav", "/sound", true));
    Tree().RefillPanes();

    m_prompt.AnswerRestore(QStringList({"sound"}));
    Frame().RouteCommand(ID_FILE_RESTORE);
    EXPECT_EQ(Messages(), QStringList({"There is a folder named sound  Cannot overwrite a folder with a file."}));
    EXPECT_EQ(OnDisk(), QStringList({"keep.txt=k", "sound/x.wav=wave"}));
    EXPECT_TRUE(Enabled(ID_FILE_RESTORE));
}

TEST_F(RestoreCommands, BytesOtherDataUsesNowAreListedAsNotRestored)
{
    // The first x.txt record points into big.bin's bytes; the second x.txt
    // has bytes of its own.
    OpenFrame(WritePak(PakBuilder().File("big.bin", "0123456789").Record("x.txt", 14, 4).File("x.txt", "mine")));
    Delete("", {1});  // the first x.txt, the one a name reads
    m_prompt.AnswerRestore(QStringList({"x.txt"}));
    m_prompt.AnswerReplace(replaceYes);
    Frame().RouteCommand(ID_FILE_RESTORE);
    EXPECT_EQ(Messages(), QStringList({"Some files could not be restored:\n\nx.txt\n"}));
    EXPECT_EQ(OnDisk(), QStringList({"big.bin=0123456789", "x.txt=mine"}));
    EXPECT_FALSE(Enabled(ID_FILE_RESTORE));
}

}  // namespace
