#include "pak_list.h"

#include "frame_layout.h"
#include "list_filter_bar.h"
#include "match_highlight_delegate.h"
#include "resource.h"
#include "settings.h"
#include "pak_tree.h"
#include "view_text.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace vantor {

namespace {

const QString kWindowSize = QString::fromLatin1(setting::kWindowSize);

bool IsRecentPakCommand(int nID)
{
    return nID >= ID_FILE_MRU_FIRST && nID <= ID_FILE_MRU_LAST;
}

}  // namespace

CPakList::CPakList(const CViewServices& services, QWidget* pParent)
    : QTreeView(pParent), m_services(services), m_pModel(new CPakListModel(this))
{
    setObjectName(QStringLiteral("pakList"));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // A click on the selected row's name starts renaming it, as F2 does.
    setEditTriggers(QAbstractItemView::SelectedClicked);
    setItemDelegate(new CMatchHighlightDelegate(this));
    // Rows are dragged out as files.
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    setModel(m_pModel);
    m_pModel->m_folderIcon = m_services.shell.GetFolderIcon(FolderIcon::closed);
    m_pModel->m_onEndEdit = [this](int nRow, const QString& text) { OnEndLabelEdit(nRow, text); };

    QHeaderView* pHeader = header();
    pHeader->setStretchLastSection(false);
    pHeader->setSectionsMovable(false);
    pHeader->setSectionsClickable(true);
    pHeader->setSortIndicatorShown(true);
    connect(pHeader, &QHeaderView::sectionClicked, this, &CPakList::OnColumnClick);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &CPakList::OnItemChanged);
}

void CPakList::SetTree(CPakTree* pTree)
{
    m_pTreeView = pTree;
    m_pModel->m_fileIcon = [pTree](const CListRow& row) { return pTree->IconOf(row.strName); };
}

