// CPakTree's commands on the pak as a whole: New Pak, Open Pak, the recent
// list, recovering unused space, Options, and what happens when the window
// closes.
#include "pak_tree.h"

#include "options_dlg.h"
#include "pak_error.h"
#include "resource.h"
#include "settings.h"
#include "wait_cursor.h"
#include "view_text.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include <chrono>
#include <filesystem>

namespace vantor {

namespace {

constexpr int kMaxRecent = 6;
const QString kMru = QString::fromLatin1(setting::kMru);

// Paths are the same file's when the file system would say so: exactly on
// Linux, ignoring case where the file system ignores it.
bool SamePath(const QString& a, const QString& b)
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

FileChooser PakChooser(const QString& title, const QString& initialName)
{
    return FileChooser{title, QStringLiteral("pak"), initialName, QStringLiteral("Quake Pak (*.pak)")};
}

}  // namespace

// --- New Pak and Open Pak --------------------------------------------------------

void CPakTree::OnNewPak()
{
    const auto chosen = m_services.prompt.GetSaveFileName(PakChooser(QStringLiteral("New Pak"), QStringLiteral("newpak")));
    if (!chosen)
        return;
    const QString path = *chosen;
    const QString name = QFileInfo(path).fileName();
    const QString folder = path.left(path.size() - name.size());
    // Creating the pak truncates the file first: made over the loaded pak it
    // would destroy it while it is still open.
    if (IsLoadedPak(path)) {
        ShowError(QString::fromLatin1(PakErrorText(errSharingViolation)));
        return;
    }
    if (!AskToCloseWithOpenItems())
        return;
    if (!m_archive.CreatePak(ToDiskBytes(folder), ToDiskBytes(name))) {
        ShowError(QString::fromStdString(m_archive.GetErrorText()));
        return;
    }
    ReplacePak(path, true);
}

void CPakTree::OnOpenPak()
{
    const auto chosen = m_services.prompt.GetOpenFileName(PakChooser(QStringLiteral("Open Pak"), QString()));
    if (chosen)
        ReplacePak(*chosen);
}

bool CPakTree::IsLoadedPak(const QString& path) const
{
    if (m_strPakPath.isEmpty())
        return false;
    if (SamePath(path, m_strPakPath))
        return true;
    // Links and other spellings of the same file.
    std::error_code error;
    return std::filesystem::equivalent(std::filesystem::path(ToDiskBytes(path)),
                                       std::filesystem::path(ToDiskBytes(m_strPakPath)), error);
}

void CPakTree::ReplacePak(const QString& path, bool bAsked)
{
    // Opened items belong to the pak they came from: their edits go back
    // into it before it closes. Loading the same pak again keeps them.
    if (!IsLoadedPak(path)) {
        if (!bAsked && !AskToCloseWithOpenItems())
            return;
        SettleLaunches();
    }
    if (!m_archive.ClosePak()) {
        // The file went away or was replaced under the pak, or changes still
        // waiting could not be written. The archive has let it go all the
        // same, so nothing of it may stay on show.
        ShowError(QString::fromStdString(m_archive.GetErrorText()));
        ClearPanes();
        m_strPakPath.clear();
        UpdateStatusBar();
        return;
    }
    if (!m_strPakPath.isEmpty())
        AddRecent(m_strPakPath);
    BuildRecentMenu();
    LoadAndShowPak(path);
}

// --- Recent paks ----------------------------------------------------------------------

void CPakTree::LoadRecent()
{
    m_mru.clear();
    for (int i = 0; i < kMaxRecent; ++i) {
        const QString path = GetProfileString(kMru, QString::number(i));
        if (!path.isEmpty())
            m_mru.append(path);
    }
}

void CPakTree::SaveRecent()
{
    for (int i = 0; i < kMaxRecent; ++i) {
        if (i < m_mru.size())
            WriteProfileString(kMru, QString::number(i), m_mru.at(i));
        else
            DeleteProfileValue(kMru, QString::number(i));
    }
}

bool CPakTree::AddRecent(const QString& path)
{
    for (const QString& entry : std::as_const(m_mru)) {
        if (SamePath(entry, path))
            return false;
    }
    while (m_mru.size() >= kMaxRecent)
        m_mru.removeLast();
    m_mru.prepend(path);
    return true;
}

void CPakTree::BuildRecentMenu()
{
    QMenu* pMenu = m_services.frame.GetRecentPakMenu();
    if (!pMenu)
        return;
    // The entry chosen from this very menu may be what is running now, so
    // old entries go once control is back in the event loop.
    for (QAction* pAction : pMenu->actions()) {
        pMenu->removeAction(pAction);
        if (pAction->parent() == pMenu)
            pAction->deleteLater();
    }
    if (m_mru.isEmpty()) {
        pMenu->addAction(m_services.frame.GetCommandAction(ID_FILE_MRU_NONE));
    } else {
        for (int i = 0; i < m_mru.size(); ++i) {
            QString text = m_mru.at(i);
            // A path is shown as it is, not read for mnemonics.
            QAction* pAction = pMenu->addAction(text.replace(u'&', QStringLiteral("&&")));
            pAction->setData(ID_FILE_MRU_FIRST + i);
        }
    }
    m_services.frame.UpdateCommands();
}

void CPakTree::OpenRecent(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_mru.size())
        return;
    const QString path = m_mru.at(nIndex);
    if (!QFileInfo::exists(path)) {
        ShowError(path + QStringLiteral(" cannot be found.  It will") + QStringLiteral(" removed from the MRU menu."));
        m_mru.removeAt(nIndex);
        BuildRecentMenu();
        return;
    }
    ReplacePak(path);
}

