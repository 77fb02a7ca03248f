#include "pak_list_model.h"

#include "view_text.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <iterator>

namespace vantor {

CPakListModel::CPakListModel(QObject* pParent) : QAbstractTableModel(pParent) {}

void CPakListModel::ToggleOrder(Column column)
{
    if (column == m_order.column)
        m_order.bAscending = !m_order.bAscending;
    else
        m_order = {column, true};
}

void CPakListModel::SetFolderRows(std::vector<CListRow> folders, std::vector<CListRow> files)
{
    const auto byName = [](const CListRow& a, const CListRow& b) { return CompareNames(a.strName, b.strName) < 0; };
    std::stable_sort(folders.begin(), folders.end(), byName);
    std::stable_sort(files.begin(), files.end(), byName);
    if (m_order.column == colSize) {
        std::stable_sort(files.begin(), files.end(),
                         [](const CListRow& a, const CListRow& b) { return a.nSizeKB < b.nSizeKB; });
    } else if (m_order.column == colType) {
        std::stable_sort(files.begin(), files.end(), [](const CListRow& a, const CListRow& b) {
            return a.strType.compare(b.strType, Qt::CaseInsensitive) < 0;
        });
    }
    std::vector<CListRow> rows = std::move(folders);
    rows.reserve(rows.size() + files.size());
    std::move(files.begin(), files.end(), std::back_inserter(rows));
    if (!m_order.bAscending)
        std::reverse(rows.begin(), rows.end());
    SetRows(std::move(rows));
}

void CPakListModel::SetRows(std::vector<CListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void CPakListModel::AppendRow(CListRow row)
{
    const int nRow = RowCount();
    beginInsertRows(QModelIndex(), nRow, nRow);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void CPakListModel::SetRow(int nRow, CListRow row)
{
    if (nRow < 0 || nRow >= RowCount())
        return;
    m_rows[static_cast<std::size_t>(nRow)] = std::move(row);
    emit dataChanged(index(nRow, 0), index(nRow, columnCount() - 1));
}

void CPakListModel::RemoveRow(int nRow)
{
    if (nRow < 0 || nRow >= RowCount())
        return;
    beginRemoveRows(QModelIndex(), nRow, nRow);
    m_rows.erase(m_rows.begin() + nRow);
    endRemoveRows();
}

int CPakListModel::FindRow(const QString& name) const
{
    for (int nRow = 0; nRow < RowCount(); ++nRow) {
        if (Row(nRow).strName.compare(name, Qt::CaseInsensitive) == 0)
            return nRow;
    }
    return -1;
}

int CPakListModel::FindRawRow(const std::string& rawName) const
{
    for (int nRow = 0; nRow < RowCount(); ++nRow) {
        if (Row(nRow).strRawName == rawName)
            return nRow;
    }
    return FindRow(DecodeName(rawName));
}

void CPakListModel::SetDropRow(int nRow)
{
    if (nRow == m_nDropRow)
        return;
    const int nOld = m_nDropRow;
    m_nDropRow = nRow;
    for (const int n : {nOld, nRow}) {
        if (n >= 0 && n < RowCount())
            emit dataChanged(index(n, 0), index(n, columnCount() - 1), {Qt::BackgroundRole, Qt::ForegroundRole});
    }
}

int CPakListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int CPakListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant CPakListModel::data(const QModelIndex& index, int nRole) const
{
    if (!index.isValid() || index.row() >= RowCount())
        return {};
    const CListRow& row = Row(index.row());
    switch (nRole) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (index.column()) {
        case colName: return row.strName;
        case colSize: return row.nSizeKB < 0 ? QString() : FormatSizeKB(row.nSizeKB);
        case colType: return row.strType;
        }
        break;
    case Qt::DecorationRole:
        if (index.column() != colName)
            break;
        if (row.nKind == kindFolder)
            return m_folderIcon;
        return m_fileIcon ? m_fileIcon(row) : QIcon();
    case Qt::TextAlignmentRole:
        if (index.column() == colSize)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        break;
    // The folder row a drop would go into.
    case Qt::BackgroundRole:
        if (index.row() == m_nDropRow)
            return QGuiApplication::palette().highlight();
        break;
    case Qt::ForegroundRole:
        if (index.row() == m_nDropRow)
            return QGuiApplication::palette().highlightedText();
        break;
    }
    return {};
}

bool CPakListModel::setData(const QModelIndex& index, const QVariant& value, int nRole)
{
    if (nRole != Qt::EditRole || !index.isValid() || index.column() != colName)
        return false;
    // A rename changes the pak first; the row follows only when that worked,
    // so the edit itself never changes the row.
    const QString text = value.toString();
    if (!text.isEmpty() && m_onEndEdit)
        m_onEndEdit(index.row(), text);
    return false;
}

QVariant CPakListModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (nRole == Qt::DisplayRole) {
        switch (nSection) {
        case colName: return QStringLiteral("Name");
        case colSize: return QStringLiteral("Size");
        case colType: return QStringLiteral("Type");
        }
    }
    if (nRole == Qt::TextAlignmentRole)
        return QVariant::fromValue((nSection == colSize ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags CPakListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Rows are dragged out as files.
    Qt::ItemFlags itemFlags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (index.column() == colName)
        itemFlags |= Qt::ItemIsEditable;
    return itemFlags;
}

}  // namespace vantor
