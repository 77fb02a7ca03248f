// CPakListModel: the rows of the item list and the order they are shown in.
// A folder's rows are ordered once, when they are put in (SetFolderRows);
// rows added later are appended. Rows are small values; icons are asked for
// only when a row is painted.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>

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
    std::string strRawName;  // the name's bytes in the pak, for engine calls
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
    const CListRow& Row(int nRow) const { return m_rows[static_cast<std::size_t>(nRow)]; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
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

private:
    std::vector<CListRow> m_rows;
    COrder m_order;
    int m_nDropRow = -1;
};

}  // namespace vantor
