// The commands on the pak as a whole: New Pak, Open Pak, the recent list,
// recovering unused space, Options, and closing down.
#include "views_fixture.h"

#include "pak_error.h"
#include "profile.h"
#include "resource.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QMenu>

#include <filesystem>
#include <fstream>

using namespace vantor;
using namespace vantor::test;

namespace {

class PakCommands : public ViewsTest {
protected:
    // A pak with one file and n bytes that no entry uses.
    std::string WriteGappedPak(const std::string& name, std::size_t nUnused = 5000)
    {
        return WritePak(PakBuilder().File("a.txt", "aaaa").Gap(nUnused).File("maps/b.bsp", "bb"), name);
    }
    std::string WriteSmallPak(const std::string& name) { return WritePak(PakBuilder().File("x.txt", name), name); }

    void OpenPak(const std::string& path)
    {
        m_prompt.AnswerOpenFile(QString::fromStdString(path));
        ASSERT_TRUE(Frame().RouteCommand(ID_FILE_OPENPAK));
    }
    QStringList RecentMenuTexts()
    {
        QStringList texts;
        for (const QAction* pAction : Frame().GetRecentPakMenu()->actions())
            texts.append(pAction->text());
        return texts;
    }
    static QStringList Paths(std::initializer_list<std::string> paths)
    {
        QStringList list;
        for (const std::string& path : paths)
            list.append(QString::fromStdString(path));
        return list;
    }
    static QStringList StoredRecent()
    {
        QStringList list;
        for (int i = 0; i < 6; ++i) {
            const QVariant value = Stored("Mru", QString::number(i));
            if (value.isValid())
                list.append(value.toString());
        }
        return list;
    }
    QString RootText() { return Tree().HasItems() ? Tree().GetRootItem()->text(0) : QString(); }
};

TEST_F(PakCommands, SevenPaksLeaveTheSixMostRecentAndTheListSurvivesARestart)
{
    std::vector<std::string> paks;
    for (int i = 1; i <= 7; ++i)
        paks.push_back(WriteSmallPak("pak" + std::to_string(i) + ".pak"));
    OpenFrame("");
    EXPECT_EQ(RecentMenuTexts(), QStringList({"(none)"}));
    for (int i = 0; i < 6; ++i)
        OpenPak(paks[static_cast<std::size_t>(i)]);
    // The loaded pak joins the list only when another replaces it.
    EXPECT_EQ(Tree().GetRecentPaks(), Paths({paks[4], paks[3], paks[2], paks[1], paks[0]}));
    OpenPak(paks[6]);
    EXPECT_EQ(Tree().GetRecentPaks(), Paths({paks[5], paks[4], paks[3], paks[2], paks[1], paks[0]}));
    EXPECT_EQ(RecentMenuTexts(), Tree().GetRecentPaks());

    WriteProfileInt("Options", "RecoverOnExit", 0);
    CloseFrame();
    // Closing adds the loaded pak; the oldest falls out.
    const QStringList expected = Paths({paks[6], paks[5], paks[4], paks[3], paks[2], paks[1]});
    EXPECT_EQ(StoredRecent(), expected);

    OpenFrame("");
    EXPECT_EQ(RecentMenuTexts(), expected);
    Frame().UpdateCommands();
    for (QAction* pAction : Frame().GetRecentPakMenu()->actions()) {
        EXPECT_TRUE(pAction->isEnabled());
    }
    const std::size_t nAsked = m_prompt.Questions().size();
    Frame().GetRecentPakMenu()->actions().at(2)->trigger();
    EXPECT_EQ(RootText(), QString::fromStdString(paks[4]));
    EXPECT_EQ(m_prompt.Questions().size(), nAsked);
}

TEST_F(PakCommands, RecentPathsCompareAsTheFileSystemDoes)
{
    OpenFrame("");
    EXPECT_TRUE(Tree().AddRecent("/data/Maps.pak"));
    EXPECT_FALSE(Tree().AddRecent("/data/Maps.pak"));
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    EXPECT_FALSE(Tree().AddRecent("/data/maps.pak"));
    EXPECT_EQ(Tree().GetRecentPaks(), QStringList({"/data/Maps.pak"}));
#else
    // Two paths that differ only in case are two files here.
    EXPECT_TRUE(Tree().AddRecent("/data/maps.pak"));
    EXPECT_EQ(Tree().GetRecentPaks(), QStringList({"/data/maps.pak", "/data/Maps.pak"}));
#endif
    // An entry already there keeps its place.
    EXPECT_FALSE(Tree().AddRecent("/data/Maps.pak"));
    EXPECT_EQ(Tree().GetRecentPaks().constLast(), "/data/Maps.pak");
}

TEST_F(PakCommands, AMissingRecentPakIsReportedAndDroppedWhileTheLoadedPakStays)
{
    const std::string loaded = WriteSmallPak("loaded.pak");
    const std::string kept = WriteSmallPak("kept.pak");
    const std::string gone = m_dir / "gone.pak";
    WriteProfileString("Mru", "0", QString::fromStdString(kept));
    WriteProfileString("Mru", "2", QString::fromStdString(gone));  // gaps close up
    OpenFrame(loaded);
    ASSERT_EQ(Tree().GetRecentPaks(), Paths({kept, gone}));

    EXPECT_TRUE(Frame().RouteCommand(ID_FILE_MRU_FIRST + 1));
    EXPECT_EQ(m_prompt.Texts(),
              QStringList({QString::fromStdString(gone) + " cannot be found.  It will removed from the MRU menu."}));
    EXPECT_EQ(m_prompt.Questions().back().icon, PromptIcon::exclamation);
    EXPECT_EQ(Tree().GetRecentPaks(), Paths({kept}));
    EXPECT_EQ(RecentMenuTexts(), Paths({kept}));
    EXPECT_EQ(RootText(), QString::fromStdString(loaded));
    EXPECT_EQ(Column(), QStringList({"x.txt"}));
}

TEST_F(PakCommands, ARecentPakOpensAndTheLoadedOneGoesInFront)
{
    const std::string loaded = WriteSmallPak("loaded.pak");
    const std::string chosen = WriteGappedPak("chosen.pak");
    WriteProfileString("Mru", "0", QString::fromStdString(chosen));
    OpenFrame(loaded);
    EXPECT_TRUE(Frame().RouteCommand(ID_FILE_MRU_FIRST));
    EXPECT_EQ(RootText(), QString::fromStdString(chosen));
    EXPECT_EQ(Column(), QStringList({"maps", "a.txt"}));
    EXPECT_EQ(Tree().GetRecentPaks(), Paths({loaded, chosen}));
    EXPECT_EQ(Pane(0), "2 object(s)");
}

TEST_F(PakCommands, NewPakWritesAnEmptyPakShowsItAndRemembersTheOldOne)
{
    const std::string old = WriteSmallPak("old.pak");
    OpenFrame(old);
    const std::string created = m_dir / "newpak.pak";
    m_prompt.AnswerSaveFile(QString::fromStdString(created));
    EXPECT_TRUE(Frame().RouteCommand(ID_FILE_NEWPAK));

    const FileChooser& chooser = m_prompt.Questions().back().chooser;
    EXPECT_EQ(chooser.strTitle, "New Pak");
    EXPECT_EQ(chooser.strDefaultSuffix, "pak");
    EXPECT_EQ(chooser.strInitialName, "newpak");
    EXPECT_EQ(chooser.strFilter, "Quake Pak (*.pak)");
    EXPECT_EQ(ReadFileBytes(created).size(), 12u);
    EXPECT_EQ(RootText(), QString::fromStdString(created));
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_FALSE(Tree().GetRootItem()->isExpanded());
    EXPECT_EQ(Tree().currentItem(), Tree().GetRootItem());
    EXPECT_EQ(Tree().GetRecentPaks(), Paths({old}));
    EXPECT_EQ(m_prompt.Questions().size(), 1u);
}

TEST_F(PakCommands, NewPakWithANameBreakingTheRuleIsRefusedWithTheArchivesMessage)
{
    const std::string old = WriteSmallPak("old.pak");
    OpenFrame(old);
    const std::string refused = m_dir / "toolongname.pak";
    m_prompt.AnswerSaveFile(QString::fromStdString(refused));
    Frame().RouteCommand(ID_FILE_NEWPAK);
    EXPECT_EQ(m_prompt.Texts().constLast(), QString::fromLatin1(PakErrorText(errBadName)));
    EXPECT_FALSE(std::filesystem::exists(refused));
    EXPECT_EQ(RootText(), QString::fromStdString(old));
    EXPECT_TRUE(Tree().GetRecentPaks().isEmpty());
}

TEST_F(PakCommands, NewPakOntoTheLoadedPakIsRefusedAndDestroysNothing)
{
    const std::string loaded = WriteGappedPak("loaded.pak");
    const std::string before = ReadFileBytes(loaded);
    std::filesystem::create_symlink(loaded, m_dir / "link.pak");
    OpenFrame(loaded);
    for (const std::string& path : {loaded, m_dir / "link.pak"}) {
        m_prompt.AnswerSaveFile(QString::fromStdString(path));
        Frame().RouteCommand(ID_FILE_NEWPAK);
        EXPECT_EQ(m_prompt.Texts().constLast(), "Sharing violation.") << path;
    }
    EXPECT_EQ(ReadFileBytes(loaded), before);
    EXPECT_EQ(RootText(), QString::fromStdString(loaded));
    EXPECT_EQ(Column(), QStringList({"maps", "a.txt"}));
    EXPECT_TRUE(Tree().GetRecentPaks().isEmpty());
}

TEST_F(PakCommands, OpenPakFromTheListGoesOnFromTheNewRoot)
{
    const std::string first = WriteGappedPak("first.pak");
    const std::string second = WriteSmallPak("second.pak");
    OpenFrame(first);
    Enter("maps");
    Frame().SetActivePane(&List());
    m_prompt.AnswerOpenFile(QString::fromStdString(second));
    EXPECT_TRUE(Frame().RouteCommand(ID_FILE_OPENPAK));
    const FileChooser& chooser = m_prompt.Questions().back().chooser;
    EXPECT_EQ(chooser.strTitle, "Open Pak");
    EXPECT_TRUE(chooser.strInitialName.isEmpty());
    EXPECT_EQ(RootText(), QString::fromStdString(second));
    EXPECT_EQ(Frame().GetActivePane(), &Tree());
    EXPECT_EQ(Tree().GetCurrentFolder(), Tree().GetRootItem());
    EXPECT_EQ(Column(), QStringList({"x.txt"}));

    // Cancelling the chooser changes nothing.
    Frame().RouteCommand(ID_FILE_OPENPAK);
    EXPECT_EQ(RootText(), QString::fromStdString(second));
}

TEST_F(PakCommands, APakThatFailsToOpenLeavesBothPanesEmptyAndIsNotRemembered)
{
    const std::string good = WriteSmallPak("good.pak");
    const std::string bad = m_dir / "bad.pak";
    WriteFileBytes(bad, "not a pak");
    OpenFrame(good);
    OpenPak(bad);
    EXPECT_EQ(m_prompt.Questions().back().kind, CScriptedPrompt::Kind::message);
    EXPECT_FALSE(Tree().HasItems());
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_EQ(Pane(0), "");
    EXPECT_EQ(Pane(1), "");
    EXPECT_FALSE(Enabled(ID_UP_ONE_LEVEL));
    WriteProfileInt("Options", "RecoverOnExit", 0);
    CloseFrame();
    EXPECT_EQ(StoredRecent(), Paths({good}));
}

TEST_F(PakCommands, APakWhoseFileWentAwayIsNotLeftOnShow)
{
    const std::string doomed = WriteSmallPak("doomed.pak");
    const std::string other = WriteSmallPak("other.pak");
    OpenFrame(doomed);
    std::filesystem::remove(doomed);
    OpenPak(other);
    EXPECT_EQ(m_prompt.Texts().constLast(), QString::fromLatin1(PakErrorText(errPakInaccessible)));
    // The archive has let the old pak go: neither it nor the other is shown.
    EXPECT_FALSE(Tree().HasItems());
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_TRUE(Tree().GetPakPath().isEmpty());
}

TEST_F(PakCommands, RecoverIsEnabledOnlyWithUnusedSpaceAndAsksWhenConfirmRecoverIsOn)
{
    const std::string clean = WriteSmallPak("clean.pak");
    OpenFrame(clean);
    EXPECT_FALSE(Enabled(ID_FILE_RECOVER));

    const std::string gapped = WriteGappedPak("gapped.pak");
    OpenPak(gapped);
    EXPECT_EQ(Pane(1), "1KB     Unused Space:  4KB");
    EXPECT_TRUE(Enabled(ID_FILE_RECOVER));
    Frame().SetActivePane(&List());
    EXPECT_TRUE(Enabled(ID_FILE_RECOVER));

    // Cancel: nothing happens.
    m_prompt.AnswerOkCancel(false);
    Frame().RouteCommand(ID_FILE_RECOVER);
    EXPECT_EQ(m_prompt.Texts().constLast(), "Recovering unused space may take several seconds.\nContinue?");
    EXPECT_EQ(m_prompt.Questions().back().icon, PromptIcon::question);
    EXPECT_EQ(Pane(1), "1KB     Unused Space:  4KB");

    m_prompt.AnswerOkCancel(true);
    Frame().RouteCommand(ID_FILE_RECOVER);
    EXPECT_EQ(m_prompt.Texts().constLast(), "All free space has been successfully reclaimed.");
    EXPECT_EQ(m_prompt.Questions().back().icon, PromptIcon::information);
    EXPECT_EQ(Pane(1), "1KB     Unused Space:  0KB");
    EXPECT_FALSE(Enabled(ID_FILE_RECOVER));
    EXPECT_TRUE(m_prompt.AllAnswered());
}

TEST_F(PakCommands, RecoverWithoutConfirmRecoverAsksNothing)
{
    WriteProfileInt("Options", "ConfirmRecover", 0);
    const std::string gapped = WriteGappedPak("gapped.pak");
    OpenFrame(gapped);
    Frame().RouteCommand(ID_FILE_RECOVER);
    ASSERT_EQ(m_prompt.Questions().size(), 2u);
    EXPECT_EQ(m_prompt.Questions()[0].kind, CScriptedPrompt::Kind::progress);
    EXPECT_EQ(m_prompt.Texts().constLast(), "All free space has been successfully reclaimed.");
    EXPECT_LT(ReadFileBytes(gapped).size(), 5000u);
}

TEST_F(PakCommands, NothingTouchesThePakWhileRecoveryRuns)
{
    WriteProfileInt("Options", "ConfirmRecover", 0);
    OpenFrame(WriteGappedPak("gapped.pak"));
    int nChecks = 0;
    m_prompt.m_onProgress = [&](std::uint64_t, std::uint64_t) {
        // What the idle update and the keys would do meanwhile.
        Frame().UpdateCommands();
        EXPECT_FALSE(Frame().GetCommandAction(ID_FILE_RECOVER)->isEnabled());
        EXPECT_FALSE(Frame().GetCommandAction(ID_FILE_NEWPAK)->isEnabled());
        EXPECT_TRUE(Frame().RouteCommand(ID_VIEW_REFRESH));
        ++nChecks;
    };
    Frame().RouteCommand(ID_FILE_RECOVER);
    EXPECT_GT(nChecks, 0);
    EXPECT_EQ(m_prompt.Texts().constLast(), "All free space has been successfully reclaimed.");
}

TEST_F(PakCommands, ClosingWithUnusedSpaceAsksAndCancelStillCloses)
{
    const std::string gapped = WriteGappedPak("gapped.pak");
    const std::string before = ReadFileBytes(gapped);
    OpenFrame(gapped);
    m_prompt.AnswerOkCancel(false);
    CloseFrame();
    EXPECT_FALSE(Frame().isVisible());
    EXPECT_EQ(m_prompt.Texts(), QStringList({"Recovering unused space may take several seconds.\nContinue?"}));
    EXPECT_EQ(StoredRecent(), Paths({gapped}));
    m_pFrame.reset();
    EXPECT_EQ(ReadFileBytes(gapped), before);
}

TEST_F(PakCommands, RecoveryAtExitShowsProgressAndFinishesBeforeThePakCloses)
{
    const std::string gapped = WriteGappedPak("gapped.pak");
    OpenFrame(gapped);
    m_prompt.AnswerOkCancel(true);
    bool bOpenThroughout = true;
    m_prompt.m_onProgress = [&](std::uint64_t, std::uint64_t) {
        bOpenThroughout = bOpenThroughout && Tree().GetArchive().IsOpen() && Frame().isVisible();
    };
    CloseFrame();
    EXPECT_TRUE(bOpenThroughout);
    EXPECT_GT(m_prompt.ProgressSteps(), 0);
    EXPECT_EQ(m_prompt.Questions().at(1).kind, CScriptedPrompt::Kind::progress);
    // Closing the window does not close the pak; the view's end does.
    EXPECT_TRUE(Tree().GetArchive().IsOpen());
    m_pFrame.reset();

    CPakArchive archive;
    ASSERT_TRUE(archive.OpenPak(gapped));
    EXPECT_EQ(archive.GetUnusedSpaceKB(), 0);
    EXPECT_EQ(archive.GetEntries().size(), 2u);
}

TEST_F(PakCommands, ClosingWithRecoverOnExitOffAsksNothing)
{
    WriteProfileInt("Options", "RecoverOnExit", 0);
    OpenFrame(WriteGappedPak("gapped.pak"));
    CloseFrame();
    EXPECT_TRUE(m_prompt.Questions().empty());
}

TEST_F(PakCommands, RestoreFollowsGibbedEntriesAndStopSoundAnOpenPak)
{
    OpenFrame("");
    EXPECT_FALSE(Enabled(ID_FILE_RESTORE));
    EXPECT_FALSE(Enabled(ID_STOP_SOUND));
    OpenPak(WriteGappedPak("gapped.pak"));
    EXPECT_FALSE(Enabled(ID_FILE_RESTORE));
    EXPECT_TRUE(Enabled(ID_STOP_SOUND));
    ASSERT_TRUE(Tree().GetArchive().GibEntryByName("a.txt", true));
    EXPECT_TRUE(Enabled(ID_FILE_RESTORE));
    Frame().SetActivePane(&List());
    EXPECT_TRUE(Enabled(ID_FILE_RESTORE));
    EXPECT_TRUE(Enabled(ID_STOP_SOUND));
}

TEST_F(PakCommands, OptionsOpensFromEitherPane)
{
    OpenFrame("");
    for (IFramePane* pPane : {static_cast<IFramePane*>(&Tree()), static_cast<IFramePane*>(&List())}) {
        Frame().SetActivePane(pPane);
        m_prompt.AnswerDialog([](QDialog& dialog) { dialog.reject(); });
        EXPECT_TRUE(Frame().RouteCommand(ID_VIEW_OPTIONS));
        EXPECT_STREQ(m_prompt.Questions().back().strDialogName.toLatin1().constData(), "vantor::COptionsDlg");
    }
    EXPECT_TRUE(m_prompt.AllAnswered());
}

}  // namespace

