#include "pak_tree.h"

#include "pak_names.h"
#include "frame_layout.h"
#include "resource.h"
#include "wait_cursor.h"
#include "pak_list.h"
#include "label_edit_delegate.h"
#include "view_text.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QSignalBlocker>

#include <algorithm>

namespace vantor {

namespace {

// Folder items keep the bytes of their name here; the text is for showing.
constexpr int kRawNameRole = Qt::UserRole;

// The closed folder normally, the open one while the item is selected, as
// the current folder shows in a file manager.
QIcon FolderIconWithOpenState(const QIcon& closed, const QIcon& open)
{
    if (closed.isNull() || open.isNull())
        return closed;
    QIcon icon;
    for (const int nSize : {16, 22, 24, 32, 48, 64}) {
        icon.addPixmap(closed.pixmap(nSize), QIcon::Normal);
        icon.addPixmap(open.pixmap(nSize), QIcon::Selected);
    }
    return icon;
}

QString EngineText(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

CPakTree::CPakTree(const CViewServices& services, const QString& strCmdLinePak, QWidget* pParent)
    : QTreeWidget(pParent), m_services(services), m_strCmdLinePak(strCmdLinePak)
{
    setObjectName(QStringLiteral("pakTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A click on the selected folder opens its name, as Rename does.
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setItemDelegate(new CLabelEditDelegate(this, [this](const QModelIndex& index, const QString& text) {
        OnEndLabelEdit(itemFromIndex(index), text);
    }));
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // The hovered folder shows highlighted instead of a line between items.
    setDropIndicatorShown(false);
    m_folderIcon = FolderIconWithOpenState(m_services.shell.GetFolderIcon(FolderIcon::closed),
                                           m_services.shell.GetFolderIcon(FolderIcon::open));
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* pCurrent, QTreeWidgetItem*) { OnSelChanged(pCurrent); });
    connect(this, &QTreeWidget::itemExpanded, this, &CPakTree::SizeColumn);
    connect(this, &QTreeWidget::itemCollapsed, this, &CPakTree::SizeColumn);
    SetUpLaunchWatch();
}

CPakTree::~CPakTree()
{
    // The player holds the samples of the tree's last sound.
    OnStopSound();
    DropLaunchesQuietly();
}

// --- Commands -----------------------------------------------------------------

bool CPakTree::OnCommand(int nID)
{
    // Nothing runs while the archive is in the middle of long work.
    if (m_bBusy)
        return true;
    if (nID >= ID_FILE_MRU_FIRST && nID <= ID_FILE_MRU_LAST) {
        OpenRecent(nID - ID_FILE_MRU_FIRST);
        return true;
    }
    switch (nID) {
    case ID_FILE_NEWPAK: OnNewPak(); return true;
    case ID_FILE_OPENPAK: OnOpenPak(); return true;
    case ID_FILE_OPENGAMEFOLDER: OnOpenGameFolder(); return true;
    case ID_FILE_RECOVER: OnRecoverSpace(); return true;
    case ID_VIEW_OPTIONS: OnOptions(); return true;
    case ID_VIEW_REFRESH: OnRefresh(); return true;
    case ID_UP_ONE_LEVEL: OnUpOneLevel(); return true;
    case ID_EDIT_SELECT_ALL: OnSelectAll(); return true;
    case ID_EDIT_INVERT: OnInvertSelection(); return true;
    case ID_SWITCH_PANE: OnSwitchPane(); return true;
    case ID_FILE_EXTRACTALL: OnExtractAll(); return true;
    case ID_FILE_EXTRACT: OnExtract(); return true;
    case ID_FILE_EXTRACTTO: OnExtractTo(); return true;
    case ID_FILE_DELETE: OnDelete(); return true;
    case ID_FILE_RENAME: OnRename(); return true;
    case ID_FILE_NEWFOLDER: OnNewFolder(); return true;
    case ID_EDIT_COPY: OnCopy(); return true;
    case ID_EDIT_CUT: OnCut(); return true;
    case ID_EDIT_PASTE: OnPaste(); return true;
    case ID_FILE_RESTORE: OnRestoreFiles(); return true;
    case ID_EDIT_FIND:
        if (m_pList)
            m_pList->FocusFilter();
        return true;
    case ID_STOP_SOUND: OnStopSound(); return true;
    }
    return false;
}

bool CPakTree::IsFolderCurrent(bool bChange) const
{
    return HasItems() && m_hCurrentFolder && m_hCurrentFolder != GetRootItem() &&
           !(bChange && m_archive.IsReadOnly());
}

bool CPakTree::OnUpdateCommand(CCmdUI& ui)
{
    // The idle update runs meanwhile too; it must not read the archive.
    if (m_bBusy) {
        ui.Enable(false);
        return true;
    }
    const int nID = ui.GetID();
    if (nID >= ID_FILE_MRU_FIRST && nID <= ID_FILE_MRU_LAST)
        return true;
    switch (nID) {
    case ID_FILE_NEWPAK:
    case ID_FILE_OPENPAK:
    case ID_FILE_OPENGAMEFOLDER:
    case ID_VIEW_OPTIONS:
    case ID_VIEW_REFRESH:
    case ID_SWITCH_PANE:
        return true;
    case ID_FILE_RECOVER: {
        const QString refusal = RecoveryRefusalText();
        ui.Enable(HasItems() && refusal.isEmpty() && m_archive.GetUnusedSpaceKB() > 0);
        ui.SetStatusTip(refusal);
        return true;
    }
    case ID_FILE_RESTORE:
        ui.Enable(HasItems() && m_archive.HasGibbedEntries());
        return true;
    case ID_EDIT_FIND:
        ui.Enable(HasItems() && m_pList && m_pList->GetFilterBar());
        return true;
    case ID_STOP_SOUND:
        ui.Enable(HasItems());
        return true;
    case ID_UP_ONE_LEVEL:
    case ID_FILE_EXTRACTALL:
        ui.Enable(HasItems());
        return true;
    case ID_FILE_EXTRACT:
    case ID_FILE_EXTRACTTO:
    case ID_EDIT_COPY:
        ui.Enable(IsFolderCurrent());
        return true;
    // Changes: not on a pak that cannot be written, which the status tip says.
    case ID_FILE_DELETE:
    case ID_FILE_RENAME:
    case ID_EDIT_CUT:
        ui.Enable(IsFolderCurrent(true));
        if (IsFolderCurrent() && m_archive.IsReadOnly())
            ui.SetStatusTip(RecoveryRefusalText());
        return true;
    case ID_EDIT_PASTE:
        ui.Enable(!m_strPakPath.isEmpty() && HasItems() && !m_archive.IsReadOnly() && ClipboardHasFiles());
        return true;
    case ID_FILE_NEWFOLDER:
        // The list of every folder would have no row to show it in.
        ui.Enable(HasItems() && !m_archive.IsReadOnly() && !m_bListFromRoot);
        if (HasItems() && m_archive.IsReadOnly())
            ui.SetStatusTip(RecoveryRefusalText());
        return true;
    case ID_EDIT_SELECT_ALL:
    case ID_EDIT_INVERT:
        ui.Enable(m_pList && m_pList->GetItemCount() > 0);
        return true;
    }
    return false;
}

// --- First update and loading ---------------------------------------------------

void CPakTree::OnInitialUpdate()
{
    LoadRecent();
    BuildRecentMenu();
    m_strPakPath = m_strCmdLinePak;
    if (!LoadPak())
        return;
    QTreeWidgetItem* pRoot = GetRootItem();
    FillTree(pRoot, std::string());
    pRoot->setExpanded(true);
    m_hCurrentFolder = pRoot;
    {
        // The list's own first update fills it; selecting must not do it
        // first.
        const QSignalBlocker blocker(this);
        setCurrentItem(pRoot);
    }
    SizeColumn();
}

bool CPakTree::LoadPak()
{
    if (m_strPakPath.isEmpty())
        return false;
    CWaitCursor wait;
    if (!m_archive.OpenPak(ToDiskBytes(m_strPakPath))) {
        wait.Restore();
        ShowError(EngineText(m_archive.GetErrorText()));
        m_strPakPath.clear();
        return false;
    }
    // The full path, however it was named: the root shows it and the recent
    // list keeps it.
    m_strPakPath = FromDiskBytes(m_archive.GetFilePath());
    QString rootText = VisibleText(m_strPakPath);
    if (m_archive.IsReadOnly())
        rootText += QStringLiteral(" (read-only)");
    auto* pRoot = new QTreeWidgetItem(QStringList(rootText));
    pRoot->setIcon(0, m_services.shell.GetFileIcon(m_strPakPath));
    pRoot->setFlags(pRoot->flags() & ~Qt::ItemIsDragEnabled);
    addTopLevelItem(pRoot);
    if (m_archive.GetReadOnlyReason() == ReadOnlyReason::tooBig) {
        wait.Restore();
        m_services.prompt.ShowMessage(RecoveryRefusalText(), PromptIcon::information);
    }
    return true;
}

void CPakTree::FillTree(QTreeWidgetItem* pParent, const std::string& folder)
{
    // A folder exists exactly where some name goes on past a separator ('/',
    // or '\\' in names from Windows tools), which is what the archive's
    // ListSubfolders reports level by level. Asking it level by level copies
    // every name beneath each folder once per level; one pass over the names
    // finds the same folders for all of them.
    CFolderNode top;
    std::string_view previous;  // the folders of the last name, already in
    for (const PakEntry& entry : m_archive.GetEntries()) {
        std::string_view name = entry.Name();
        if (!StartsWithPakPrefix(name, folder))
            continue;
        name.remove_prefix(folder.size());
        const std::size_t nLast = name.find_last_of("/\\");
        if (nLast == std::string_view::npos)
            continue;
        const std::string_view folders = name.substr(0, nLast + 1);
        // Names of one folder mostly follow each other.
        if (folders == previous)
            continue;
        previous = folders;
        CFolderNode* pNode = &top;
        for (std::size_t nStart = 0; nStart < folders.size();) {
            const std::size_t nSlash = folders.find_first_of("/\\", nStart);
            auto& pChild = pNode->children[folders.substr(nStart, nSlash - nStart)];
            if (!pChild)
                pChild = std::make_unique<CFolderNode>();
            pNode = pChild.get();
            nStart = nSlash + 1;
        }
    }
    AddFolderItems(pParent, top);
}

void CPakTree::AddFolderItems(QTreeWidgetItem* pParent, const CFolderNode& node)
{
    if (node.children.empty())
        return;
    std::vector<std::pair<QString, const CFolderNode::Children::value_type*>> names;
    names.reserve(node.children.size());
    for (const auto& child : node.children)
        names.emplace_back(DecodeName(child.first), &child);
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return CompareNames(a.first, b.first) < 0; });

