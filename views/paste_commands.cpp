// Files and folders coming into the pak: Paste from the clipboard and drops
// on the tree, through the one operation that brings disk paths into a pak
// folder (PasteFiles). The list's paste and drops call it too.
#include "pak_tree.h"

#include "pak_list.h"
#include "pak_names.h"
#include "view_text.h"
#include "wait_cursor.h"

#include <QClipboard>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <fstream>
#include <set>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {

namespace {

enum class DiskKind { missing, file, folder };

// Links, FIFOs and devices count as files: the archive refuses what it
// cannot read as one, with its own message.
DiskKind KindOnDisk(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return DiskKind::missing;
    return S_ISDIR(info.st_mode) ? DiskKind::folder : DiskKind::file;
}

// Whether the file holds exactly the entry's bytes.
bool SameBytes(CPakArchive& archive, const std::string& entry, const std::string& diskPath)
{
    struct stat info {};
    if (::lstat(diskPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    if (archive.GetEntryLength('/' + entry) != static_cast<std::int64_t>(info.st_size))
        return false;
    std::string entryBytes(static_cast<std::size_t>(info.st_size), '\0');
    if (info.st_size > 0 &&
        archive.ReadEntryByName('/' + entry, entryBytes.data()) != static_cast<std::uint32_t>(info.st_size))
        return false;
    std::ifstream in(diskPath, std::ios::binary);
    std::string diskBytes(static_cast<std::size_t>(info.st_size), '\0');
    in.read(diskBytes.data(), static_cast<std::streamsize>(diskBytes.size()));
    return in.gcount() == static_cast<std::streamsize>(diskBytes.size()) && diskBytes == entryBytes;
}

// After a move: removes from the disk folder the files the pak now holds
// with their bytes, then the folders left empty. Anything else stays, and
// links are never followed. True when the folder itself went.
bool RemoveWhatEntered(CPakArchive& archive, const std::string& diskFolder, const std::string& pakFolder)
{
    DIR* pDir = ::opendir(diskFolder.c_str());
    if (!pDir)
        return false;
    std::vector<std::string> names;
    while (const dirent* pEntry = ::readdir(pDir)) {
        const std::string name = pEntry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(pDir);
    for (const std::string& name : names) {
        const std::string path = JoinDiskPath(diskFolder, name);
        const DiskKind kind = KindOnDisk(path);
        if (kind == DiskKind::folder)
            RemoveWhatEntered(archive, path, pakFolder + name + '/');
        else if (kind == DiskKind::file && SameBytes(archive, pakFolder + name, path))
            ::unlink(path.c_str());
    }
    return ::rmdir(diskFolder.c_str()) == 0;
}

}  // namespace

// --- What comes in ------------------------------------------------------------------

std::vector<std::string> CPakTree::IncomingPaths(const QMimeData* pData, bool* pbRefused)
{
    std::vector<std::string> paths;
    bool bRefused = false;
    if (pData && pData->hasUrls()) {
        for (const QUrl& url : pData->urls()) {
            // Only files of this machine; the root of the file system is
            // never brought in whole.
            if (!url.isLocalFile()) {
                bRefused = true;
                continue;
            }
            std::string path = ToDiskBytes(url.toLocalFile());
            while (path.size() > 1 && path.back() == '/')
                path.pop_back();
            if (path.empty() || path == "/") {
                bRefused = true;
                continue;
            }
            paths.push_back(std::move(path));
        }
    } else {
        bRefused = true;
    }
    if (pbRefused)
        *pbRefused = bRefused || paths.empty();
    return paths;
}

bool CPakTree::ClipboardHasFiles() const
{
    const QMimeData* pData = QGuiApplication::clipboard()->mimeData();
    return pData && pData->hasUrls() && !IncomingPaths(pData, nullptr).empty();
}

void CPakTree::OnPaste()
{
    if (!HasItems() || m_strPakPath.isEmpty())
        return;
    const QMimeData* pData = QGuiApplication::clipboard()->mimeData();
    if (!pData || !pData->hasUrls())
        return;
    PasteFiles(pData, m_hCurrentFolder, std::string(), Qt::CopyAction);
    UpdateStatusBar();
}

// --- Bringing paths into a folder -----------------------------------------------------

CPakTree::CPasteResult CPakTree::PasteFiles(const QMimeData* pData, QTreeWidgetItem* pTarget,
                                            const std::string& subfolder, Qt::DropAction effect)
{
    CPasteResult result;
    if (!pTarget || !HasItems())
        return result;
    const std::vector<std::string> paths = IncomingPaths(pData, nullptr);
    const std::string folder = FolderPathOfItem(pTarget, subfolder);
    const std::string query = '/' + folder;
    if (!subfolder.empty()) {
        if (QTreeWidgetItem* pChild = FindChildFolderByRaw(pTarget, subfolder))
            pTarget = pChild;
    }
    const bool bMove = effect == Qt::MoveAction;
    // A list of every folder is filled again at the end instead.
    const bool bShownFolder =
        !m_bListFromRoot && DecodeName(folder).compare(DecodeName(CurrentFolderPath()), Qt::CaseInsensitive) == 0;

    // What a move may take from the disk once the pak holds it for good.
    std::vector<std::string> movedFiles;
    std::vector<std::pair<std::string, std::string>> movedFolders;  // disk folder, its pak folder
    std::set<std::string> failed;
    m_archive.SetItemFailureReporter([&failed](const std::string& item, int) { failed.insert(item); });

    CWaitCursor wait;
    // The progress window goes while a question or a message is up, so that
    // it never covers them, and comes back for the work after.
    std::unique_ptr<IProgress> pProgress;
    const auto ask = [&]() {
        pProgress.reset();
        return m_services.prompt.AskReplace(QString());
    };
    const auto say = [&](const QString& text) {
        pProgress.reset();
        ShowError(text);
    };
    bool bAskReplace = true;
    bool bStopped = false;
    {
        // One commit for the whole paste.
        CPakBatch batch(m_archive);
        m_bBusy = true;
        for (std::size_t i = 0; i < paths.size() && !bStopped; ++i) {
            if (!pProgress)
                pProgress = m_services.prompt.BeginProgress(QStringLiteral("Copying..."), true);
            if (pProgress) {
                pProgress->SetProgress(i, paths.size());
                if (pProgress->IsCancelled())
                    break;
            }
            const std::string& path = paths[i];
            const QString shownPath = VisibleText(FromDiskBytes(path));
            const std::string name = std::string(GetNamePart(path));
            const DiskKind kind = KindOnDisk(path);
            if (kind == DiskKind::missing)
                continue;
            if (kind == DiskKind::file) {
                if (m_archive.FolderExists(query, path)) {
                    say(QStringLiteral("Cannot copy %1.  A folder with that name already exists.").arg(shownPath));
                    continue;
                }
                bool bReplace = true;
                if (bAskReplace && m_archive.EntryExistsIn(query, path)) {
                    const int nAnswer = ask();
                    if (nAnswer == replaceCancel) {
                        bStopped = true;
                        break;
                    }
                    if (nAnswer == replaceNo)
                        continue;
                    bAskReplace = nAnswer != replaceYesToAll;
                    bReplace = true;
                }
                if (!m_archive.AddFileFromDisk(path, query, bReplace)) {
                    if (m_archive.IsFatalError()) {
                        // What came in before stays; the batch's end
                        // writes it, and no source of this paste moves.
                        wait.Restore();
                        say(ArchiveFailureText(QString()));
                        m_bBusy = false;
                        m_archive.SetItemFailureReporter({});
                        result.bOk = false;
                        result.bFatal = true;
                        return result;
                    }
                    say(QStringLiteral("Error copying %1:  %2")
                            .arg(shownPath, QString::fromStdString(m_archive.GetErrorText())));
                    continue;
                }
                result.entered.push_back(path);
                if (bMove)
                    movedFiles.push_back(path);
                if (bShownFolder)
                    AddOrUpdateListRow(name, kindFile);
                continue;
            }
            // A folder.
            if (m_archive.EntryExistsIn(query, path)) {
                say(QStringLiteral("Cannot copy %1.  A file with that name already exists.").arg(shownPath));
                continue;
            }
            bool bReplace = true;
            if (bAskReplace && m_archive.FolderExists(query, path)) {
                const int nAnswer = ask();
                if (nAnswer == replaceCancel) {
                    bStopped = true;
                    break;
                }
                bReplace = nAnswer != replaceNo;
                if (nAnswer == replaceYesToAll)
                    bAskReplace = false;
            }
            failed.clear();
            const bool bImported = m_archive.ImportFolder(path, query, bReplace);
            if (!bImported) {
                say(m_archive.IsFatalError()
                        ? ArchiveFailureText(QString())
                        : QStringLiteral("Error while copying %1:  %2")
                              .arg(shownPath, QString::fromStdString(m_archive.GetErrorText())));
            } else if (bReplace && failed.empty()) {
                result.entered.push_back(path);
            }
            if (bMove)
                movedFolders.emplace_back(path, folder + name + '/');
            if (m_archive.FolderExists(query, path)) {
                if (bShownFolder)
                    AddOrUpdateListRow(name, kindFolder);
                EnsureTreeFolder(name, pTarget);
                // Merged into the folder on show: its rows changed.
                if (m_hCurrentFolder && m_hCurrentFolder->parent() == pTarget &&
                    RawNameOf(m_hCurrentFolder) == name)
                    FillList();
            }
            if (m_archive.IsFatalError()) {
                bStopped = true;
                result.bFatal = true;
            }
        }
        m_bBusy = false;
        m_archive.SetItemFailureReporter({});
        if (!batch.End()) {
            // Nothing of this paste is in the file: no source may go.
            wait.Restore();
            ShowArchiveFailure(QString());
            result.entered.clear();
            FillList();
            return result;
        }
    }
    // Only now, with the pak written, do moved sources leave the disk: a
    // file the pak holds, and of a folder what the pak holds with its bytes.
    for (const std::string& path : movedFiles)
        ::unlink(path.c_str());
    for (const auto& [diskFolder, pakFolder] : movedFolders)
        RemoveWhatEntered(m_archive, diskFolder, pakFolder);
    if (m_bListFromRoot && !result.entered.empty())
        FillList();
    result.bOk = !result.bFatal;
    return result;
}

void CPakTree::AddOrUpdateListRow(const std::string& name, int nKind)
{
    if (!m_pList)
        return;
    const int nRow = m_pList->Model().FindRawRow(name);
    if (nRow < 0 || m_pList->Model().Row(nRow).nKind != nKind) {
        AddListItem(name, nKind);
        return;
    }
    // A replaced file keeps its row and place, with its new size.
    if (nKind == kindFile) {
        CListRow row = m_pList->Model().Row(nRow);
        row.nBytes = std::max<qint64>(0, m_archive.GetEntryLength(ItemPath(name, kindFile)));
        row.nSizeKB = static_cast<int>(CPakArchive::ShownKB(static_cast<std::uint64_t>(row.nBytes)));
        m_pList->Model().SetRow(nRow, std::move(row));
    }
}

// --- The tree as a drop target -----------------------------------------------------------

bool CPakTree::IsOwnDropRefused(const std::string& targetFolder) const
{
    // The program's own drag is the one it is running (the desktop runs one
    // drag at a time); its URLs are never read to tell.
    if (!m_ownDrag.bActive)
        return false;
    // Rows of many folders have no one folder to be kept off: any drop
    // here could put an item onto itself.
    if (m_ownDrag.bFromEveryFolder)
        return true;
    // Items onto the folder they came from would replace themselves with
    // their own copies, which a move would then delete.
    if (targetFolder == m_ownDrag.sourceFolder)
        return true;
    // A folder onto itself, or into something beneath it, would nest
    // without end (and a move would delete the copy with the original).
    return std::any_of(m_ownDrag.folders.begin(), m_ownDrag.folders.end(), [&](const std::string& folder) {
        const std::string_view prefix = std::string_view(folder).substr(1);
        return targetFolder.size() >= prefix.size() && targetFolder.compare(0, prefix.size(), prefix) == 0;
    });
}

bool CPakTree::CanTakeDrop() const
{
    // A pak that cannot be written takes nothing: one refusal while
    // dragging, not one message per dropped file.
    return HasItems() && !m_bBusy && !m_archive.IsReadOnly();
}

Qt::DropAction CPakTree::DropActionFor(const QDropEvent* pEvent)
{
    return (pEvent->modifiers() & Qt::ShiftModifier) && (pEvent->possibleActions() & Qt::MoveAction)
               ? Qt::MoveAction
               : Qt::CopyAction;
}

void CPakTree::SetDropHighlight(QTreeWidgetItem* pItem)
{
    if (m_pDropHighlight == pItem)
        return;
    if (m_pDropHighlight) {
        m_pDropHighlight->setBackground(0, QBrush());
        m_pDropHighlight->setForeground(0, QBrush());
    }
    m_pDropHighlight = pItem;
    if (pItem) {
        pItem->setBackground(0, palette().highlight());
        pItem->setForeground(0, palette().highlightedText());
    }
}

void CPakTree::dragEnterEvent(QDragEnterEvent* pEvent)
{
    dragMoveEvent(pEvent);
    KeepDragMovesComing(pEvent, CanTakeDrop());
}

void KeepDragMovesComing(QDragEnterEvent* pEvent, bool bCanTake)
{
    // A refused entry would refuse the whole drag: the pane would get no
    // moves until it was entered again, so a drag entering over blank space
    // or a file could never reach a folder. Data that may come in at all is
    // taken in with no action; each move then decides for its own point.
    if (pEvent->isAccepted() || !bCanTake)
        return;
    bool bRefused = false;
    CPakTree::IncomingPaths(pEvent->mimeData(), &bRefused);
    if (bRefused)
        return;
    pEvent->setDropAction(Qt::IgnoreAction);
    pEvent->accept();
}

void CPakTree::dragMoveEvent(QDragMoveEvent* pEvent)
{
    bool bRefused = false;
    IncomingPaths(pEvent->mimeData(), &bRefused);
    QTreeWidgetItem* pItem = itemAt(pEvent->position().toPoint());
    if (bRefused || !pItem || !CanTakeDrop() || IsOwnDropRefused(FolderPathOfItem(pItem))) {
        SetDropHighlight(nullptr);
        pEvent->ignore();
        return;
    }
    SetDropHighlight(pItem);
    pEvent->setDropAction(DropActionFor(pEvent));
    pEvent->accept();
}

void CPakTree::dragLeaveEvent(QDragLeaveEvent* pEvent)
{
    SetDropHighlight(nullptr);
    QTreeWidget::dragLeaveEvent(pEvent);
}

void CPakTree::dropEvent(QDropEvent* pEvent)
{
    SetDropHighlight(nullptr);
    QTreeWidgetItem* pItem = itemAt(pEvent->position().toPoint());
    bool bRefused = false;
    IncomingPaths(pEvent->mimeData(), &bRefused);
    if (!pItem || bRefused || !CanTakeDrop() || IsOwnDropRefused(FolderPathOfItem(pItem))) {
        pEvent->ignore();
        return;
    }
    const Qt::DropAction action = DropActionFor(pEvent);
    const CPasteResult result = PasteFiles(pEvent->mimeData(), pItem, std::string(), action);
    NoteOwnDrop(result);
    UpdateStatusBar();
    pEvent->setDropAction(action);
    pEvent->accept();
}

void CPakTree::NoteOwnDrop(const CPasteResult& result)
{
    if (m_ownDrag.bActive) {
        m_ownDrag.bDropped = true;
        m_ownDrag.entered.insert(result.entered.begin(), result.entered.end());
    }
}

}  // namespace vantor
