// CPakListModel: the rows of the item list and the order they are shown in.
// A folder's rows are ordered once, when they are put in (SetFolderRows);
// rows added later are appended. Rows are small values; icons are asked for
// only when a row is painted. A filter hides the rows its query does not
// match: row numbers, counts and lookups are then those of the rows shown.
#pragma once

#include "name_query.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vantor {

// The row kinds, as the engine's callers name an item.
enum ItemKind : int {
    kindFile = 0,
    kindFolder = 1,
};

struct CListRow {
    // The name's bytes in the pak, for engine calls; from the root (the
    // full entry name) while the list shows every folder.
    std::string strRawName;
    QString strName;         // the name as shown
    int nKind = kindFile;
    int nSizeKB = -1;  // -1 for no size (folders)
    qint64 nBytes = 0;  // what totals add up
    QString strType;
};

class CPakListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { colName = 0, colSize = 1, colType = 2 };
    // The Name column's matched parts while a filter is on: a QList<int> of
    // start and length pairs in the shown text.
    static constexpr int kMatchSpansRole = Qt::UserRole + 1;

    // The column the rows are ordered by, and its direction.
    struct COrder {
        Column column = colName;
        bool bAscending = true;
    };

    explicit CPakListModel(QObject* pParent = nullptr);

    // The icon of a file row, looked up when the row is first painted.
    std::function<QIcon(const CListRow&)> m_fileIcon;
    QIcon m_folderIcon;
    // Called when an in-place edit of a name ends with a text; the row
    // itself never takes the text.
    std::function<void(int nRow, const QString& text)> m_onEndEdit;

    const COrder& Order() const { return m_order; }
    // Takes effect when the next folder's rows are put in.
    void SetOrder(COrder order) { m_order = order; }
    // A click on a column heading: that column ascending, or the other
    // direction when it is the column already ordered by.
    void ToggleOrder(Column column);

    // Shows a folder's rows in the order: folders by name, then files by
    // the order's column (stable, by name within equal keys); descending is
    // the exact reverse, files first.
    void SetFolderRows(std::vector<CListRow> folders, std::vector<CListRow> files);
    void SetRows(std::vector<CListRow> rows);
    void AppendRow(CListRow row);
    // A row that changed in place (renamed).
    void SetRow(int nRow, CListRow row);
    void RemoveRow(int nRow);
    const CListRow& Row(int nRow) const { return m_rows[Index(nRow)]; }
    int RowCount() const { return static_cast<int>(m_bFiltered ? m_shown.size() : m_rows.size()); }

    // --- The filter --------------------------------------------------------------
    // Shows only the rows at the indices shown (ascending, into AllRows),
    // which the query matched; rows put in later are matched as they come.
    void SetFilter(const std::string& text, std::vector<std::uint32_t> shown);
    void ClearFilter();
    bool IsFiltered() const { return m_bFiltered; }
    const std::string& FilterText() const { return m_filterText; }
    const CNameQuery& FilterQuery() const { return m_query; }
    const std::vector<std::uint32_t>& ShownIndices() const { return m_shown; }
    // Every row, shown or not.
    const std::vector<CListRow>& AllRows() const { return m_rows; }
    // Every row's raw name, in AllRows' order, laid out for matching; made
    // again when first asked for after a row changed or went.
    const CNameTable& MatchNames() const;
    int AllRowCount() const { return static_cast<int>(m_rows.size()); }
    // The first row whose name equals name, ignoring case; -1 when none.
    int FindRow(const QString& name) const;
    // The row with exactly these name bytes, else FindRow's; -1 when none.
    int FindRawRow(const std::string& rawName) const;
    // The folder row a drag hovers, shown highlighted; -1 for none.
    void SetDropRow(int nRow);
    int GetDropRow() const { return m_nDropRow; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int nRole) override;
    QVariant headerData(int nSection, Qt::Orientation orientation, int nRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The rows shown or their number changed.
    void rowsChanged();
    // kMatchSpansRole changed for every row, the rows themselves did not.
    // Not a dataChanged over every row: a tree view walks all of them for
    // that, a million after one keystroke.
    void matchMarksChanged();

private:
    std::size_t Index(int nRow) const
    {
        return m_bFiltered ? m_shown[static_cast<std::size_t>(nRow)] : static_cast<std::size_t>(nRow);
    }
    void MatchAllRows();

    std::vector<CListRow> m_rows;
    mutable CNameTable m_names;
    mutable bool m_bNamesStale = true;
    bool m_bFiltered = false;
    std::string m_filterText;
    CNameQuery m_query;
    std::vector<std::uint32_t> m_shown;
    COrder m_order;
    int m_nDropRow = -1;
};

}  // namespace vantor