void CPakList::SetFilterBar(CListFilterBar* pBar)
{
    m_pFilterBar = pBar;
    connect(pBar, &CListFilterBar::allFoldersToggled, this, [this](bool bOn) {
        if (!m_pTreeView)
            return;
        m_pTreeView->SetListFromRoot(bOn);
        // Full paths need a wider Name column than a folder's names; the
        // folder's width comes back with the folder.
        if (bOn) {
            m_nFolderNameWidth = header()->sectionSize(CPakListModel::colName);
            const int nWanted = std::max(m_nFolderNameWidth, sizeHintForColumn(CPakListModel::colName));
            header()->resizeSection(CPakListModel::colName,
                                    std::min(nWanted, std::max(m_nFolderNameWidth, viewport()->width() * 2 / 3)));
        } else if (m_nFolderNameWidth > 0) {
            header()->resizeSection(CPakListModel::colName, m_nFolderNameWidth);
        }
    });
    connect(pBar, &CListFilterBar::leaveField, this, [this] {
        setFocus(Qt::OtherFocusReason);
        if (GetItemCount() > 0 && GetSelectedCount() == 0)
            selectionModel()->setCurrentIndex(m_pModel->index(0, 0),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
    connect(m_pModel, &CPakListModel::rowsChanged, this, [this] { UpdateStatusBar(); });
    connect(m_pModel, &CPakListModel::matchMarksChanged, viewport(), qOverload<>(&QWidget::update));
}

void CPakList::FocusFilter()
{
    if (m_pFilterBar)
        m_pFilterBar->FocusField();
}

void CPakList::ClearFilter()
{
    if (m_pFilterBar)
        m_pFilterBar->Clear();
}

bool CPakList::IsShowingEveryFolder() const
{
    return m_pTreeView && m_pTreeView->IsListFromRoot();
}

// --- Commands ------------------------------------------------------------------

bool CPakList::OnCommand(int nID)
{
    if (!m_pTreeView)
        return false;
    if (m_pTreeView->IsBusy() || IsRecentPakCommand(nID))
        return m_pTreeView->OnCommand(nID);
    switch (nID) {
    case ID_UP_ONE_LEVEL: m_pTreeView->OnUpOneLevel(); return true;
    case ID_FILE_RENAME: BeginRename(); return true;
    case ID_FILE_EXTRACT: OnExtractSelection(); return true;
    case ID_FILE_EXTRACTTO: OnExtractSelectionTo(); return true;
    case ID_FILE_DELETE: OnDeleteSelection(); return true;
    case ID_EDIT_COPY: OnCopySelection(false); return true;
    case ID_EDIT_CUT: OnCopySelection(true); return true;
    case ID_EDIT_PASTE: OnPaste(); return true;
    case ID_EDIT_SELECT_ALL: OnSelectAll(); return true;
    case ID_EDIT_INVERT: OnInvertSelection(); return true;
    case ID_EDIT_FIND: FocusFilter(); return true;
    case ID_VIEW_REFRESH: OnRefresh(); return true;
    case ID_SWITCH_PANE: OnSwitchPane(); return true;
    case ID_PLAY_SOUND: OnPlaySelection(); return true;
    case ID_STOP_SOUND: m_pTreeView->OnStopSound(); return true;
    case ID_FILE_NEWPAK:
    case ID_FILE_OPENPAK: {
        if (!m_pTreeView->OnCommand(nID))
            return false;
        // Whatever was loaded, the user goes on from its root.
        m_pTreeView->setFocus();
        m_services.frame.SetActivePane(m_pTreeView);
        m_pTreeView->SelectFolder(m_pTreeView->GetRootItem());
        return true;
    }
    // The tree's own commands, by the tree's rules.
    case ID_FILE_EXTRACTALL:
    case ID_FILE_RECOVER:
    case ID_FILE_RESTORE:
    case ID_FILE_NEWFOLDER:
    case ID_VIEW_OPTIONS:
        return m_pTreeView->OnCommand(nID);
    }
    return false;
}

bool CPakList::OnUpdateCommand(CCmdUI& ui)
{
    if (!m_pTreeView)
        return false;
    const int nID = ui.GetID();
    if (m_pTreeView->IsBusy() || IsRecentPakCommand(nID))
        return m_pTreeView->OnUpdateCommand(ui);
    switch (nID) {
    case ID_UP_ONE_LEVEL:
        ui.Enable(m_pTreeView->HasItems());
        return true;
    case ID_FILE_EXTRACT:
    case ID_FILE_EXTRACTTO:
    case ID_EDIT_COPY:
        ui.Enable(GetSelectedCount() >= 1);
        return true;
    // Changes: not on a pak that cannot be written, which the status tip says.
    case ID_FILE_RENAME:
    case ID_FILE_DELETE:
    case ID_EDIT_CUT: {
        const bool bReadOnly = m_pTreeView->GetArchive().IsReadOnly();
        const bool bOneFolder = nID != ID_FILE_RENAME || !IsShowingEveryFolder();
        ui.Enable((nID == ID_FILE_RENAME ? GetSelectedCount() == 1 : GetSelectedCount() >= 1) && !bReadOnly &&
                  bOneFolder);
        if (bReadOnly && m_pTreeView->HasItems())
            ui.SetStatusTip(m_pTreeView->RecoveryRefusalText());
        return true;
    }
    case ID_EDIT_SELECT_ALL:
    case ID_EDIT_INVERT:
        ui.Enable(GetItemCount() >= 1);
        return true;
    case ID_VIEW_REFRESH:
    case ID_SWITCH_PANE:
        return true;
    case ID_EDIT_FIND:
        ui.Enable(m_pFilterBar && m_pTreeView->HasItems());
        return true;
    case ID_PLAY_SOUND:
        ui.Enable(CanPlaySelection());
        return true;
    case ID_STOP_SOUND:
        ui.Enable(m_pTreeView->HasItems());
        return true;
    case ID_FILE_NEWPAK:
    case ID_FILE_OPENPAK:
    case ID_FILE_EXTRACTALL:
    case ID_FILE_RECOVER:
    case ID_FILE_RESTORE:
    case ID_FILE_NEWFOLDER:
    case ID_EDIT_PASTE:
    case ID_VIEW_OPTIONS:
        // A list of every folder has no one folder to put new items in.
        if ((nID == ID_EDIT_PASTE || nID == ID_FILE_NEWFOLDER) && IsShowingEveryFolder()) {
            ui.Enable(false);
            return true;
        }
        return m_pTreeView->OnUpdateCommand(ui);
    }
    return false;
}

void CPakList::OnSelectAll()
{
    selectAll();
}

void CPakList::OnInvertSelection()
{
    const int nRows = GetItemCount();
    if (nRows == 0)
        return;
    const QItemSelection all(m_pModel->index(0, 0), m_pModel->index(nRows - 1, m_pModel->columnCount() - 1));
    selectionModel()->select(all, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
}

void CPakList::OnRefresh()
{
    if (m_pTreeView->HasItems() && m_pTreeView->GetArchive().HasChangedOnDisk()) {
        m_pTreeView->ReloadPak();
        return;
    }
    m_pTreeView->FillList();
    UpdateStatusBar();
    m_pTreeView->viewport()->update();
}

void CPakList::OnSwitchPane()
{
    m_pTreeView->setFocus();
    m_services.frame.SetActivePane(m_pTreeView);
    m_pTreeView->SelectFolder(m_pTreeView->GetCurrentFolder());
}

bool CPakList::CanPlaySelection() const
{
    const std::vector<int> selected = GetSelectedRows();
    if (selected.size() != 1)
        return false;
    const CListRow& row = m_pModel->Row(selected.front());
    const std::string& name = row.strRawName;
    constexpr std::string_view kWave = ".wav";
    if (row.nKind != kindFile || name.size() < kWave.size())
        return false;
    return std::equal(kWave.begin(), kWave.end(), name.end() - static_cast<std::ptrdiff_t>(kWave.size()),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

void CPakList::OnPlaySelection()
{
    if (CanPlaySelection())
        m_pTreeView->PlayWave(m_pModel->Row(GetSelectedRows().front()).strRawName);
}

void CPakList::BeginRename()
{
    const std::vector<int> selected = GetSelectedRows();
    if (selected.size() != 1)
        return;
    m_bEditBlocked = false;
    const QModelIndex index = m_pModel->index(selected.front(), CPakListModel::colName);
    setCurrentIndex(index);
    edit(index);
}

bool CPakList::OpenRow(int nRow)
{
    if (nRow < 0 || nRow >= GetItemCount())
        return false;
    const CListRow& row = m_pModel->Row(nRow);
    if (row.nKind != kindFolder) {
        OpenFileRow(row.strRawName);
        return true;
    }
    QTreeWidgetItem* pFolder = m_pTreeView->currentItem();
    if (!pFolder)
        return false;
    // The pak tells folders apart by case; the exact name wins over one that
    // differs only in case.
    QTreeWidgetItem* pChild = m_pTreeView->FindChildFolderByRaw(pFolder, row.strRawName);
    if (!pChild)
        return false;
    m_bEditBlocked = true;
    m_pTreeView->SelectFolder(pChild);
    setFocus();
    m_services.frame.SetActivePane(this);
    if (GetItemCount() > 0)
        selectionModel()->setCurrentIndex(m_pModel->index(0, 0), QItemSelectionModel::NoUpdate);
    return true;
}

void CPakList::OpenFileRow(const std::string& rawName)
{
    if (!m_pTreeView)
        return;
    // The desktop judges the type by the name alone; the entry need not be
    // on disk yet.
    const QString name = DecodeName(rawName);
    const QString typeName = m_services.shell.GetTypeName(name);
    if (typeName.isEmpty()) {
        m_services.prompt.ShowError(QStringLiteral("Unable to obtain file association for this file."));
        return;
    }
    // A type with no default program has no association either.
    if (typeName.compare(QStringLiteral("Unknown"), Qt::CaseInsensitive) == 0 ||
        m_services.shell.GetDefaultApplication(m_services.shell.GetMimeType(name)).isEmpty()) {
        m_services.prompt.ShowError(QStringLiteral("This file does not have a program ") +
                                    QStringLiteral("associated with it.  You must create an ") +
                                    QStringLiteral("association before you can open the file."));
        return;
    }
    m_pTreeView->LaunchEntry(rawName);
}

void CPakList::OnColumnClick(int nColumn)
{
    if (nColumn < CPakListModel::colName || nColumn > CPakListModel::colType)
        return;
    m_pModel->ToggleOrder(static_cast<CPakListModel::Column>(nColumn));
    ShowSortIndicator();
    if (!m_pTreeView)
        return;
    m_pTreeView->FillList();
    UpdateStatusBar();
}

void CPakList::ShowSortIndicator()
{
    const CPakListModel::COrder& order = m_pModel->Order();
    header()->setSortIndicator(order.column, order.bAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

int CPakList::PopupMenuAt(const QPoint& viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid())
        return popupListSpace;
    return m_pModel->Row(index.row()).nKind == kindFolder ? popupFolder : popupFile;
}

// --- Rows and the status bar ----------------------------------------------------------

void CPakList::SetRows(std::vector<CListRow> rows)
{
    m_pModel->SetRows(std::move(rows));
}

int CPakList::GetSelectedCount() const
{
    return static_cast<int>(selectionModel()->selectedRows().size());
}

std::vector<int> CPakList::GetSelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

qint64 CPakList::GetTotalSizeKB() const
{
    // The bytes are added, then shown by the rows' own rule: a folder of
    // many small files is not as large as its rounded rows.
    std::uint64_t nBytes = 0;
    for (int nRow = 0; nRow < GetItemCount(); ++nRow)
        nBytes += static_cast<std::uint64_t>(m_pModel->Row(nRow).nBytes);
    return static_cast<qint64>(CPakArchive::ShownKB(nBytes));
}

void CPakList::ShowSelectionStatus()
{
    const std::vector<int> selected = GetSelectedRows();
    std::uint64_t nBytes = 0;
    for (const int nRow : selected)
        nBytes += static_cast<std::uint64_t>(m_pModel->Row(nRow).nBytes);
    m_services.frame.SetPaneText(0, QStringLiteral("%1 object(s) selected").arg(selected.size()));
    m_services.frame.SetPaneText(1, FormatTotalKB(static_cast<qint64>(CPakArchive::ShownKB(nBytes))));
}

void CPakList::OnItemChanged()
{
    if (GetSelectedCount() >= 1)
        ShowSelectionStatus();
    else if (m_pTreeView)
        m_pTreeView->UpdateStatusBar();
    // Keys such as F2 must find their commands enabled at once, not at the
    // next idle update.
    m_services.frame.UpdateCommands();
}

void CPakList::UpdateStatusBar()
{
    OnItemChanged();
}

// --- First update and closing ----------------------------------------------------------

void CPakList::OnInitialUpdate()
{
    const int nDefaultWidth = viewport()->width() / 6;
    for (int nColumn = 0; nColumn < 3; ++nColumn) {
        // Widths were stored as 16-bit values; anything above is not a width.
        const int nWidth =
            GetProfileInt(kWindowSize, setting::ColumnKey(nColumn), nDefaultWidth) & 0xFFFF;
        header()->resizeSection(nColumn, nWidth);
    }
    const int nColumn = ReadSetting(setting::kSort);
    const bool bKnown = nColumn >= CPakListModel::colName && nColumn <= CPakListModel::colType;
    m_pModel->SetOrder({bKnown ? static_cast<CPakListModel::Column>(nColumn) : CPakListModel::colName,
                        ReadSetting(setting::kAscending) != 0});
    ShowSortIndicator();
    if (!m_pTreeView)
        return;
    m_pTreeView->FillList();
    m_pTreeView->UpdateStatusBar();
    // With no width stored, the names shown decide it: as wide as the
    // longest, at least the default, at most half the list.
    if (GetProfileInt(kWindowSize, setting::ColumnKey(0), -1) < 0) {
        const int nWanted = std::max(nDefaultWidth, sizeHintForColumn(0));
        header()->resizeSection(0, std::min(nWanted, std::max(nDefaultWidth, viewport()->width() / 2)));
    }
}

void CPakList::OnFrameClosing()
{
    WriteSetting(setting::kSort, m_pModel->Order().column);
    WriteSetting(setting::kAscending, m_pModel->Order().bAscending ? 1 : 0);
}

int CPakList::GetColumnWidth(int nColumn) const
{
    return header()->sectionSize(nColumn);
}

// --- Window events ------------------------------------------------------------------------

void CPakList::keyPressEvent(QKeyEvent* pEvent)
{
    // Return that ends a name's editing comes here too (the editor lets it
    // through): it must not open the row whose name is being edited.
    const bool bEnter = pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter;
    if (state() == EditingState)
        return QTreeView::keyPressEvent(pEvent);
    if (bEnter && pEvent->modifiers() == Qt::NoModifier && GetSelectedCount() == 1 &&
        OpenRow(GetSelectedRows().front()))
        return;
    // "/" opens the filter; Esc ends it. Other letters keep jumping to the
    // row they begin.
    if (pEvent->key() == Qt::Key_Slash && (pEvent->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        FocusFilter();
        return;
    }
    if (pEvent->key() == Qt::Key_Escape && m_pFilterBar &&
        (m_pModel->IsFiltered() || IsShowingEveryFolder() || !m_pFilterBar->Field()->text().isEmpty())) {
        ClearFilter();
        return;
    }
    if (MoveAndSelect(pEvent))
        return;
    QTreeView::keyPressEvent(pEvent);
}

bool CPakList::MoveAndSelect(const QKeyEvent* pEvent)
{
    if ((pEvent->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || GetItemCount() == 0)
        return false;
    CursorAction action;
    switch (pEvent->key()) {
    case Qt::Key_Home: action = MoveHome; break;
    case Qt::Key_End: action = MoveEnd; break;
    case Qt::Key_Up: action = MoveUp; break;
    case Qt::Key_Down: action = MoveDown; break;
    case Qt::Key_PageUp: action = MovePageUp; break;
    case Qt::Key_PageDown: action = MovePageDown; break;
    default: return false;
    }
    // Qt's own handling selects nothing when the key stays on the focused
    // row (Home on the first), and with no focused row takes every key to
    // the first row (End included).
    QModelIndex target;
    if (!currentIndex().isValid())
        target = m_pModel->index(action == MoveEnd ? GetItemCount() - 1 : 0, 0);
    else
        target = moveCursor(action, pEvent->modifiers());
    if (!target.isValid())
        return true;
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(target);
    return true;
}

void CPakList::mousePressEvent(QMouseEvent* pEvent)
{
    m_bEditBlocked = false;
    QTreeView::mousePressEvent(pEvent);
}

void CPakList::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    const QModelIndex index = indexAt(pEvent->position().toPoint());
    if (pEvent->button() == Qt::LeftButton && index.isValid() && OpenRow(index.row()))
        return;
    QTreeView::mouseDoubleClickEvent(pEvent);
}

void CPakList::contextMenuEvent(QContextMenuEvent* pEvent)
{
    // A right click makes the pane the one its menu's commands go to.
    setFocus();
    m_services.frame.SetActivePane(this);
    const bool bMouse = pEvent->reason() == QContextMenuEvent::Mouse;
    QPoint position = pEvent->pos();
    if (!bMouse) {
        // From the keyboard: the focused row, else the space beside the rows.
        position = currentIndex().isValid() ? visualRect(currentIndex()).center() : QPoint(-1, -1);
    }
    const QPoint globalPos = bMouse ? pEvent->globalPos() : viewport()->mapToGlobal(position);
    m_services.frame.TrackPopupMenu(PopupMenuAt(position), globalPos);
}

bool CPakList::edit(const QModelIndex& index, EditTrigger trigger, QEvent* pEvent)
{
    if (m_bEditBlocked || IsShowingEveryFolder())
        return false;
    return QTreeView::edit(index, trigger, pEvent);
}

}  // namespace vantor
