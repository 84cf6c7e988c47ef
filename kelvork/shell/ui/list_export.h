#pragma once
// List export, shared by the list screens: the operator picks a file and the grid's rows are
// written as TAB-separated text (.txt) or as a spreadsheet (.xlsx).

#include <QList>
#include <QString>

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace kelvork::ui {

enum class ExportFormat { Text, Spreadsheet };

// `path` with the extension the format demands (".txt" or ".xlsx"), replacing any other one:
// Report.dat becomes Report.txt, Report becomes Report.txt.
QString forceExportExtension(const QString& path, ExportFormat format);

// The save dialog's filter in Qt's form, made from key SaveDialogOutFilter ("desc|pattern|...");
// the spreadsheet entry always offers *.xlsx.
QString exportFilter();

// The whole export: the save dialog (cancel stops), then exportListTo.
void exportList(QWidget* parent, const QTableView* grid);

// Everything after the dialog: forces the extension, asks FileExist when the file is there (Cancel
// stops), writes every row of the grid's visible columns in their shown order with a header line
// of the column captions, and shows OutFile. A failed write shows the reason and leaves an existing
// file untouched. Returns the path written, or an empty text when nothing was written.
QString exportListTo(QWidget* parent, const QTableView* grid, const QString& chosenPath, ExportFormat format);

// The writers alone. `columns` are model columns in output order. Every row of the model is
// written (lazily fetched rows are fetched first). The file is replaced atomically.
bool writeTabText(QAbstractItemModel& model, const QList<int>& columns, const QString& path,
                  QString* error = nullptr);
bool writeXlsx(QAbstractItemModel& model, const QList<int>& columns, const QString& path,
               QString* error = nullptr);

// The visible columns of `grid` in the order they are shown.
QList<int> visibleColumns(const QTableView* grid);

} // namespace kelvork::ui
