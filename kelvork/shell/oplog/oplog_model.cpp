#include "oplog_model.h"

namespace kelvork::oplog {

OpLogModel::OpLogModel(QObject* parent)
    : QAbstractTableModel(parent),
      headers_{QStringLiteral("序号"), QStringLiteral("姓名"), QStringLiteral("日期时间"), QStringLiteral("备注说明")}
{
}

void OpLogModel::setEntries(std::vector<LogEntry> entries)
{
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

int OpLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(entries_.size());
}

int OpLogModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant OpLogModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const LogEntry& e = entries_[std::size_t(index.row())];
    switch (index.column()) {
    case ColLogid: return e.Logid;
    case ColOPname: return e.OPname;
    case ColOptime: return e.Optime;
    case ColOPlog: return e.OPlog;
    default: return {};
    }
}

QVariant OpLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < headers_.size())
        return headers_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool OpLogModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role)
{
    if (orientation != Qt::Horizontal || (role != Qt::EditRole && role != Qt::DisplayRole) || section < 0
        || section >= headers_.size())
        return false;
    headers_[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

} // namespace kelvork::oplog
