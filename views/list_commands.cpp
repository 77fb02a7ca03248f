// The list's commands on its selected rows: extracting, deleting, renaming,
// Copy, Cut and dragging rows out. Every archive operation is the tree's; the
// list walks the selection and keeps its rows in step.
#include "pak_list.h"

#include "pak_tree.h"
#include "view_text.h"
#include "wait_cursor.h"

#include <QClipboard>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <set>

namespace vantor {

void CPakList::CollectSelection(std::vector<std::string>& files, std::vector<std::string>& folders) const
{
    for (const int nRow : GetSelectedRows()) {
        const CListRow& row = m_pModel->Row(nRow);
        if (row.nKind == kindFolder)
            folders.push_back(row.strRawName);
        else if (row.nKind == kindFile)
            files.push_back(row.strRawName);
    }
}

void CPakList::OnExtractSelection()
{
    if (!m_pTreeView->ConfirmOverwrite())
        return;
    CWaitCursor wait;
    for (const int nRow : GetSelectedRows()) {
        const CListRow& row = m_pModel->Row(nRow);
        // One message for a fatal failure, not one per row after it.
        if (!m_pTreeView->ExtractItem(row.strRawName, row.nKind) && m_pTreeView->GetArchive().IsFatalError())
            break;
    }
}

void CPakList::OnExtractSelectionTo()
{
    const std::optional<QString> folder = m_pTreeView->ChooseExtractFolder();
    if (!folder || !m_pTreeView->ConfirmOverwrite())
        return;
    CWaitCursor wait;
    for (const int nRow : GetSelectedRows()) {
        const CListRow& row = m_pModel->Row(nRow);
        if (!m_pTreeView->ExtractItemTo(row.strRawName, *folder, row.nKind) &&
            m_pTreeView->GetArchive().IsFatalError())
            break;
    }
}

void CPakList::OnDeleteSelection()
{
    std::vector<int> selected = GetSelectedRows();
    std::vector<int> deleted;
    {
        CWaitCursor wait;
        for (const int nRow : selected) {
            const CListRow& row = m_pModel->Row(nRow);
            if (m_pTreeView->DeleteItem(row.strRawName, row.nKind))
                deleted.push_back(nRow);
            else if (m_pTreeView->GetArchive().IsFatalError())
                break;
        }
    }
    // The folders the deleted entries of every folder came from.
    std::set<std::string> emptiedFolders;
    if (IsShowingEveryFolder()) {
        for (const int nRow : deleted) {
            const std::string& name = m_pModel->Row(nRow).strRawName;
            const std::size_t nSlash = name.rfind('/');
            if (nSlash != std::string::npos)
                emptiedFolders.insert(name.substr(0, nSlash + 1));
        }
    }
    // From the bottom up, so that the row numbers still hold.
    for (auto it = deleted.rbegin(); it != deleted.rend(); ++it)
        m_pModel->RemoveRow(*it);
    // A folder exists only through its entries: emptied, it leaves the tree.
    // Rows a filter hides still count, and a folder of the pak-wide list
    // goes only once the pak holds nothing in it.
    QTreeWidgetItem* pCurrent = m_pTreeView->GetCurrentFolder();
    if (IsShowingEveryFolder()) {
        for (auto it = emptiedFolders.rbegin(); it != emptiedFolders.rend(); ++it)
            m_pTreeView->PruneEmptyFolders(*it);
    } else if (m_pModel->AllRowCount() == 0 && pCurrent && pCurrent != m_pTreeView->GetRootItem()) {
        m_pTreeView->RemoveFolderItem(pCurrent);
    }
    UpdateStatusBar();
}

void CPakList::DeleteRowsExtracted(const std::vector<std::string>& files, const std::vector<std::string>& folders)
{
    // Only what reached the disk leaves the pak: a row whose extraction
    // failed keeps its entry.
    clearSelection();
    for (int nRow = 0; nRow < GetItemCount(); ++nRow) {
        const CListRow& row = m_pModel->Row(nRow);
        const std::vector<std::string>& done = row.nKind == kindFolder ? folders : files;
        if (std::find(done.begin(), done.end(), m_pTreeView->ItemPath(row.strRawName, row.nKind)) != done.end())
            selectionModel()->select(m_pModel->index(nRow, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    if (GetSelectedCount() > 0)
        OnDeleteSelection();
}

bool CPakList::SelectionLeavesWhole(const std::vector<std::string>& files)
{
    // Rows of every folder leave as files side by side: two of one name
    // would land on one file, and a Cut or move would then delete both.
    if (!IsShowingEveryFolder())
        return true;
    std::set<std::string> leaves;
    for (const std::string& name : files) {
        const std::size_t nSlash = name.rfind('/');
        const std::string leaf = nSlash == std::string::npos ? name : name.substr(nSlash + 1);
        if (!leaves.insert(leaf).second) {
            m_services.prompt.ShowError(
                QStringLiteral("%1 is selected from more than one folder.  Copy or drag them one folder at a time.")
                    .arg(DecodeName(leaf)));
            return false;
        }
    }
    return true;
}

void CPakList::OnCopySelection(bool bCut)
{
    std::vector<std::string> files;
    std::vector<std::string> folders;
    CollectSelection(files, folders);
    if (!SelectionLeavesWhole(files))
        return;
    const CPakTree::CTransferResult result = m_pTreeView->CopyItems(files, folders, bCut);
    if (bCut && result.bPlaced)
        DeleteRowsExtracted(result.files, result.folders);
}

void CPakList::OnBeginDrag()
{
    std::vector<std::string> files;
    std::vector<std::string> folders;
    CollectSelection(files, folders);
    if ((files.empty() && folders.empty()) || !SelectionLeavesWhole(files))
        return;
    const CPakTree::CTransferResult result = m_pTreeView->DragItems(files, folders);
    if (result.action == Qt::MoveAction)
        DeleteRowsExtracted(result.files, result.folders);
}

void CPakList::OnEndLabelEdit(int nRow, const QString& text)
{
    if (nRow < 0 || nRow >= GetItemCount() || text.isEmpty())
        return;
    CListRow row = m_pModel->Row(nRow);
    if (text == row.strName || !m_pTreeView->RenameItem(row.strRawName, text, row.nKind))
        return;
    // The row takes the name only once the pak has.
    row.strRawName = ToDiskBytes(text);
    row.strName = DecodeName(row.strRawName);
    if (row.nKind == kindFile)
        row.strType = m_pTreeView->TypeNameOf(row.strName);
    m_pModel->SetRow(nRow, std::move(row));
}

void CPakList::OnPaste()
{
    if (IsShowingEveryFolder())
        return;
    const QMimeData* pData = QGuiApplication::clipboard()->mimeData();
    if (!pData || !pData->hasUrls())
        return;
    std::string subfolder;
    const QModelIndex focused = currentIndex();
    if (GetSelectedCount() > 0 && focused.isValid() && m_pModel->Row(focused.row()).nKind == kindFolder)
        subfolder = m_pModel->Row(focused.row()).strRawName;
    m_pTreeView->PasteFiles(pData, m_pTreeView->GetCurrentFolder(), subfolder, Qt::CopyAction);
    UpdateStatusBar();
}

bool CPakList::DropTargetAt(const QPoint& pos, std::string& subfolder, int& nRow) const
{
    const QModelIndex index = indexAt(pos);
    nRow = index.isValid() ? index.row() : -1;
    subfolder.clear();
    if (nRow < 0)
        return true;
    if (m_pModel->Row(nRow).nKind != kindFolder)
        return false;
    subfolder = m_pModel->Row(nRow).strRawName;
    return true;
}

void CPakList::dragEnterEvent(QDragEnterEvent* pEvent)
{
    dragMoveEvent(pEvent);
    KeepDragMovesComing(pEvent, m_pTreeView->CanTakeDrop() && !IsShowingEveryFolder());
}

void CPakList::dragMoveEvent(QDragMoveEvent* pEvent)
{
    bool bRefused = false;
    CPakTree::IncomingPaths(pEvent->mimeData(), &bRefused);
    std::string subfolder;
    int nRow = -1;
    const bool bTarget = DropTargetAt(pEvent->position().toPoint(), subfolder, nRow);
    const std::string folder = m_pTreeView->CurrentFolderPath(subfolder);
    if (bRefused || !bTarget || IsShowingEveryFolder() || !m_pTreeView->CanTakeDrop() || m_pTreeView->IsOwnDropRefused(folder)) {
        m_pModel->SetDropRow(-1);
        pEvent->ignore();
        return;
    }
    m_pModel->SetDropRow(nRow);
    pEvent->setDropAction(CPakTree::DropActionFor(pEvent));
    pEvent->accept();
}

void CPakList::dragLeaveEvent(QDragLeaveEvent* pEvent)
{
    m_pModel->SetDropRow(-1);
    QTreeView::dragLeaveEvent(pEvent);
}

void CPakList::dropEvent(QDropEvent* pEvent)
{
    m_pModel->SetDropRow(-1);
    bool bRefused = false;
    CPakTree::IncomingPaths(pEvent->mimeData(), &bRefused);
    std::string subfolder;
    int nRow = -1;
    if (bRefused || IsShowingEveryFolder() || !DropTargetAt(pEvent->position().toPoint(), subfolder, nRow) ||
        !m_pTreeView->CanTakeDrop() ||
        m_pTreeView->IsOwnDropRefused(m_pTreeView->CurrentFolderPath(subfolder))) {
        pEvent->ignore();
        return;
    }
    const Qt::DropAction action = CPakTree::DropActionFor(pEvent);
    CWaitCursor wait;
    const CPakTree::CPasteResult result =
        m_pTreeView->PasteFiles(pEvent->mimeData(), m_pTreeView->GetCurrentFolder(), subfolder, action);
    m_pTreeView->NoteOwnDrop(result);
    UpdateStatusBar();
    pEvent->setDropAction(action);
    pEvent->accept();
}

}  // namespace vantor
