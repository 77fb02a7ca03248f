// CPakListModel: the rows of the item list, in exactly the order they were
// put in. It never sorts: the tree decides the order when it fills the list.
// Rows are small values; icons are asked for only when a row is painted.
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

    explicit CPakListModel(QObject* pParent = nullptr);

    // The icon of a file row, looked up when the row is first painted.
    std::function<QIcon(const CListRow&)> m_fileIcon;
    QIcon m_folderIcon;
    // Called when an in-place edit of a name ends with a text; the row
    // itself never takes the text.
    std::function<void(int nRow, const QString& text)> m_onEndEdit;

    void SetRows(std::vector<CListRow> rows);
    void AppendRow(CListRow row);
    void RemoveRow(int nRow);
    const CListRow& Row(int nRow) const { return m_rows[static_cast<std::size_t>(nRow)]; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    // The first row whose name equals name, ignoring case; -1 when none.
    int FindRow(const QString& name) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int nRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int nRole) override;
    QVariant headerData(int nSection, Qt::Orientation orientation, int nRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<CListRow> m_rows;
};

}  // namespace vantor