    // Each level is built before it joins the tree, so that the view hears
    // of one insertion per level instead of one per folder.
    QList<QTreeWidgetItem*> children;
    children.reserve(static_cast<qsizetype>(names.size()));
    for (const auto& [text, pChild] : names) {
        QTreeWidgetItem* pItem = NewFolderItem(std::string(pChild->first));
        AddFolderItems(pItem, *pChild->second);
        children.append(pItem);
    }
    pParent->addChildren(children);
}

QTreeWidgetItem* CPakTree::NewFolderItem(const std::string& rawName) const
{
    auto* pItem = new QTreeWidgetItem();
    SetFolderItemName(pItem, rawName);
    pItem->setIcon(0, m_folderIcon);
    pItem->setFlags(pItem->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
    return pItem;
}

void CPakTree::SetFolderItemName(QTreeWidgetItem* pItem, const std::string& rawName)
{
    pItem->setText(0, DecodeName(rawName));
    pItem->setData(0, kRawNameRole, QByteArray(rawName.data(), static_cast<qsizetype>(rawName.size())));
}

bool CPakTree::LoadAndShowPak(const QString& path)
{
    ClearPanes();
    m_strPakPath = path;
    if (!LoadPak()) {
        // The old pak's counts go with its rows.
        UpdateStatusBar();
        return false;
    }
    QTreeWidgetItem* pRoot = GetRootItem();
    FillTree(pRoot, std::string());
    // An empty pak's root stays closed: there is nothing to open.
    if (pRoot->childCount() > 0)
        pRoot->setExpanded(true);
    m_hCurrentFolder = pRoot;
    {
        const QSignalBlocker blocker(this);
        setCurrentItem(pRoot);
    }
    SizeColumn();
    FillList();
    UpdateStatusBar();
    setFocus();
    m_services.frame.SetActivePane(this);
    return true;
}

void CPakTree::ClearPanes()
{
    {
        const QSignalBlocker blocker(this);
        clear();
    }
    m_hCurrentFolder = nullptr;
    if (m_pList)
        m_pList->DeleteAllItems();
}

// --- Folder paths ------------------------------------------------------------------

std::string CPakTree::RawNameOf(const QTreeWidgetItem* pItem)
{
    const QByteArray raw = pItem->data(0, kRawNameRole).toByteArray();
    return std::string(raw.constData(), static_cast<std::size_t>(raw.size()));
}

std::string CPakTree::FolderPathOfItem(const QTreeWidgetItem* pItem, std::string_view name) const
{
    if (!HasItems())
        return std::string();
    std::vector<const QTreeWidgetItem*> chain;
    // The root (the only item without a parent) names the pak, not a folder.
    for (const QTreeWidgetItem* p = pItem; p && p->parent(); p = p->parent())
        chain.push_back(p);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        path += RawNameOf(*it);
        path += '/';
    }
    if (!name.empty()) {
        path += name;
        path += '/';
    }
    return path;
}

std::string CPakTree::CurrentFolderPath(std::string_view name) const
{
    return FolderPathOfItem(m_hCurrentFolder, name);
}

QTreeWidgetItem* CPakTree::FindChildFolder(QTreeWidgetItem* pParent, const QString& name) const
{
    if (!pParent)
        return nullptr;
    for (int i = 0; i < pParent->childCount(); ++i) {
        if (pParent->child(i)->text(0).compare(name, Qt::CaseInsensitive) == 0)
            return pParent->child(i);
    }
    return nullptr;
}

void CPakTree::SelectFolder(QTreeWidgetItem* pItem)
{
    if (pItem)
        setCurrentItem(pItem);
}

// --- Status bar and messages -----------------------------------------------------------

void CPakTree::UpdateStatusBar()
{
    if (m_bBusy)
        return;
    if (!HasItems() || !m_pList) {
        // No pak: nothing to count.
        m_services.frame.SetPaneText(0, QString());
        m_services.frame.SetPaneText(1, QString());
        return;
    }
    m_services.frame.SetPaneText(0, QStringLiteral("%1 object(s)").arg(m_pList->GetItemCount()));
    QString size = FormatTotalKB(m_pList->GetTotalSizeKB());
    if (m_hCurrentFolder == GetRootItem()) {
        // -1 says the space could not be worked out; users see none.
        const int nUnusedKB = std::max(0, m_archive.GetUnusedSpaceKB());
        size = QStringLiteral("%1     Unused Space:  %2KB").arg(size).arg(nUnusedKB);
    }
    const QString mark = PakStateMark();
    if (!mark.isEmpty())
        size += u' ' + mark;
    m_services.frame.SetPaneText(1, size);
}

void CPakTree::ShowError(const QString& text)
{
    m_services.prompt.ShowError(text);
}

// --- Navigation -------------------------------------------------------------------------

void CPakTree::OnRefresh()
{
    if (HasItems() && m_archive.HasChangedOnDisk()) {
        ReloadPak();
        return;
    }
    FillList();
    UpdateStatusBar();
    viewport()->update();
}

void CPakTree::OnUpOneLevel()
{
    if (m_hCurrentFolder && m_hCurrentFolder->parent())
        SelectFolder(m_hCurrentFolder->parent());
}

void CPakTree::OnSelectAll()
{
    if (!m_pList)
        return;
    m_pList->setFocus();
    m_services.frame.SetActivePane(m_pList);
    m_pList->OnSelectAll();
}

void CPakTree::OnInvertSelection()
{
    if (!m_pList)
        return;
    m_pList->setFocus();
    m_services.frame.SetActivePane(m_pList);
    m_pList->OnInvertSelection();
}

void CPakTree::OnSwitchPane()
{
    if (!m_pList)
        return;
    // Taken first: a view that gets the focus gives its first row the focus
    // by itself.
    const QModelIndex focused = m_pList->currentIndex();
    m_pList->setFocus();
    m_services.frame.SetActivePane(m_pList);
    QItemSelectionModel* pSelection = m_pList->selectionModel();
    if (focused.isValid())
        pSelection->select(focused, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    else if (m_pList->GetItemCount() > 0)
        pSelection->setCurrentIndex(m_pList->Model().index(0, 0), QItemSelectionModel::NoUpdate);
}

// --- Window events --------------------------------------------------------------------------

void CPakTree::contextMenuEvent(QContextMenuEvent* pEvent)
{
    const bool bMouse = pEvent->reason() == QContextMenuEvent::Mouse;
    QTreeWidgetItem* pItem = bMouse ? itemAt(pEvent->pos()) : currentItem();
    // Beside the items there is nothing to act on.
    if (!pItem)
        return;
    // A right click makes the pane the one its menu's commands go to.
    setFocus();
    m_services.frame.SetActivePane(this);
    if (pItem != currentItem())
        SelectFolder(pItem);
    const QPoint globalPos =
        bMouse ? pEvent->globalPos() : viewport()->mapToGlobal(visualItemRect(pItem).center());
    m_services.frame.TrackPopupMenu(pItem == GetRootItem() ? popupRoot : popupFolder, globalPos);
}

void CPakTree::resizeEvent(QResizeEvent* pEvent)
{
    QTreeWidget::resizeEvent(pEvent);
    SizeColumn();
}

void CPakTree::SizeColumn()
{
    // A hidden header never resizes its section, so the one column is sized
    // here: the pane's width, or the longest name shown when that is wider.
    header()->resizeSection(0, std::max(viewport()->width(), sizeHintForColumn(0)));
}

}  // namespace vantor
