#pragma once
// The rows of the operation-log viewer's list DB_Oplog: number, operator name, moment, text.

#include "oplog_search.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace kelvork::oplog {

class OpLogModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColLogid, ColOPname, ColOptime, ColOPlog, ColumnCount };

    explicit OpLogModel(QObject* parent = nullptr);

    // Replaces every row.
    void setEntries(std::vector<LogEntry> entries);
    const std::vector<LogEntry>& entries() const { return entries_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Column captions are set from the language file.
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role = Qt::EditRole) override;

private:
    std::vector<LogEntry> entries_;
    QStringList headers_;
};

} // namespace kelvork::oplog
