// Opening a file of the pak in the program the desktop associates with its
// type, and bringing the user's saves back into the pak. Each opened entry
// gets a launch folder of its own in the private temporary folder; its copy
// is watched for as long as the pak is loaded, because most programs hand
// the file to a copy of themselves already running and end at once.
#include "pak_tree.h"

#include "pak_list_model.h"
#include "pak_names.h"
#include "settings.h"
#include "transfer_folder.h"
#include "view_text.h"
#include "wait_cursor.h"

#include <QApplication>
#include <QFileSystemWatcher>
#include <QScopedValueRollback>
#include <QTimer>

namespace vantor {

namespace {

constexpr int kLaunchPollMs = 50;
// More names than this make the closing question too tall to read.
constexpr int kMostNamesListed = 10;

std::string FolderOfDiskPath(const std::string& path)
{
    const std::size_t nSlash = path.rfind('/');
    return nSlash == std::string::npos || nSlash == 0 ? path.substr(0, 1) : path.substr(0, nSlash);
}

}  // namespace

void CPakTree::LaunchEntry(const std::string& name)
{
    if (m_strPakPath.isEmpty() || m_bBusy)
        return;
    // The entry's pak path as shown and as the launch records it; the
    // archive is asked with ItemPath's form.
    const std::string entryPath = ListFolderPath() + name;
    const QString root = m_services.shell.GetPrivateTempPath();
    if (root.isEmpty()) {
        ShowError(QStringLiteral("Unable to find temporary directory."));
        return;
    }
    std::string folder;
    LaunchFolderResult made = CreateLaunchFolder(ToDiskBytes(root), folder);
    // All numbers taken: a launch whose program has ended and whose copy
    // holds nothing unwritten gives its folder up.
    while (made == LaunchFolderResult::allTaken && m_launched.FindFreeable() >= 0) {
        ForgetLaunch(m_launched.FindFreeable(), true);
        made = CreateLaunchFolder(ToDiskBytes(root), folder);
    }
    if (made == LaunchFolderResult::failed) {
        ShowError(QStringLiteral("Can't create a temporary directory to execute this file from."));
        return;
    }
    if (made == LaunchFolderResult::allTaken) {
        ShowError(QStringLiteral("Couldn't create a directory to execute the file ") +
                  QStringLiteral("from.  You have too many files inside the pak open."));
        return;
    }

    {
        CWaitCursor wait;
        if (!m_archive.ExtractEntryTo(ItemPath(name, kindFile), folder, true)) {
            DeleteFolderTree(folder);
            wait.Restore();
            ShowArchiveFailure(DecodeName(entryPath) + QStringLiteral(" could not be extracted:  "));
            return;
        }
    }
    const std::string tempPath = JoinDiskPath(folder, entryPath);
    CFileStamp launchTime;
    const StampResult stamped = ReadLaunchStamp(tempPath, launchTime);
    if (stamped != StampResult::ok) {
        ShowError(FromDiskBytes(tempPath) + (stamped == StampResult::cannotOpen
                                                 ? QStringLiteral(":  Cannot open this file.")
                                                 : QStringLiteral(":  Unable to obtain information on this file.")));
        DeleteFolderTree(folder);
        return;
    }

    const QString mimeType = m_services.shell.GetMimeType(DecodeName(name));
    CLaunchOutcome outcome = m_services.shell.OpenWithDefaultApplication(tempPath, mimeType, FolderOfDiskPath(tempPath));
    if (!outcome.process) {
        DeleteFolderTree(folder);
        ShowError(QStringLiteral("Unable to open ") + DecodeName(entryPath) + QStringLiteral(":  ") +
                  QString::fromStdString(outcome.error));
        return;
    }
    m_launched.Add(std::move(outcome.process), tempPath, entryPath, folder, launchTime);
    WatchLaunchCopy(tempPath);
    if (!m_pLaunchTimer->isActive())
        m_pLaunchTimer->start(kLaunchPollMs);
}

bool CPakTree::IsLaunchPollRunning() const
{
    return m_pLaunchTimer->isActive();
}

void CPakTree::SetUpLaunchWatch()
{
    m_pLaunchTimer = new QTimer(this);
    connect(m_pLaunchTimer, &QTimer::timeout, this, &CPakTree::OnLaunchPoll);
    // Changes to the copies of ended programs wake the poll again.
    m_pLaunchWatcher = new QFileSystemWatcher(this);
    const auto wake = [this] {
        // A file replaced by renaming is dropped from the watch; its new
        // self is watched again.
        for (int i = 0; i < m_launched.GetCount(); ++i)
            WatchLaunchCopy(m_launched.At(i).tempPath);
        if (m_launched.GetCount() > 0 && !m_pLaunchTimer->isActive())
            m_pLaunchTimer->start(kLaunchPollMs);
    };
    connect(m_pLaunchWatcher, &QFileSystemWatcher::fileChanged, this, wake);
    connect(m_pLaunchWatcher, &QFileSystemWatcher::directoryChanged, this, wake);
}

void CPakTree::WatchLaunchCopy(const std::string& tempPath)
{
    const QString file = FromDiskBytes(tempPath);
    const QString folder = FromDiskBytes(FolderOfDiskPath(tempPath));
    if (!m_pLaunchWatcher->directories().contains(folder) && !m_pLaunchWatcher->addPath(folder))
        m_bLaunchWatchFailed = true;
    if (!m_pLaunchWatcher->files().contains(file) && StampOf(tempPath).bExists && !m_pLaunchWatcher->addPath(file))
        m_bLaunchWatchFailed = true;
}

void CPakTree::OnLaunchPoll()
{
    // Never in the middle of other work on the archive: a progress window
    // or a question of another command turns the event loop meanwhile.
    if (m_bInLaunchWork || m_bBusy || QApplication::activeModalWidget())
        return;
    const QScopedValueRollback<bool> guard(m_bInLaunchWork, true);
    const auto now = CLaunchTracker::Clock::now();
    m_launched.Observe(now);
    // One write-back a tick: a program that ended with its copy changed,
    // else a copy that has been still for long enough.
    int i = m_launched.PollFinished();
    if (i < 0 || !m_launched.IsModified(i))
        i = m_launched.PollSettled(now);
    if (i >= 0)
        WriteBackLaunch(i);
    // A watch that could not be set leaves the poll as the only watcher.
    if (!m_launched.NeedsPolling() && !m_bLaunchWatchFailed)
        m_pLaunchTimer->stop();
}

void CPakTree::WriteBackLaunch(int i)
{
    const CLaunchTracker::CLaunch launch = m_launched.At(i);
    const int nResult = WriteBackEntry(launch.tempPath, launch.entryPath);
    // The question may have let other work run: find the launch again.
    for (int j = 0; j < m_launched.GetCount(); ++j) {
        if (m_launched.At(j).launchFolder == launch.launchFolder)
            m_launched.MarkHandled(j, nResult == 0);
    }
}

int CPakTree::WriteBackEntry(const std::string& tempPath, const std::string& entryPath)
{
    const QString shown = DecodeName(entryPath);
    if (ReadSetting(setting::kConfirmUpdate) != 0 &&
        !m_services.prompt.AskYesNo(QStringLiteral("The file ") + shown + QStringLiteral(" has been modified.  ") +
                                        QStringLiteral("Save changes to the pak file?"),
                                    PromptIcon::question))
        return 1;

    // The copy alone goes back under its entry's own path: whatever else
    // the program left beside it (backups, swap files) stays out.
    bool bWritten = false;
    {
        CWaitCursor wait;
        bWritten = m_archive.AddFileFromDisk(tempPath, '/' + GetFolderPart(entryPath), true);
    }
    if (!bWritten) {
        // The edits exist nowhere else: say where they are.
        ShowError(ArchiveFailureText(QStringLiteral("Error updating ") + shown + QStringLiteral(":  ")) +
                  QStringLiteral("\n\nThe edited file is kept at ") + FromDiskBytes(tempPath) + QStringLiteral("."));
        return 0;
    }
    ShowWrittenBackEntry(entryPath);
    return 1;
}

void CPakTree::ShowWrittenBackEntry(const std::string& entryPath)
{
    const std::string folder = GetFolderPart(entryPath);
    if (m_bListFromRoot || FolderPathOfItem(m_hCurrentFolder) == folder) {
        AddOrUpdateListRow(m_bListFromRoot ? entryPath : GetNamePart(entryPath), kindFile);
        UpdateStatusBar();
        return;
    }
    // The entry's folder may have left the tree meanwhile (its last entry
    // deleted); it is back now.
    QTreeWidgetItem* pItem = GetRootItem();
    for (std::size_t nStart = 0; pItem && nStart < folder.size();) {
        const std::size_t nEnd = folder.find('/', nStart);
        pItem = FindChildFolderByRaw(pItem, folder.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    if (!pItem)
        RefillPanes();
}

bool CPakTree::AskToCloseWithOpenItems()
{
    QStringList names;
    for (int i = 0; i < m_launched.GetCount(); ++i) {
        if (m_launched.IsOpen(i))
            names.append(DecodeName(m_launched.At(i).entryPath));
    }
    if (names.isEmpty())
        return true;
    if (names.size() > kMostNamesListed) {
        const qsizetype nMore = names.size() - kMostNamesListed;
        names.resize(kMostNamesListed);
        names.append(QStringLiteral("and %1 more").arg(nMore));
    }
    return m_services.prompt.AskYesNo(
        QStringLiteral("These items are still open in other programs:\n\n") + names.join(u'\n') +
            QStringLiteral("\n\nChanges saved in them from now on will not reach the pak.  Close the pak anyway?"),
        PromptIcon::exclamation);
}

void CPakTree::SettleLaunches()
{
    const QScopedValueRollback<bool> guard(m_bInLaunchWork, true);
    m_pLaunchTimer->stop();
    while (m_launched.GetCount() > 0) {
        bool bKeep = m_launched.At(0).bKeepFolder;
        if (m_launched.IsModified(0))
            bKeep = WriteBackEntry(m_launched.At(0).tempPath, m_launched.At(0).entryPath) == 0;
        // A program still running keeps its copy: removing it would only
        // lose its later saves.
        ForgetLaunch(0, !bKeep && !m_launched.IsOpen(0));
    }
    m_bLaunchWatchFailed = false;
}

void CPakTree::ForgetLaunch(int i, bool bRemoveFolder)
{
    const CLaunchTracker::CLaunch& launch = m_launched.At(i);
    m_pLaunchWatcher->removePath(FromDiskBytes(launch.tempPath));
    m_pLaunchWatcher->removePath(FromDiskBytes(FolderOfDiskPath(launch.tempPath)));
    if (bRemoveFolder)
        DeleteFolderTree(launch.launchFolder);
    if (m_launched.Remove(i) == 2)
        m_pLaunchTimer->stop();
}

void CPakTree::DropLaunchesQuietly()
{
    // No one left to ask or to write back to: only what holds nothing
    // unwritten goes.
    while (m_launched.GetCount() > 0) {
        const bool bRemove = !m_launched.IsOpen(0) && !m_launched.At(0).bKeepFolder && !m_launched.IsModified(0);
        ForgetLaunch(0, bRemove);
    }
}

}  // namespace vantor
