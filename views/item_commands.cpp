// The tree's commands on the current folder and on single items: extracting,
// deleting, renaming, new folders; and the item operations the list calls
// for each selected row.
#include "pak_tree.h"

#include "pak_list.h"
#include "pak_names.h"
#include "settings.h"
#include "view_text.h"
#include "wait_cursor.h"

#include <QDir>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace vantor {

namespace {

const QString kNotExtractedPrefix = QStringLiteral("One or more items could not be extracted:  ");

}  // namespace

// --- Helpers ---------------------------------------------------------------------

std::string CPakTree::ItemPath(const std::string& name, int nKind) const
{
    // The archive drops one leading separator from what it is asked, so a
    // path that starts with an empty folder name keeps its own behind one.
    std::string path = '/' + ListFolderPath() + name;
    if (nKind == kindFolder && !name.empty())
        path += '/';
    return path;
}

QString CPakTree::ArchiveFailureText(const QString& prefix) const
{
    const QString text = QString::fromStdString(m_archive.GetErrorText());
    return m_archive.IsFatalError() ? QStringLiteral("Fatal Error:  ") + text : prefix + text;
}

void CPakTree::ShowArchiveFailure(const QString& prefix)
{
    if (m_archive.GetError() == errPakInaccessible && m_archive.HasChangedOnDisk())
        OfferReload();
    else
        ShowError(ArchiveFailureText(prefix));
}

bool CPakTree::ConfirmOverwrite()
{
    if (ReadSetting(setting::kExtractWarning) == 0)
        return true;
    return m_services.prompt.AskYesNo(
        QStringLiteral("This operation will overwrite any existing files with the same name(s).  Continue?"),
        PromptIcon::exclamation);
}

std::optional<QString> CPakTree::ChooseExtractFolder()
{
    const bool bFixed = ReadSetting(setting::kUseExtractPath) != 0;
    QString folder;
    if (bFixed) {
        folder = ReadSettingText(setting::kExtractPath);
    } else {
        const std::optional<QString> chosen =
            m_services.prompt.BrowseForFolder(QStringLiteral("Extract To:"), m_strExtractToDir);
        if (!chosen)
            return std::nullopt;
        folder = *chosen;
    }
    // The folder is checked, never made the process's current one.
    std::error_code error;
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder) ||
        !std::filesystem::is_directory(std::filesystem::path(ToDiskBytes(folder)), error)) {
        ShowError(bFixed ? QStringLiteral("The 'Extract To' directory specified in the options dialog is invalid.")
                         : QStringLiteral("Invalid directory."));
        return std::nullopt;
    }
    m_strExtractToDir = folder;
    return folder;
}

PakProgressFn CPakTree::ProgressShownBy(IProgress* pProgress)
{
    // The engine reports every item; the window needs a few updates a second.
    return [pProgress, next = std::chrono::steady_clock::time_point()](const PakProgress& progress) mutable {
        const auto now = std::chrono::steady_clock::now();
        if (pProgress && now >= next) {
            if (progress.bytesTotal > 0)
                pProgress->SetProgress(progress.bytesDone, progress.bytesTotal);
            else
                pProgress->SetProgress(progress.itemsDone, progress.itemsTotal);
            next = now + std::chrono::milliseconds(50);
        }
        return !pProgress || !pProgress->IsCancelled();
    };
}

bool CPakTree::ExtractFolderWithProgress(const std::string& folder, const std::optional<QString>& diskFolder)
{
    CWaitCursor wait;
    const std::unique_ptr<IProgress> pProgress =
        m_services.prompt.BeginProgress(QStringLiteral("Extracting..."), true);
    m_bBusy = true;
    const PakProgressFn progress = ProgressShownBy(pProgress.get());
    const bool bDone = diskFolder ? m_archive.ExtractFolderTo(folder, ToDiskBytes(*diskFolder), true, progress)
                                  : m_archive.ExtractFolderBesidePak(folder, true, progress);
    m_bBusy = false;
    return bDone;
}

