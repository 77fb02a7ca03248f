// CPakList: the right pane, the items of the tree's current folder in the
// columns Name, Size and Type. It never touches the archive: the tree fills
// it, and every operation it offers is a call on the tree. It keeps the
// status bar's summary of the selection.
#pragma once

#include "command_target.h"
#include "pak_list_model.h"
#include "view_services.h"

#include <QTreeView>

#include <vector>

namespace vantor {

class CListFilterBar;
class CPakTree;

class CPakList : public QTreeView, public IFramePane {
    Q_OBJECT

public:
    explicit CPakList(const CViewServices& services, QWidget* pParent = nullptr);

    // The other pane; set once by the frame before the first update.
    void SetTree(CPakTree* pTree);
    // The filter field above the list; set once by the frame.
    void SetFilterBar(CListFilterBar* pBar);
    CListFilterBar* GetFilterBar() const { return m_pFilterBar; }
    // Ctrl+F and "/": the filter field takes the keys.
    void FocusFilter();
    // Esc: every row of the current folder again.
    void ClearFilter();
    // Whether the rows are those of every folder, named by full paths:
    // commands that belong to one folder (Rename, New Folder, drops, Paste)
    // are off then.
    bool IsShowingEveryFolder() const;

    bool OnCommand(int nID) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
    // The selection's summary while rows are selected, else the folder's.
    void UpdateStatusBar() override;
    // Creates the columns with the widths saved in "Window size"/"Column0"
    // to "Column2" (default: a sixth of the list's width each), reads the
    // sort order and has the tree fill the list.
    void OnInitialUpdate() override;
    // Saves the sort order.
    void OnFrameClosing() override;

    // The main window saves these when it closes.
    int GetColumnWidth(int nColumn) const;

    // --- Rows, as the tree puts them in ----------------------------------------
    CPakListModel& Model() { return *m_pModel; }
    const CPakListModel& Model() const { return *m_pModel; }
    void SetRows(std::vector<CListRow> rows);
    void DeleteAllItems() { SetRows({}); }
    int GetItemCount() const { return m_pModel->RowCount(); }
    int GetSelectedCount() const;
    // The selected rows in list order.
    std::vector<int> GetSelectedRows() const;
    // The kilobytes of all rows (folders count nothing).
    qint64 GetTotalSizeKB() const;

    // "%d object(s) selected" and the selection's size.
    void ShowSelectionStatus();

    // --- Commands --------------------------------------------------------------
    void OnSelectAll();
    void OnInvertSelection();
    void OnRefresh();
    void OnSwitchPane();
    // Opens the name of the one selected row for editing.
    void BeginRename();
    // Enters a folder row (the tree selects that folder); a file row opens
    // with its program. False when nothing was there to open.
    bool OpenRow(int nRow);
    // Opens a file row with the program associated with its type; a type
    // without one is said.
    void OpenFileRow(const std::string& rawName);
    // A click on a column heading: that column's order, or the other
    // direction when it is the column already sorted by.
    void OnColumnClick(int nColumn);

    // --- Commands on the selected rows (list_commands.cpp) ------------------------
    void OnExtractSelection();
    void OnExtractSelectionTo();
    // Deletes every selected row it can; a row whose deletion fails stays,
    // the others go on, and the first fatal failure ends the walk. An
    // emptied sub-folder leaves the tree.
    void OnDeleteSelection();
    // Copy, or Cut: the rows are extracted at once and put on the clipboard;
    // a Cut then deletes exactly the rows that reached the disk.
    void OnCopySelection(bool bCut);
    // The selected rows dragged out; moved away, they leave the pak.
    void OnBeginDrag();
    // Into the focused folder row when some row is selected, else into the
    // current folder.
    void OnPaste();
    // Plays the one selected row when it is a ".wav" file, any case.
    void OnPlaySelection();
    bool CanPlaySelection() const;
    // The context menu for a point of the viewport: a folder row's, a file
    // row's, or the one for the space beside the rows.
    int PopupMenuAt(const QPoint& viewportPos) const;

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    using QTreeView::edit;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* pEvent) override;

    // Home, End, the arrows and the page keys select the row they move to,
    // as in every file manager; false for other keys.
    bool MoveAndSelect(const QKeyEvent* pEvent);
    void OnItemChanged();
    // The selected rows' raw names, files and folders apart, in list order.
    void CollectSelection(std::vector<std::string>& files, std::vector<std::string>& folders) const;
    // False, after saying so, when rows of every folder would leave with
    // two of one name.
    bool SelectionLeavesWhole(const std::vector<std::string>& files);
    // Deletes the rows whose items reached the disk; the others stay.
    void DeleteRowsExtracted(const std::vector<std::string>& files, const std::vector<std::string>& folders);
    void startDrag(Qt::DropActions) override { OnBeginDrag(); }
    // Drops: onto a folder row into that folder (highlighted while
    // hovered), beside the rows into the current folder; file rows refuse.
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dragMoveEvent(QDragMoveEvent* pEvent) override;
    void dragLeaveEvent(QDragLeaveEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    // The folder row under a point ("" beside the rows); false on a file row.
    bool DropTargetAt(const QPoint& pos, std::string& subfolder, int& nRow) const;
    void OnEndLabelEdit(int nRow, const QString& text);
    void ShowSortIndicator();

    CViewServices m_services;
    CPakListModel* m_pModel;
    CPakTree* m_pTreeView = nullptr;

private:
    CListFilterBar* m_pFilterBar = nullptr;
    // The Name column's width in the folder, while All folders widens it.
    int m_nFolderNameWidth = 0;
    // A row that was entered by a double-click must not then open its
    // name for editing, which a click on a selected row would start.
    bool m_bEditBlocked = false;
};

}  // namespace vantor
