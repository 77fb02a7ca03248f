#include "fake_shell.h"

#include "gio_launch.h"

#include <QFileInfo>
#include <QMimeData>

#include <memory>

namespace vantor::test {

namespace {

QString ExtensionOf(const QString& fileName)
{
    return QFileInfo(fileName).suffix().toLower();
}

}  // namespace

QString CFakeShell::GetTypeName(const QString& fileName)
{
    return m_typeNames.value(ExtensionOf(fileName), QStringLiteral("Unknown"));
}

QIcon CFakeShell::GetFileIcon(const QString& /*fileName*/)
{
    return QIcon();
}

QIcon CFakeShell::GetFolderIcon(FolderIcon /*which*/)
{
    return QIcon();
}

QString CFakeShell::GetMimeType(const QString& fileName)
{
    const QString extension = ExtensionOf(fileName);
    return extension.isEmpty() ? QStringLiteral("application/octet-stream")
                               : QStringLiteral("application/x-test-") + extension;
}

QString CFakeShell::GetDefaultApplication(const QString& mimeType)
{
    return m_defaultApplications.value(mimeType);
}

CLaunchOutcome CFakeShell::OpenWithDefaultApplication(const std::string& filePath, const QString& mimeType,
                                                      const std::string& workFolder)
{
    CLaunchOutcome outcome;
    if (!m_launchError.empty())
        outcome.error = m_launchError;
    else if (m_bRealLaunch)
        outcome = LaunchDefaultApplication(filePath, {mimeType.toStdString()}, workFolder);
    else
        outcome.process = std::make_shared<CLaunchedProcess>();
    m_launches.push_back({filePath, mimeType, workFolder, outcome.process});
    return outcome;
}

Qt::DropAction CFakeShell::StartDrag(QWidget* /*pSource*/, QMimeData* pData, Qt::DropActions actions)
{
    const std::unique_ptr<QMimeData> data(pData);
    if (!data)
        return Qt::IgnoreAction;
    m_drags.push_back({data->formats(), data->urls(), actions});
    if (m_onDrag)
        m_onDrag(*data);
    return m_dragResult;
}

bool CFakeWavePlayer::Play(CDecodedWave wave)
{
    if (!wave.IsOk() || m_bNoDevice) {
        m_bPlaying = false;
        return false;
    }
    std::string call = "play " + std::to_string(wave.nSampleRate) + " " + std::to_string(wave.nChannels) + " " +
                       std::to_string(wave.FrameCount());
    if (wave.loopStart)
        call += " loop " + std::to_string(*wave.loopStart);
    m_calls.push_back(call);
    m_bPlaying = true;
    return true;
}

void CFakeWavePlayer::Stop()
{
    m_calls.push_back("stop");
    m_bPlaying = false;
}

IWavePlayer& CFakeShell::GetWavePlayer()
{
    if (m_pRealPlayer)
        return *m_pRealPlayer;
    return m_player;
}

}  // namespace vantor::test