QTreeWidgetItem* CPakTree::FindChildFolderByRaw(QTreeWidgetItem* pParent, const std::string& rawName) const
{
    if (!pParent)
        return nullptr;
    // A pak may hold "maps/" and "Maps/": the exact name first.
    for (int i = 0; i < pParent->childCount(); ++i) {
        if (RawNameOf(pParent->child(i)) == rawName)
            return pParent->child(i);
    }
    return FindChildFolder(pParent, DecodeName(rawName));
}

// --- The current folder ------------------------------------------------------------

void CPakTree::OnExtractAll()
{
    if (!HasItems() || !ConfirmOverwrite())
        return;
    if (!ExtractFolderWithProgress("/", std::nullopt))
        ShowArchiveFailure(kNotExtractedPrefix);
}

void CPakTree::OnExtract()
{
    if (!IsFolderCurrent() || !ConfirmOverwrite())
        return;
    if (!ExtractFolderWithProgress(ItemPath(std::string(), kindFolder), std::nullopt))
        ShowArchiveFailure(kNotExtractedPrefix);
}

void CPakTree::OnExtractTo()
{
    if (!IsFolderCurrent())
        return;
    const std::optional<QString> folder = ChooseExtractFolder();
    if (!folder || !ConfirmOverwrite())
        return;
    if (!ExtractFolderWithProgress(ItemPath(std::string(), kindFolder), folder))
        ShowArchiveFailure(kNotExtractedPrefix);
}

void CPakTree::OnDelete()
{
    if (!IsFolderCurrent())
        return;
    const std::string folder = ItemPath(std::string(), kindFolder);
    if (!m_archive.GibFolder(folder)) {
        ShowArchiveFailure(QStringLiteral("Error deleting %1:  ").arg(DecodeName(folder.substr(1))));
        return;
    }
    RemoveFolderItem(m_hCurrentFolder);
}

void CPakTree::RemoveFolderItem(QTreeWidgetItem* pItem)
{
    if (!pItem || !pItem->parent())
        return;
    // The tree selects another item, which becomes current and fills the
    // list; the deleted item's parent is the one users expect.
    if (pItem == m_hCurrentFolder || pItem->isSelected())
        SelectFolder(pItem->parent());
    delete pItem;
    UpdateStatusBar();
}

void CPakTree::OnRename()
{
    if (IsFolderCurrent())
        editItem(m_hCurrentFolder, 0);
}

bool CPakTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* pEvent)
{
    // The root names the pak, not a folder; a pak that cannot be written
    // has nothing to rename.
    const QTreeWidgetItem* pItem = itemFromIndex(index);
    if (!pItem || !pItem->parent() || m_archive.IsReadOnly())
        return false;
    return QTreeWidget::edit(index, trigger, pEvent);
}

void CPakTree::OnEndLabelEdit(QTreeWidgetItem* pItem, const QString& text)
{
    if (!pItem || !pItem->parent() || text.isEmpty())
        return;
    const std::string newName = ToDiskBytes(text);
    const std::string oldName = RawNameOf(pItem);
    if (newName == oldName)
        return;
    if (!m_archive.IsValidDosName(newName)) {
        ShowError(QString::fromStdString(m_archive.GetErrorText()));
        return;
    }
    const std::string oldPath = '/' + FolderPathOfItem(pItem);
    const std::string newPath = '/' + FolderPathOfItem(pItem->parent()) + newName + '/';
    if (!m_archive.RenameFolder(oldPath, newPath)) {
        ShowArchiveFailure(QString());
        return;
    }
    SetFolderItemName(pItem, newName);
    // Rows of every folder are named by their full paths, which changed.
    if (m_bListFromRoot)
        FillList();
}

