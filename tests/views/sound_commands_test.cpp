// Play and Stop sound from the views: when Play is offered, what reaches the
// player (through the fake, which notes every call), what is said when a
// wave cannot be played, and the real player on a machine without sound.
#include "views_fixture.h"

#include "resource.h"
#include "wave_builder.h"
#include "wave_player.h"

#include <QApplication>
#include <QContextMenuEvent>

#include <filesystem>

using namespace vantor;
using namespace vantor::test;

namespace {

using Calls = std::vector<std::string>;

const std::string kQuake = WaveBuilder()
                               .Format(WaveBuilder::kPcm, 1, 11025, 8)
                               .Data(WaveBuilder::PcmSamples(1, 8, 100))
                               .Cue(40)
                               .LabelList("loop")
                               .Build();
const std::string kStereo = WaveBuilder::Pcm(22050, 2, 16, 300);
const QString kDeviceInUse = QStringLiteral("Cannot play wave file.  The device is in use by another program.");

class SoundCommands : public ViewsTest {
protected:
    void OpenSounds()
    {
        OpenFrame(WritePak(PakBuilder()
                               .File("a.wav", kQuake)
                               .File("B.WAV", kStereo)
                               .File("c.Wav", kQuake)
                               .File("empty.wav", "")
                               .File("noise.wav", "not a sound at all")
                               .File("notes.txt", "text")
                               .File("x.wavy", kQuake)
                               .File("loop.wav/inner.txt", "a folder named like a wave")));
        Frame().SetActivePane(&List());
    }
    // Selects the rows of these names in the current folder.
    void Select(const QStringList& names)
    {
        List().clearSelection();
        const QStringList shown = Column();
        for (const QString& name : names) {
            const auto nRow = static_cast<int>(shown.indexOf(name));
            ASSERT_GE(nRow, 0) << name.toStdString();
            List().selectionModel()->select(List().Model().index(nRow, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    void Play(const QString& name)
    {
        Select({name});
        Frame().RouteCommand(ID_PLAY_SOUND);
    }
    const Calls& PlayerCalls() const { return m_shell.m_player.m_calls; }
};

TEST_F(SoundCommands, PlayIsOfferedForOneWaveFileRowInAnyCase)
{
    OpenSounds();
    const struct {
        QStringList rows;
        bool bEnabled;
    } cases[] = {
        {{"a.wav"}, true},
        {{"B.WAV"}, true},
        {{"c.Wav"}, true},
        {{"empty.wav"}, true},
        {{}, false},
        {{"a.wav", "B.WAV"}, false},
        {{"notes.txt"}, false},
        {{"x.wavy"}, false},
        {{"loop.wav"}, false},  // a folder
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows.join(',').toStdString());
        Select(c.rows);
        EXPECT_EQ(Enabled(ID_PLAY_SOUND), c.bEnabled);
        // Stop sound is there whenever a pak is.
        EXPECT_TRUE(Enabled(ID_STOP_SOUND));
    }
    // The tree has no Play of its own.
    Select({"a.wav"});
    Frame().SetActivePane(&Tree());
    EXPECT_FALSE(Enabled(ID_PLAY_SOUND));
    EXPECT_TRUE(Enabled(ID_STOP_SOUND));
}

TEST_F(SoundCommands, TheDecodedWaveReachesThePlayerWithItsLoopPoint)
{
    OpenSounds();
    Play("a.wav");
    EXPECT_EQ(PlayerCalls(), Calls({"stop", "play 11025 1 100 loop 40"}));
    EXPECT_TRUE(m_shell.m_player.m_bPlaying);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(SoundCommands, TheFileRowsMenuPlays)
{
    OpenSounds();
    Select({"B.WAV"});
    m_prompt.AnswerPopupMenu(ID_PLAY_SOUND);
    const QPoint at = List().visualRect(List().selectionModel()->selectedRows().front()).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, List().viewport()->mapToGlobal(at));
    QApplication::sendEvent(List().viewport(), &event);
    EXPECT_EQ(PlayerCalls(), Calls({"stop", "play 22050 2 300"}));
}

TEST_F(SoundCommands, ASecondWaveStopsTheFirst)
{
    OpenSounds();
    Play("a.wav");
    Play("B.WAV");
    EXPECT_EQ(PlayerCalls(), Calls({"stop", "play 11025 1 100 loop 40", "stop", "play 22050 2 300"}));
}

TEST_F(SoundCommands, AnEmptyWaveDoesNothing)
{
    OpenSounds();
    Play("a.wav");
    Play("empty.wav");
    // The first goes on: nothing was started in its place.
    EXPECT_EQ(PlayerCalls(), Calls({"stop", "play 11025 1 100 loop 40"}));
    EXPECT_TRUE(m_shell.m_player.m_bPlaying);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(SoundCommands, StopSoundFromEitherPaneWithOrWithoutASound)
{
    OpenSounds();
    Frame().RouteCommand(ID_STOP_SOUND);
    Play("a.wav");
    Frame().SetActivePane(&Tree());
    Frame().RouteCommand(ID_STOP_SOUND);
    EXPECT_EQ(PlayerCalls(), Calls({"stop", "stop", "play 11025 1 100 loop 40", "stop"}));
    EXPECT_FALSE(m_shell.m_player.m_bPlaying);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(SoundCommands, ClosingTheWindowStopsTheSound)
{
    OpenSounds();
    Play("a.wav");
    CloseFrame();
    m_pFrame.reset();
    EXPECT_FALSE(m_shell.m_player.m_bPlaying);
}

TEST_F(SoundCommands, AWaveThatCannotBePlayedIsSaidAndNothingPlays)
{
    OpenSounds();
    Play("a.wav");
    Play("noise.wav");
    EXPECT_EQ(Messages(), QStringList({"Cannot play wave file.  It is not a wave sound."}));
    EXPECT_FALSE(m_shell.m_player.m_bPlaying);

    // No sound device: said, and the program goes on.
    m_shell.m_player.m_bNoDevice = true;
    Play("a.wav");
    EXPECT_EQ(Messages().back(), kDeviceInUse);
    m_shell.m_player.m_bNoDevice = false;
    Play("a.wav");
    EXPECT_TRUE(m_shell.m_player.m_bPlaying);
    EXPECT_EQ(Messages().size(), 2);
}

TEST_F(SoundCommands, AnEntryThatCannotBeReadIsSaidWithTheArchivesReason)
{
    OpenSounds();
    // Another program cuts the pak short under the loaded directory.
    std::filesystem::resize_file(Tree().GetPakPath().toStdString(), 20);
    Play("a.wav");
    ASSERT_EQ(m_prompt.Questions().size(), 1u);
    EXPECT_EQ(m_prompt.Questions().front().text,
              "Can't play sound:  " + QString::fromStdString(Tree().GetArchive().GetErrorText()));
    EXPECT_EQ(PlayerCalls(), Calls());
}

// The real player over QAudioSink: a machine without a sound device (as
// every CI machine is) gets the message, and nothing breaks.
TEST_F(SoundCommands, TheRealPlayerWithoutADeviceSaysSo)
{
    m_shell.m_pRealPlayer = std::make_unique<CWavePlayer>([] { return QAudioDevice(); });
    OpenSounds();
    Play("a.wav");
    EXPECT_EQ(Messages(), QStringList({kDeviceInUse}));
    Frame().RouteCommand(ID_STOP_SOUND);

    // The system's own device, whatever this machine has: played, or said.
    m_shell.m_pRealPlayer = std::make_unique<CWavePlayer>();
    Play("B.WAV");
    Frame().RouteCommand(ID_STOP_SOUND);
    const QStringList said = Messages();
    EXPECT_TRUE(said.size() == 1 || (said.size() == 2 && said.back() == kDeviceInUse)) << said.join('|').toStdString();
}

}  // namespace
