#include "browser/RecordListModel.h"

#include "browser/ByteCountText.h"
#include "common/DisplayFormats.h"
#include "store/DatabaseError.h"
#include "store/DayCount.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace xr {

namespace {

const QColor kSkyBlue(0xA6, 0xCA, 0xF0);

Qt::Alignment columnAlignment(int column)
{
    switch (column) {
    case RecordListModel::ConnNameColumn:
    case RecordListModel::StationColumn:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case RecordListModel::ReceivedColumn:
    case RecordListModel::SentColumn:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignCenter;
    }
}

QColor columnBackground(int column)
{
    const QPalette palette = QGuiApplication::palette();
    switch (column) {
    case RecordListModel::SdtColumn:
        return palette.color(QPalette::ToolTipBase);
    case RecordListModel::EdtColumn:
        return kSkyBlue;
    default:
        return palette.color(QPalette::Base);
    }
}

QString columnTitle(int column)
{
    switch (column) {
    case RecordListModel::ConnNameColumn:
        return QStringLiteral("连接");
    case RecordListModel::StationColumn:
        return QStringLiteral("电脑");
    case RecordListModel::SdtColumn:
        return QStringLiteral("连接日期时间");
    case RecordListModel::EdtColumn:
        return QStringLiteral("断开日期时间");
    case RecordListModel::TimeColumn:
        return QStringLiteral("上网时间");
    case RecordListModel::ReceivedColumn:
        return QStringLiteral("接收");
    default:
        return QStringLiteral("发送");
    }
}

} // namespace

RecordListModel::RecordListModel(QObject* parent) : QAbstractTableModel(parent) {}

void RecordListModel::open(const QSqlDatabase& db, RecordQuery query)
{
    beginResetModel();
    try {
        m_list.open(db, std::move(query));
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

void RecordListModel::close()
{
    beginResetModel();
    m_list.close();
    endResetModel();
}

// Views hear of the removal only once the table has let the row go.
void RecordListModel::removeRecord(int row)
{
    const UsageRecord deleted = m_list.deleteRecord(row);
    beginRemoveRows(QModelIndex(), row, row);
    m_list.forgetRecord(row, deleted);
    endRemoveRows();
}

int RecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list.count();
}

int RecordListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return displayText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(columnAlignment(index.column()));
    case Qt::BackgroundRole:
        return columnBackground(index.column());
    default:
        return {};
    }
}

QVariant RecordListModel::displayText(int row, int column) const
{
    UsageRecord record;
    try {
        record = m_list.record(row);
    } catch (const DatabaseError&) {
        // The grid asks while it paints, where no error may escape; the row shows empty, and
        // the next opening of the list reports the database's state.
        return {};
    }
    switch (column) {
    case ConnNameColumn:
        return record.ConnName;
    case StationColumn:
        return record.Station;
    case SdtColumn:
        return dateTimeText(fromDayCount(record.Sdt));
    case EdtColumn:
        return dateTimeText(fromDayCount(record.Edt));
    case TimeColumn:
        return record.Time;
    case ReceivedColumn:
        return byteCountText(record.RxBytes);
    default:
        return byteCountText(record.TxBytes);
    }
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    if (role == Qt::DisplayRole)
        return columnTitle(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columnAlignment(section));
    return {};
}

} // namespace xr
