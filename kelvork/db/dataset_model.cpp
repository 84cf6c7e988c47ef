#include "dataset_model.h"

#include "schema.h"

#include <QDate>
#include <QDateTime>
#include <QSqlError>

namespace kelvork {

namespace {

// Values as a SQLite file shows them, whichever engine read them.
QVariant sqliteLook(const QVariant& v)
{
    if (v.isNull()) return v;
    switch (v.typeId()) {
    case QMetaType::QDateTime: return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::Bool: return QVariant(v.toBool() ? 1 : 0);
    default: return v;
    }
}

} // namespace

DatasetModel::DatasetModel(Database& db, QString name, QObject* parent)
    : QSqlQueryModel(parent), db_(db), name_(std::move(name))
{
}

void DatasetModel::addComputedColumn(const QString& column, Compute compute)
{
    beginResetModel();
    computed_.append({column, std::move(compute)});
    endResetModel();
}

void DatasetModel::setStatement(const QString& sql, const Params& params)
{
    close();
    sql_ = sql;
    params_ = params;
}

DbStatus DatasetModel::open()
{
    DbStatus st;
    QSqlQuery q = db_.prepare(sql_, params_, &st);
    if (!st.ok()) {
        close();
        return st;
    }
    if (!q.exec()) {
        const QString message = q.lastError().databaseText().isEmpty() ? q.lastError().text() : q.lastError().databaseText();
        close();
        return DbStatus::failure(message);
    }
    setQuery(std::move(q));
    open_ = true;
    return DbStatus::success();
}

void DatasetModel::close()
{
    if (!open_ && query().isActive() == false && QSqlQueryModel::columnCount() == 0) return;
    clear();
    open_ = false;
}

void DatasetModel::fetchAll()
{
    while (canFetchMore()) fetchMore();
}

int DatasetModel::columnIndex(const QString& column) const
{
    const QSqlRecord r = record();
    const int i = r.indexOf(column);
    if (i >= 0) return i;
    for (int k = 0; k < computed_.size(); ++k)
        if (computed_[k].column.compare(column, Qt::CaseInsensitive) == 0) return r.count() + k;
    return -1;
}

QVariant DatasetModel::valueAt(int row, const QString& column) const
{
    const int c = columnIndex(column);
    return c < 0 ? QVariant() : data(index(row, c), Qt::EditRole);
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid()) return 0;
    const int base = QSqlQueryModel::columnCount();
    return open_ ? base + int(computed_.size()) : base;
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return QSqlQueryModel::data(index, role);
    const int base = QSqlQueryModel::columnCount();
    if (index.column() < base) return sqliteLook(QSqlQueryModel::data(index, role));
    const int k = index.column() - base;
    if (k >= computed_.size() || index.row() >= rowCount()) return {};
    return computed_[k].compute(record(index.row()));
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const int base = QSqlQueryModel::columnCount();
        if (section < base) {
            const QString name = record().fieldName(section);
            return db_.engine() == Engine::PostgreSQL ? canonicalColumnName(name, sql_) : name;
        }
        if (section - base < computed_.size()) return computed_[section - base].column;
    }
    return QSqlQueryModel::headerData(section, orientation, role);
}

} // namespace kelvork
