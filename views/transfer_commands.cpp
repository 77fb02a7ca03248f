// Items leaving the pak as files: Copy and Cut through the clipboard, and
// drags, of list rows and of tree folders. The items are extracted into a
// transfer folder of their own before anything is offered, so that a Cut or
// a move can delete exactly what reached the disk.
#include "pak_tree.h"

#include "pak_data_source.h"
#include "pak_list.h"
#include "view_text.h"
#include "wait_cursor.h"

#include <utility>

namespace vantor {

namespace {

const QString kCopyFailed = QStringLiteral("A fatal error occurred while copying this item:  ");

}  // namespace

std::unique_ptr<CPakDataSource> CPakTree::NewClipboardSource(const std::vector<std::string>& filePaths,
                                                        const std::vector<std::string>& folderPaths)
{
    auto pSource = std::make_unique<CPakDataSource>(m_archive, m_services.shell);
    if (!pSource->SetItems(filePaths, folderPaths)) {
        ShowError(kCopyFailed + pSource->DescribeError());
        return nullptr;
    }
    return pSource;
}

void CPakTree::ItemPaths(const std::vector<std::string>& files, const std::vector<std::string>& folders,
                         std::vector<std::string>& filePaths, std::vector<std::string>& folderPaths) const
{
    for (const std::string& name : files)
        filePaths.push_back(ItemPath(name, kindFile));
    for (const std::string& name : folders)
        folderPaths.push_back(ItemPath(name, kindFolder));
}

CPakTree::CTransferResult CPakTree::PutItemsOnClipboard(const std::vector<std::string>& filePaths,
                                                       const std::vector<std::string>& folderPaths, bool bCut)
{
    std::unique_ptr<CPakDataSource> pSource = NewClipboardSource(filePaths, folderPaths);
    if (!pSource)
        return {};
    pSource->SetCut(bCut);
    m_bBusy = true;
    const CPakDataSource* pPlaced = PutOnClipboard(std::move(pSource), m_services.prompt);
    m_bBusy = false;
    if (!pPlaced)
        return {};
    return {true, Qt::IgnoreAction, pPlaced->ExtractedFiles(), pPlaced->ExtractedFolders()};
}

CPakTree::CTransferResult CPakTree::CopyItems(const std::vector<std::string>& files,
                                              const std::vector<std::string>& folders, bool bCut)
{
    std::vector<std::string> filePaths;
    std::vector<std::string> folderPaths;
    ItemPaths(files, folders, filePaths, folderPaths);
    return PutItemsOnClipboard(filePaths, folderPaths, bCut);
}

CPakTree::CTransferResult CPakTree::DragPaths(const std::vector<std::string>& filePaths,
                                             const std::vector<std::string>& folderPaths, QWidget* pSource)
{
    // The previous drag's files go now; a receiver has had them.
    m_pDragTransfer.reset();
    std::unique_ptr<CPakDataSource> pData = NewClipboardSource(filePaths, folderPaths);
    if (!pData)
        return {};
    bool bExtracted;
    {
        // Before the drag starts: there is no moment at the drop to do it.
        CWaitCursor wait;
        const std::unique_ptr<IProgress> pProgress =
            m_services.prompt.BeginProgress(QStringLiteral("Extracting..."), true);
        m_bBusy = true;
        bExtracted = pData->ExtractToTemp(ProgressShownBy(pProgress.get()));
        m_bBusy = false;
    }
    // A drag that could not carry everything does not start.
    if (!bExtracted)
        return {};
    CTransferResult result{false, Qt::IgnoreAction, pData->ExtractedFiles(), pData->ExtractedFolders()};
    std::shared_ptr<CTransferFolder> pTransfer = pData->GetTransfer();
    // Drops on this window read it: where the items came from, and which of
    // the offered files entered the pak.
    const std::vector<std::string> offered = pData->OfferedPaths();
    m_ownDrag = {};
    m_ownDrag.bActive = true;
    m_ownDrag.sourceFolder = pSource == this && !folderPaths.empty() ? ParentFolderOf(folderPaths.front())
                                                                     : CurrentFolderPath();
    m_ownDrag.bFromEveryFolder = m_bListFromRoot && pSource != this;
    m_ownDrag.files = result.files;
    m_ownDrag.folders = result.folders;
    // Items of a pak that cannot be written can only be copied out.
    const Qt::DropActions actions = m_archive.IsReadOnly() ? Qt::CopyAction : Qt::CopyAction | Qt::MoveAction;
    result.action = m_services.shell.StartDrag(pSource, pData.release(), actions);
    // A receiver that claims a move it was not offered has made a copy.
    if (result.action == Qt::MoveAction && !(actions & Qt::MoveAction))
        result.action = Qt::CopyAction;
    const COwnDrag ownDrag = std::exchange(m_ownDrag, COwnDrag{});
    if (ownDrag.bDropped) {
        // Dropped here: only what entered the pak may leave its old place.
        std::vector<std::string> files;
        std::vector<std::string> folders;
        for (std::size_t i = 0; i < offered.size(); ++i) {
            if (!ownDrag.entered.count(offered[i]))
                continue;
            if (i < result.files.size())
                files.push_back(result.files[i]);
            else if (i - result.files.size() < result.folders.size())
                folders.push_back(result.folders[i - result.files.size()]);
        }
        result.files = std::move(files);
        result.folders = std::move(folders);
    }
    // A receiver may still be copying the files after the drop: they stay
    // until the next drag. A cancelled drag leaves nothing.
    if (result.action != Qt::IgnoreAction)
        m_pDragTransfer = std::move(pTransfer);
    return result;
}

CPakTree::CTransferResult CPakTree::DragItems(const std::vector<std::string>& files,
                                              const std::vector<std::string>& folders)
{
    std::vector<std::string> filePaths;
    std::vector<std::string> folderPaths;
    ItemPaths(files, folders, filePaths, folderPaths);
    return DragPaths(filePaths, folderPaths, m_pList ? static_cast<QWidget*>(m_pList) : this);
}

// --- The tree's own folder -----------------------------------------------------------

void CPakTree::OnCopy()
{
    if (IsFolderCurrent())
        PutItemsOnClipboard({}, {ItemPath(std::string(), kindFolder)}, false);
}

void CPakTree::OnCut()
{
    if (!IsFolderCurrent(true))
        return;
    const std::string folder = ItemPath(std::string(), kindFolder);
    const CTransferResult result = PutItemsOnClipboard({}, {folder}, true);
    // Only a folder that reached the disk whole leaves the pak.
    if (result.bPlaced && !result.folders.empty())
        RemoveFolderAfterTransfer(folder, m_hCurrentFolder);
}

std::string CPakTree::ParentFolderOf(const std::string& folderPath)
{
    // "/maps/dm/" → "maps/", in the form FolderPathOfItem gives.
    std::string folder = folderPath.substr(folderPath.empty() || folderPath.front() != '/' ? 0 : 1);
    if (!folder.empty())
        folder.pop_back();
    const std::size_t nSlash = folder.rfind('/');
    return nSlash == std::string::npos ? std::string() : folder.substr(0, nSlash + 1);
}

void CPakTree::RemoveFolderAfterTransfer(const std::string& folder, QTreeWidgetItem* pItem)
{
    if (!m_archive.GibFolder(folder)) {
        ShowArchiveFailure(QStringLiteral("Error deleting items:  "));
        return;
    }
    RemoveFolderItem(pItem);
}

void CPakTree::startDrag(Qt::DropActions)
{
    OnBeginDrag(currentItem());
}

void CPakTree::OnBeginDrag(QTreeWidgetItem* pItem)
{
    if (!pItem || !pItem->parent() || m_bBusy)
        return;
    const std::string folder = '/' + FolderPathOfItem(pItem);
    const CTransferResult result = DragPaths({}, {folder}, this);
    if (result.action == Qt::MoveAction && !result.folders.empty() && !m_archive.IsReadOnly())
        RemoveFolderAfterTransfer(folder, pItem);
}

}  // namespace vantor
