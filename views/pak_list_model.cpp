#include "pak_list_model.h"

#include "view_text.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

namespace vantor {

namespace {

// The query's spans in a name's bytes, as positions in the name shown. A
// name shown as its bytes maps one to one; others are mapped by decoding
// each span's start and end.
QList<int> ShownSpans(const std::string& raw, const QString& shown, const CNameQuery& query)
{
    QList<int> spans;
    const bool bOneToOne = static_cast<qsizetype>(raw.size()) == shown.size() &&
                           std::all_of(raw.begin(), raw.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    const auto shownAt = [&](std::size_t nByte) -> int {
        if (bOneToOne || nByte == 0)
            return static_cast<int>(nByte);
        return static_cast<int>(DecodeName(std::string_view(raw).substr(0, nByte)).size());
    };
    for (const auto& [nFirst, nEnd] : query.MatchedSpans(raw)) {
        const int nStart = shownAt(nFirst);
        spans << nStart << std::max(0, shownAt(nEnd) - nStart);
    }
    return spans;
}

// Rows in CompareNames' order of their shown names, equal names kept in
// the order they came. Plain names are compared by their bytes (the same
// order without making and folding text), first by a folded prefix held
// beside the row's number, so that sorting a million rows reads memory in
// order instead of chasing each row's name.
void SortByName(std::vector<CListRow>& rows)
{
    struct CKey {
        std::array<char, 31> prefix{};  // folded; shorter names padded with 0, below every plain byte
        bool bPlain = false;
        std::uint32_t nRow = 0;
    };
    std::vector<CKey> keys(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string& raw = rows[i].strRawName;
        CKey& key = keys[i];
        key.nRow = static_cast<std::uint32_t>(i);
        key.bPlain = IsPlainName(raw);
        for (std::size_t n = 0; n < key.prefix.size() && n < raw.size(); ++n)
            key.prefix[n] = FoldAsciiLetter(raw[n]);
    }
    std::sort(keys.begin(), keys.end(), [&](const CKey& a, const CKey& b) {
        int nOrder = 0;
        if (a.bPlain && b.bPlain) {
            nOrder = std::memcmp(a.prefix.data(), b.prefix.data(), a.prefix.size());
            if (nOrder == 0)
                nOrder = ComparePlainNames(rows[a.nRow].strRawName, rows[b.nRow].strRawName);
        } else {
            nOrder = CompareNames(rows[a.nRow].strName, rows[b.nRow].strName);
        }
        return nOrder != 0 ? nOrder < 0 : a.nRow < b.nRow;
    });
    std::vector<CListRow> sorted;
    sorted.reserve(rows.size());
    for (const CKey& key : keys)
        sorted.push_back(std::move(rows[key.nRow]));
    rows = std::move(sorted);
}

}  // namespace

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
    SortByName(folders);
    SortByName(files);
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
    // Laid out now, a small share of making the rows, so that the first
    // keystroke of a filter only matches.
    m_bNamesStale = true;
    MatchNames();
    if (m_bFiltered)
        MatchAllRows();
    endResetModel();
    emit rowsChanged();
}

const CNameTable& CPakListModel::MatchNames() const
{
    if (m_bNamesStale) {
        m_names.Clear();
        std::size_t nBytes = 0;
        for (const CListRow& row : m_rows)
            nBytes += row.strRawName.size();
        m_names.Reserve(m_rows.size(), nBytes);
        for (const CListRow& row : m_rows)
            m_names.Append(row.strRawName);
        m_bNamesStale = false;
    }
    return m_names;
}

void CPakListModel::MatchAllRows()
{
    m_shown.clear();
    const CNameTable& names = MatchNames();
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_query.Matches(names, i))
            m_shown.push_back(static_cast<std::uint32_t>(i));
    }
}

void CPakListModel::SetFilter(const std::string& text, std::vector<std::uint32_t> shown)
{
    // A key that leaves the rows as they are (shown is ascending, so as many
    // rows as all of them are all of them): no reset, so the selection and
    // the scroll place stay and a million rows are not laid out again; only
    // the marks of the matched parts change.
    if (m_bFiltered ? shown == m_shown : shown.size() == m_rows.size()) {
        m_bFiltered = true;
        m_filterText = text;
        m_query = CNameQuery(text);
        m_shown = std::move(shown);
        emit matchMarksChanged();
        emit rowsChanged();
        return;
    }
    beginResetModel();
    m_bFiltered = true;
    m_filterText = text;
    m_query = CNameQuery(text);
    m_shown = std::move(shown);
    m_nDropRow = -1;
    endResetModel();
    emit rowsChanged();
}

void CPakListModel::ClearFilter()
{
    if (!m_bFiltered)
        return;
    // Every row was shown already: only the marks go (see SetFilter).
    const bool bSameRows = m_shown.size() == m_rows.size();
    if (!bSameRows)
        beginResetModel();
    m_bFiltered = false;
    m_filterText.clear();
    m_query = CNameQuery();
    m_shown.clear();
    m_shown.shrink_to_fit();
    if (bSameRows) {
        emit matchMarksChanged();
    } else {
        m_nDropRow = -1;
        endResetModel();
    }
    emit rowsChanged();
}

void CPakListModel::AppendRow(CListRow row)
{
    // A row the filter would hide joins the others unseen.
    const bool bShown = !m_bFiltered || m_query.Matches(row.strRawName);
    const int nRow = RowCount();
    if (bShown)
        beginInsertRows(QModelIndex(), nRow, nRow);
    if (!m_bNamesStale)
        m_names.Append(row.strRawName);
    m_rows.push_back(std::move(row));
    if (bShown && m_bFiltered)
        m_shown.push_back(static_cast<std::uint32_t>(m_rows.size() - 1));
    if (bShown)
        endInsertRows();
    emit rowsChanged();
}

void CPakListModel::SetRow(int nRow, CListRow row)
{
    if (nRow < 0 || nRow >= RowCount())
        return;
    // A renamed row stays in sight even when the filter would now hide it.
    m_rows[Index(nRow)] = std::move(row);
    m_bNamesStale = true;
    emit dataChanged(index(nRow, 0), index(nRow, columnCount() - 1));
}

void CPakListModel::RemoveRow(int nRow)
{
    if (nRow < 0 || nRow >= RowCount())
        return;
    beginRemoveRows(QModelIndex(), nRow, nRow);
    const std::size_t nIndex = Index(nRow);
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(nIndex));
    m_bNamesStale = true;
    if (m_bFiltered) {
        m_shown.erase(m_shown.begin() + nRow);
        for (std::uint32_t& n : m_shown) {
            if (n > nIndex)
                --n;
        }
    }
    endRemoveRows();
    emit rowsChanged();
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
    case kMatchSpansRole:
        if (index.column() != colName || !m_bFiltered)
            break;
        return QVariant::fromValue(ShownSpans(row.strRawName, row.strName, m_query));
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
