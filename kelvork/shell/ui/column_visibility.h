#pragma once
// Grid column layouts kept per user: QSettings of organisation "QueltFingerPrint", one group per
// list ("UserInfo", "SelRecord", "BeforeCheck", ...), value "Visible" under Columns/<column name>.

#include <QString>

class QAction;
class QSettings;
class QTableView;

namespace kelvork::ui {

// The settings store of the grid layouts (organisation "QueltFingerPrint", application "Kelvork").
QSettings& gridLayoutSettings();

// The settings key of `registryPath`, a path of the form
// "Software\QueltFingerPrint\UserInfo\Columns\DB_UserColumn1" (a leading "\" and either slash are
// accepted): "UserInfo/Columns/DB_UserColumn1".
QString gridLayoutKey(const QString& registryPath);

// The path of one column: "Software\QueltFingerPrint\" + list + "\Columns\" + column.
QString columnRegistryPath(const QString& listName, const QString& columnName);

// Visible unless the stored "Visible" value is exactly "0"; a missing value counts as visible.
bool columnVisible(const QString& registryPath);
// Stores "1" or "0" as the column's "Visible" value.
void setColumnVisible(const QString& registryPath, bool visible);

// Flips `item`'s check mark and shows `column` of `grid` exactly when the item is now checked.
void toggleColumn(QAction* item, QTableView* grid, int column);

} // namespace kelvork::ui