TEST_F(PakCommands, APakAnotherProgramRewroteIsNeverWrittenAndF5LoadsItAgain)
{
    const std::string shown = WriteGappedPak("shown.pak");
    const std::string other = WritePak(PakBuilder().File("other/new.txt", "n").Gap(3000), "other.pak");
    OpenFrame(shown);
    Enter("maps");
    // Rewritten in place, as "cat other.pak > shown.pak" does: same inode.
    const std::string otherBytes = ReadFileBytes(other);
    WriteFileBytes(shown, otherBytes);
    Frame().UpdateCommands();
    EXPECT_FALSE(Enabled(ID_FILE_RECOVER));
    EXPECT_TRUE(Frame().GetCommandAction(ID_FILE_RECOVER)->statusTip().startsWith("Another program has changed"));
    Tree().UpdateStatusBar();
    EXPECT_TRUE(Pane(1).endsWith("(changed on disk)"));

    // A command that was already on its way offers to load the pak again.
    m_prompt.AnswerYesNo(false);
    Tree().OnRecoverSpace();
    EXPECT_TRUE(m_prompt.Texts().constLast().startsWith("Another program has changed the pak"));
    EXPECT_EQ(ReadFileBytes(shown), otherBytes);

    // Closing with "RecoverOnExit" on asks nothing and writes nothing.
    Frame().RouteCommand(ID_VIEW_REFRESH);
    EXPECT_EQ(Column(), QStringList({"other"}));
    EXPECT_EQ(Pane(1), "0KB     Unused Space:  2KB");
    WriteFileBytes(shown, ReadFileBytes(WriteGappedPak("third.pak")));
    const std::size_t nAsked = m_prompt.Questions().size();
    CloseFrame();
    EXPECT_EQ(m_prompt.Questions().size(), nAsked);
    m_pFrame.reset();
    EXPECT_EQ(ReadFileBytes(shown), ReadFileBytes(m_dir / "third.pak"));
}