void CPakTree::OnNewFolder()
{
    if (!HasItems() || !m_hCurrentFolder || m_bListFromRoot)
        return;
    // Taken are the names of the folder's sub-folders and of its files: a
    // folder beside a file of its name could never be extracted.
    std::vector<CPakArchive::CFolderFile> files;
    m_archive.ListFolderFiles(ItemPath(std::string(), kindFolder), files);
    const auto taken = [&](const QString& name) {
        if (FindChildFolder(m_hCurrentFolder, name))
            return true;
        return std::any_of(files.begin(), files.end(), [&](const CPakArchive::CFolderFile& file) {
            return DecodeName(file.name).compare(name, Qt::CaseInsensitive) == 0;
        });
    };
    QString name = QStringLiteral("folder");
    for (int n = 1; taken(name); ++n) {
        if (n > 98) {
            ShowError(QStringLiteral("Too many new folders."));
            return;
        }
        name = QStringLiteral("folder%1").arg(n);
    }
    const std::string rawName = name.toStdString();
    if (!m_archive.CreateFolder(ItemPath(rawName, kindFolder))) {
        if (m_archive.GetError() == errPakInaccessible && m_archive.HasChangedOnDisk())
            OfferReload();
        else
            ShowError(QStringLiteral("Can't create new folder:  ") + QString::fromStdString(m_archive.GetErrorText()));
        return;
    }
    AddListItem(rawName, kindFolder);
    EnsureTreeFolder(rawName, m_hCurrentFolder);
    UpdateStatusBar();
}

// --- Item operations for the list ------------------------------------------------------

bool CPakTree::ExtractItem(const std::string& name, int nKind, const std::optional<QString>& diskFolder)
{
    const std::string path = ItemPath(name, nKind);
    const QString shown = DecodeName(path.substr(1));
    bool bDone;
    if (nKind == kindFolder) {
        bDone = diskFolder ? m_archive.ExtractFolderTo(path, ToDiskBytes(*diskFolder), true)
                           : m_archive.ExtractFolderBesidePak(path, true);
    } else {
        bDone = diskFolder ? m_archive.ExtractEntryTo(path, ToDiskBytes(*diskFolder), true)
                           : m_archive.ExtractEntryBesidePak(path, true);
    }
    if (bDone)
        return true;
    ShowArchiveFailure(nKind == kindFolder ? QStringLiteral("One or more items in %1 could not be extracted:  ").arg(shown)
                                           : QStringLiteral("%1 could not be extracted:  ").arg(shown));
    return false;
}

bool CPakTree::DeleteItem(const std::string& name, int nKind)
{
    const std::string path = ItemPath(name, nKind);
    const bool bDone = nKind == kindFolder ? m_archive.GibFolder(path) : m_archive.GibEntryByName(path, true);
    if (!bDone) {
        ShowArchiveFailure(QStringLiteral("Error deleting %1:  ").arg(DecodeName(path.substr(1))));
        return false;
    }
    if (nKind == kindFolder) {
        QTreeWidgetItem* pChild = FindChildFolderByRaw(m_hCurrentFolder, name);
        if (!pChild)
            return false;
        delete pChild;
    }
    return true;
}

bool CPakTree::RenameItem(const std::string& oldName, const QString& newText, int nKind)
{
    const std::string newName = ToDiskBytes(newText);
    if (!m_archive.IsValidDosName(newName)) {
        ShowError(QString::fromStdString(m_archive.GetErrorText()));
        return false;
    }
    bool bDone;
    if (nKind == kindFolder)
        bDone = m_archive.RenameFolder(ItemPath(oldName, kindFolder), ItemPath(newName, kindFolder));
    else if (nKind == kindFile)
        bDone = m_archive.RenameEntryByName(ItemPath(oldName, kindFile), ItemPath(newName, kindFile));
    else {
        ShowError(QStringLiteral("Unknown type in list control."));
        return false;
    }
    if (!bDone) {
        ShowArchiveFailure(QString());
        return false;
    }
    if (nKind == kindFolder) {
        if (QTreeWidgetItem* pChild = FindChildFolderByRaw(m_hCurrentFolder, oldName))
            SetFolderItemName(pChild, newName);
    }
    return true;
}

}  // namespace vantor
