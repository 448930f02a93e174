#pragma once
// The grid's view of the usage list: the columns 连接, 电脑 (the PC that recorded it),
// 连接日期时间, 断开日期时间 and 上网时间 and the bytes 接收 and 发送, with their alignments and colours.
// Rows are read from the list only when the grid shows them.

#include "browser/RecordList.h"

#include <QAbstractTableModel>

namespace xr {

class RecordListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ConnNameColumn,
        StationColumn,
        SdtColumn,
        EdtColumn,
        TimeColumn,
        ReceivedColumn,
        SentColumn,
        ColumnCount
    };

    explicit RecordListModel(QObject* parent = nullptr);

    const RecordList& list() const { return m_list; }
    // Opens the list with `query` (DatabaseError or DateConversionError leave it closed).
    void open(const QSqlDatabase& db, RecordQuery query);
    void close();
    // Deletes row `row` from the table and the list; DatabaseError leaves both as they were.
    void removeRecord(int row);
    void assignRecord(int row, const QString& userId) { m_list.assignRecord(row, userId); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant displayText(int row, int column) const;

    RecordList m_list;
};

} // namespace xr
