#pragma once
// A read-only table model over one statement of the shared connection, with columns computed per
// row (look-ups and calculated fields) after the statement's own. Rows are fetched lazily as a
// view scrolls, so lists of a million punches open at once. Changes go through Database::exec;
// refresh() then shows them.

#include "database.h"

#include <QSqlQueryModel>
#include <QSqlRecord>

#include <functional>

namespace kelvork {

class DatasetModel : public QSqlQueryModel {
    Q_OBJECT
public:
    // Computes one extra column from the current row's record.
    using Compute = std::function<QVariant(const QSqlRecord& row)>;

    // `db` must outlive the model. The statement is set with setStatement and run with open().
    DatasetModel(Database& db, QString name, QObject* parent = nullptr);

    const QString& name() const { return name_; }   // the dataset's name (QryUser, Qryrecord ...)

    // Adds a computed column named `column`, shown after the statement's columns in the order added.
    void addComputedColumn(const QString& column, Compute compute);

    // Sets the statement and its parameters; closes the model (no rows until open()).
    void setStatement(const QString& sql, const Params& params = {});
    const QString& statement() const { return sql_; }

    // Runs the statement. On failure the model is empty and the status carries the engine's text.
    DbStatus open();
    void close();
    bool isOpen() const { return open_; }
    // Runs the statement again (after changes), keeping statement and parameters.
    DbStatus refresh() { return open(); }

    // Fetches every row now (for callers that walk the whole list, e.g. "select all").
    void fetchAll();

    // Column index by name, statement or computed columns, letter case ignored; -1 when unknown.
    int columnIndex(const QString& column) const;
    // The value of `column` in `row` (computed columns included), normalised as Query::value.
    QVariant valueAt(int row, const QString& column) const;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    Database& db_;
    QString name_;
    QString sql_;
    Params params_;
    bool open_ = false;
    struct Computed { QString column; Compute compute; };
    QList<Computed> computed_;
};

} // namespace kelvork
