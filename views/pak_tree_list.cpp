// The tree's share of the item list: filling it with the current folder's
// rows, adding one row, and the rows' types and icons.
#include "pak_tree.h"

#include "pak_list.h"
#include "view_text.h"
#include "wait_cursor.h"

#include <algorithm>

namespace vantor {

namespace {

// What the desktop judges a file's type by: everything from the first dot
// (so "a.tar.gz" and "b.tar.gz" share one answer), the whole name when there
// is none.
QString TypeKeyOf(const QString& name)
{
    const qsizetype nDot = name.indexOf(u'.');
    return nDot < 0 ? name : name.mid(nDot);
}

// A folder path as the archive's folder queries take it. They drop one
// leading separator (and a drive), so a path that begins with an empty or
// drive-like folder name is only read as written behind a "/".
std::string QueryPath(const std::string& folder)
{
    return '/' + folder;
}

}  // namespace

QString CPakTree::TypeNameOf(const QString& name)
{
    const QString key = TypeKeyOf(name);
    const auto cached = m_typeNames.constFind(key);
    if (cached != m_typeNames.cend())
        return *cached;
    // Quake's own types by the program's names: the desktop knows most of
    // their extensions from other worlds, if at all. Other types keep the
    // desktop's name.
    QString type = QString::fromLatin1(CPakArchive::GetTypeName(name.toStdString()));
    if (type == u"Unknown")
        type = m_services.shell.GetTypeName(name);
    m_typeNames.insert(key, type);
    return type;
}

QIcon CPakTree::IconOf(const QString& name)
{
    const QString key = TypeKeyOf(name);
    const auto cached = m_icons.constFind(key);
    if (cached != m_icons.cend())
        return *cached;
    const QIcon icon = m_services.shell.GetFileIcon(name);
    m_icons.insert(key, icon);
    return icon;
}

void CPakTree::FillList()
{
    if (!HasItems() || !m_pList)
        return;
    if (!m_hCurrentFolder) {
        m_pList->DeleteAllItems();
        return;
    }
    if (m_bListFromRoot) {
        // A million records take a second or two to list.
        CWaitCursor wait;
        // Every live record by its full name; a name stored twice is two rows.
        std::vector<std::uint32_t> records;
        m_archive.ListFolderRecords(std::string(), records);
        const PakEntryArray& entries = m_archive.GetEntries();
        std::vector<CListRow> rows;
        rows.reserve(records.size());
        for (const std::uint32_t i : records)
            rows.push_back(FileRow(std::string(entries[i].Name()), entries[i].length));
        m_pList->Model().SetFolderRows({}, std::move(rows));
        return;
    }
    const std::string folder = CurrentFolderPath();
    std::vector<CPakArchive::CFolderFile> files;
    StringArray subs;
    m_archive.ListFolderFiles(QueryPath(folder), files);
    m_archive.ListSubfolders(QueryPath(folder), subs);

    std::vector<CListRow> folderRows;
    folderRows.reserve(subs.size());
    for (std::string& sub : subs)
        folderRows.push_back(FolderRow(std::move(sub)));
    // Each record its own row and size, a name stored twice included.
    std::vector<CListRow> fileRows;
    fileRows.reserve(files.size());
    for (CPakArchive::CFolderFile& file : files)
        fileRows.push_back(FileRow(std::move(file.name), file.nLength));
    m_pList->Model().SetFolderRows(std::move(folderRows), std::move(fileRows));
}

CListRow CPakTree::FolderRow(std::string rawName) const
{
    CListRow row;
    row.strName = DecodeName(rawName);
    row.strRawName = std::move(rawName);
    row.nKind = kindFolder;
    row.strType = QStringLiteral("Folder");
    return row;
}

CListRow CPakTree::FileRow(std::string rawName, std::int64_t nLength)
{
    CListRow row;
    row.strName = DecodeName(rawName);
    row.strRawName = std::move(rawName);
    row.nBytes = std::max<qint64>(0, nLength);
    row.nSizeKB = static_cast<int>(CPakArchive::ShownKB(static_cast<std::uint64_t>(row.nBytes)));
    row.strType = TypeNameOf(row.strName);
    return row;
}

void CPakTree::AddListItem(const std::string& name, int nKind)
{
    if (!m_pList || (nKind != kindFile && nKind != kindFolder))
        return;
    // The exact name first: a pak may hold "Maps" beside "maps".
    const int nExisting = m_pList->Model().FindRawRow(name);
    if (nExisting >= 0 && m_pList->Model().Row(nExisting).nKind == nKind)
        return;
    m_pList->Model().AppendRow(nKind == kindFile
                                   ? FileRow(name, m_archive.GetEntryLength(QueryPath(ListFolderPath() + name)))
                                   : FolderRow(name));
    m_pList->scrollTo(m_pList->Model().index(m_pList->GetItemCount() - 1, 0));
}

void CPakTree::EnsureTreeFolder(const std::string& name, QTreeWidgetItem* pParent)
{
    if (!pParent)
        return;
    const QString text = DecodeName(name);
    QTreeWidgetItem* pItem = FindChildFolder(pParent, text);
    if (!pItem) {
        pItem = NewFolderItem(name);
        // Before the first sibling that sorts after it.
        int nPosition = 0;
        while (nPosition < pParent->childCount() && CompareNames(pParent->child(nPosition)->text(0), text) <= 0)
            ++nPosition;
        pParent->insertChild(nPosition, pItem);
    }
    StringArray subs;
    m_archive.ListSubfolders(QueryPath(FolderPathOfItem(pItem)), subs);
    for (const std::string& sub : subs)
        EnsureTreeFolder(sub, pItem);
}

void CPakTree::SetListFromRoot(bool bOn)
{
    m_bListFromRoot = bOn;
    FillList();
    UpdateStatusBar();
    m_services.frame.UpdateCommands();
}

std::string CPakTree::ListFolderPath(std::string_view name) const
{
    return m_bListFromRoot ? std::string(name) + (name.empty() ? "" : "/") : CurrentFolderPath(name);
}

void CPakTree::PruneEmptyFolders(const std::string& folder)
{
    // The folder's tree item, found level by level; a level missing from
    // the tree ends the walk.
    std::vector<QTreeWidgetItem*> chain{GetRootItem()};
    for (std::size_t nStart = 0; chain.back() && nStart < folder.size();) {
        std::size_t nEnd = folder.find('/', nStart);
        if (nEnd == std::string::npos)
            nEnd = folder.size();
        chain.push_back(FindChildFolderByRaw(chain.back(), folder.substr(nStart, nEnd - nStart)));
        nStart = nEnd + 1;
    }
    // From the deepest up: a folder goes only when the pak has nothing in it.
    for (std::size_t i = chain.size(); i-- > 1;) {
        QTreeWidgetItem* pItem = chain[i];
        if (!pItem)
            continue;
        const std::string path = QueryPath(FolderPathOfItem(pItem));
        std::vector<CPakArchive::CFolderFile> files;
        StringArray subs;
        m_archive.ListFolderFiles(path, files);
        m_archive.ListSubfolders(path, subs);
        if (!files.empty() || !subs.empty())
            return;
        RemoveFolderItem(pItem);
    }
}

void CPakTree::OnSelChanged(QTreeWidgetItem* pCurrent)
{
    m_hCurrentFolder = pCurrent;
    FillList();
    UpdateStatusBar();
    m_services.frame.UpdateCommands();
}

}  // namespace vantor