// --- Unused space ------------------------------------------------------------------------

bool CPakTree::RecoverSpace(bool bSayRefusal)
{
    if (m_strPakPath.isEmpty())
        return false;
    if (m_archive.GetUnusedSpaceKB() == 0)
        return true;
    if (const PakError refusal = m_archive.GetRecoveryRefusal(); refusal != errGeneric) {
        if (bSayRefusal && refusal == errPakInaccessible && m_archive.HasChangedOnDisk())
            OfferReload();
        else if (bSayRefusal)
            ShowError(RecoveryRefusalText());
        return false;
    }
    if (ReadSetting(setting::kConfirmRecover) != 0 &&
        !m_services.prompt.AskOkCancel(QStringLiteral("Recovering unused space may take several seconds.\nContinue?"),
                                       PromptIcon::question))
        return false;

    bool bRecovered = false;
    {
        CWaitCursor wait;
        const std::unique_ptr<IProgress> pProgress =
            m_services.prompt.BeginProgress(QStringLiteral("Recovering unused space..."));
        // The engine reports every entry; the window needs a few updates a
        // second, and each one runs the event loop.
        using Clock = std::chrono::steady_clock;
        Clock::time_point next = Clock::now();
        const auto onProgress = [&](const PakProgress& progress) {
            const bool bLast = progress.itemsDone == progress.itemsTotal;
            if (pProgress && (bLast || Clock::now() >= next)) {
                if (progress.bytesTotal > 0)
                    pProgress->SetProgress(progress.bytesDone, progress.bytesTotal);
                else
                    pProgress->SetProgress(progress.itemsDone, progress.itemsTotal);
                next = Clock::now() + std::chrono::milliseconds(50);
            }
            return true;
        };
        m_bBusy = true;
        bRecovered = m_archive.RecoverUnusedSpace(onProgress);
        m_bBusy = false;
    }
    if (!bRecovered) {
        ShowEngineError();
        return false;
    }
    return true;
}

// --- The pak's state -----------------------------------------------------------------

