#include "list_export.h"

#include "message_box.h"
#include "texts.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QSaveFile>
#include <QTableView>

#include <xlsxwriter.h>

#include <cstdio>

namespace kelvork::ui {
namespace {

void fetchAll(QAbstractItemModel& model)
{
    while (model.canFetchMore(QModelIndex()))
        model.fetchMore(QModelIndex());
}

QString header(const QAbstractItemModel& model, int column)
{
    return model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

QString cellText(const QAbstractItemModel& model, int row, int column)
{
    return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

// A field may not break the TAB layout: tabs and line breaks inside it become blanks.
QString textField(QString s)
{
    for (QChar& c : s)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return s;
}

bool isNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Short: case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

} // namespace

QString forceExportExtension(const QString& path, ExportFormat format)
{
    const QString ext = format == ExportFormat::Text ? QStringLiteral(".txt") : QStringLiteral(".xlsx");
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString folder = path.left(path.size() - name.size());
    return folder + base + ext;
}

QString exportFilter()
{
    const QString raw = texts::resource(
        "SaveDialogOutFilter", "文本文档 (*.txt)|*.txt|Microsoft Excel 文件 (*.xlsx)|*.xlsx");
    const QStringList parts = raw.split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size() && filters.size() < 2; i += 2) {
        QString desc = parts[i].trimmed();
        QString pattern = parts[i + 1].trimmed();
        if (filters.size() == 1) {   // the spreadsheet entry writes .xlsx whatever the file says
            desc.replace(QStringLiteral("*.xlsx"), QStringLiteral("*.xls")).replace(QStringLiteral("*.xls"), QStringLiteral("*.xlsx"));
            pattern = QStringLiteral("*.xlsx");
        }
        filters << (desc.contains(u'(') ? desc : desc + QStringLiteral(" (") + pattern + u')');
    }
    while (filters.size() < 2)
        filters << (filters.isEmpty() ? QStringLiteral("Text (*.txt)") : QStringLiteral("Excel (*.xlsx)"));
    return filters.join(QStringLiteral(";;"));
}

QList<int> visibleColumns(const QTableView* grid)
{
    QList<int> columns;
    const QAbstractItemModel* model = grid->model();
    if (!model)
        return columns;
    const QHeaderView* h = grid->horizontalHeader();
    for (int visual = 0; visual < model->columnCount(); ++visual) {
        const int logical = h->logicalIndex(visual);
        if (logical >= 0 && !grid->isColumnHidden(logical))
            columns << logical;
    }
    return columns;
}

bool writeTabText(QAbstractItemModel& model, const QList<int>& columns, const QString& path, QString* error)
{
    fetchAll(model);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    auto line = [&](auto field) {
        QStringList fields;
        for (int c : columns)
            fields << textField(field(c));
        file.write(fields.join(u'\t').toUtf8());
        file.write("\r\n");
    };
    line([&](int c) { return header(model, c); });
    for (int r = 0; r < model.rowCount(); ++r)
        line([&](int c) { return cellText(model, r, c); });
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

bool writeXlsx(QAbstractItemModel& model, const QList<int>& columns, const QString& path, QString* error)
{
    fetchAll(model);
    // libxlsxwriter writes the whole file at close; it goes to a temporary name first so that an
    // existing file is replaced only by a complete one.
    const QString temp = path + QStringLiteral(".part");
    const QByteArray tempName = QFile::encodeName(temp);
    lxw_workbook* book = workbook_new(tempName.constData());
    if (!book) {
        if (error) *error = QObject::tr("cannot create %1").arg(temp);
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    for (int i = 0; i < columns.size(); ++i) {
        const QByteArray h = header(model, columns[i]).toUtf8();
        worksheet_write_string(sheet, 0, lxw_col_t(i), h.constData(), bold);
    }
    for (int r = 0; r < model.rowCount(); ++r) {
        for (int i = 0; i < columns.size(); ++i) {
            const QModelIndex idx = model.index(r, columns[i]);
            const QVariant v = model.data(idx, Qt::EditRole);
            const auto row = lxw_row_t(r + 1);
            const auto col = lxw_col_t(i);
            if (isNumber(v) && !v.isNull()) {
                worksheet_write_number(sheet, row, col, v.toDouble(), nullptr);
            } else {
                const QString s = model.data(idx, Qt::DisplayRole).toString();
                if (!s.isEmpty())
                    worksheet_write_string(sheet, row, col, s.toUtf8().constData(), nullptr);
            }
        }
    }
    const lxw_error rc = workbook_close(book);
    if (rc != LXW_NO_ERROR) {
        QFile::remove(temp);
        if (error) *error = QString::fromUtf8(lxw_strerror(rc));
        return false;
    }
    if (std::rename(tempName.constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temp);
        if (error) *error = QObject::tr("cannot replace %1").arg(path);
        return false;
    }
    return true;
}

QString exportListTo(QWidget* parent, const QTableView* grid, const QString& chosenPath, ExportFormat format)
{
    if (!grid || !grid->model())
        return {};
    const QString path = forceExportExtension(chosenPath, format);
    if (QFileInfo::exists(path)) {
        const QString question = texts::resource(
            "FileExist", "此文件夹中已包含一个名为\" %s \"的文件,\r\n是否替换现有文件?");
        if (!confirm(parent, QString(question).replace(QStringLiteral("%s"), QFileInfo(path).fileName())))
            return {};
    }
    QString error;
    auto* model = const_cast<QAbstractItemModel*>(grid->model());
    const QList<int> columns = visibleColumns(grid);
    const bool ok = format == ExportFormat::Text ? writeTabText(*model, columns, path, &error)
                                                 : writeXlsx(*model, columns, path, &error);
    if (!ok) {
        showWarning(parent, texts::resource("OutFileFail", "文件导出失败：%s")
                                .replace(QStringLiteral("%s"), QDir::toNativeSeparators(path) + u' ' + error));
        return {};
    }
    showNotice(parent, texts::resource("OutFile", "记录已成功导出到“ %s ”")
                           .replace(QStringLiteral("%s"), QDir::toNativeSeparators(path)));
    return path;
}

void exportList(QWidget* parent, const QTableView* grid)
{
    const QString filters = exportFilter();
    QString selected = filters.section(QStringLiteral(";;"), 0, 0);
    const QString path = QFileDialog::getSaveFileName(parent, QString(), QString(), filters, &selected,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return;
    const ExportFormat format = selected == filters.section(QStringLiteral(";;"), 1, 1)
                                    ? ExportFormat::Spreadsheet : ExportFormat::Text;
    exportListTo(parent, grid, path, format);
}

} // namespace kelvork::ui