TEST_F(PakCommands, PaksThatCannotBeWrittenSayWhyAndAreNeverRecovered)
{
    struct Case {
        const char* pszName;
        bool bTooBig;
        const char* pszMark;
        const char* pszTip;
    };
    for (const Case& test : {Case{"shared.pak", false, "(read-only)", "The pak is read-only."},
                             Case{"huge.pak", true, "(read-only)", "Paks larger than 2 GiB"},
                             Case{"overlap.pak", false, "(entries overlap)", "Entries of the pak overlap"}}) {
        SCOPED_TRACE(test.pszName);
        const std::string path = m_dir / test.pszName;
        PakBuilder pak;
        pak.File("a.txt", std::string(2000, 'a')).Gap(5000);
        if (std::string_view(test.pszName) == "overlap.pak")
            pak.Record("b.txt", 12, 2000);
        pak.WriteTo(path);
        if (test.bTooBig)
            std::filesystem::resize_file(path, 5ull << 30);
        // Another program reading the pak keeps this one from writing it.
        CPakArchive reader;
        if (std::string_view(test.pszName) == "shared.pak") {
            ASSERT_TRUE(reader.OpenPakReadOnly(path));
        }
        // The first bytes, where a change would write: the huge pak is read
        // no further.
        const auto head = [&path] {
            std::string bytes(8192, '\0');
            std::ifstream(path, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            return bytes;
        };
        const std::string before = head();
        const std::uintmax_t nSize = std::filesystem::file_size(path);

        const std::size_t nAsked = m_prompt.Questions().size();
        OpenFrame(path);
        const bool bReadOnly = std::string_view(test.pszMark) == "(read-only)";
        EXPECT_EQ(Tree().GetRootItem()->text(0).endsWith(" (read-only)"), bReadOnly);
        EXPECT_TRUE(Pane(1).endsWith(test.pszMark)) << Pane(1).toStdString();
        EXPECT_FALSE(Enabled(ID_FILE_RECOVER));
        EXPECT_TRUE(Frame().GetCommandAction(ID_FILE_RECOVER)->statusTip().startsWith(test.pszTip));
        // The huge pak says so when it opens; nothing else asks anything,
        // closing with "RecoverOnExit" on included.
        CloseFrame();
        EXPECT_EQ(m_prompt.Questions().size(), nAsked + (test.bTooBig ? 1u : 0u));
        m_pFrame.reset();
        EXPECT_EQ(head(), before);
        EXPECT_EQ(std::filesystem::file_size(path), nSize);
        std::filesystem::remove(path);
    }
}