QString CPakTree::RecoveryRefusalText() const
{
    if (!HasItems())
        return QString();
    if (m_archive.GetReadOnlyReason() == ReadOnlyReason::tooBig)
        return QStringLiteral("Paks larger than 2 GiB are shown read-only: changing them is not supported.");
    if (m_archive.IsReadOnly())
        return QStringLiteral("The pak is read-only.");
    switch (m_archive.GetRecoveryRefusal()) {
    case errGeneric:
        return QString();
    case errPakInaccessible:
        return QStringLiteral("Another program has changed the pak.  Refresh (F5) to load it again.");
    case errRecoverIncomplete:
        return QStringLiteral("Entries of the pak overlap, so its unused space cannot be recovered.");
    default:
        return PakErrorText(m_archive.GetRecoveryRefusal());
    }
}

QString CPakTree::PakStateMark() const
{
    if (!HasItems())
        return QString();
    if (m_archive.IsReadOnly())
        return QStringLiteral("(read-only)");
    switch (m_archive.GetRecoveryRefusal()) {
    case errGeneric:
        return QString();
    case errPakInaccessible:
        return QStringLiteral("(changed on disk)");
    case errRecoverIncomplete:
        return QStringLiteral("(entries overlap)");
    default:
        return QStringLiteral("(cannot be recovered)");
    }
}

void CPakTree::ShowEngineError()
{
    if (m_archive.GetError() == errPakInaccessible && m_archive.HasChangedOnDisk())
        OfferReload();
    else
        ShowError(QString::fromStdString(m_archive.GetErrorText()));
}

void CPakTree::OfferReload()
{
    if (m_services.prompt.AskYesNo(
            QStringLiteral("Another program has changed the pak, so nothing was written to it.\nLoad the pak again?"),
            PromptIcon::question))
        ReloadPak();
}

void CPakTree::ReloadPak()
{
    const std::string folder = CurrentFolderPath();
    const QString path = m_strPakPath;
    if (!LoadAndShowPak(path))
        return;
    // Back to the folder shown before, as far down as it still goes.
    SelectFolderPath(folder);
}

QTreeWidgetItem* CPakTree::SelectFolderPath(std::string_view folder)
{
    QTreeWidgetItem* pItem = GetRootItem();
    std::string_view rest = folder;
    while (pItem && !rest.empty()) {
        const std::size_t nSlash = rest.find('/');
        const std::string_view name = rest.substr(0, nSlash);
        QTreeWidgetItem* pChild = nullptr;
        for (int i = 0; i < pItem->childCount() && !pChild; ++i) {
            if (RawNameOf(pItem->child(i)) == name)
                pChild = pItem->child(i);
        }
        if (!pChild)
            break;
        pItem = pChild;
        if (nSlash == std::string_view::npos)
            break;
        rest.remove_prefix(nSlash + 1);
    }
    if (pItem && pItem != GetRootItem())
        SelectFolder(pItem);
    return pItem;
}

void CPakTree::OnRecoverSpace()
{
    if (!RecoverSpace())
        return;
    m_services.prompt.ShowMessage(QStringLiteral("All free space has been successfully reclaimed."),
                                  PromptIcon::information);
    UpdateStatusBar();
}

// --- Options and closing down ---------------------------------------------------------------

void CPakTree::OnOptions()
{
    // Nothing is re-read afterwards: every command reads its settings when
    // it runs.
    COptionsDlg dialog(m_services.prompt, window());
    m_services.prompt.DoModal(dialog);
}

void CPakTree::OnFrameClosing()
{
    // The window is still there while this runs, so the recovery's question
    // and progress have an owner; the pak is closed only when the view goes,
    // after recovery has ended.
    // Edits made in other programs go into the pak before its space is
    // recovered.
    SettleLaunches();
    // A pak that cannot be written is not asked about.
    if (ReadSetting(setting::kRecoverOnExit) != 0)
        RecoverSpace(false);
    if (!m_strPakPath.isEmpty())
        AddRecent(m_strPakPath);
    SaveRecent();
}

}  // namespace vantor
