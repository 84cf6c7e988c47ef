#include "column_visibility.h"

#include <QAction>
#include <QSettings>
#include <QTableView>

namespace kelvork::ui {

QSettings& gridLayoutSettings()
{
    static QSettings settings(QStringLiteral("QueltFingerPrint"), QStringLiteral("Kelvork"));
    return settings;
}

QString gridLayoutKey(const QString& registryPath)
{
    QString key = registryPath;
    key.replace(u'\\', u'/');
    while (key.startsWith(u'/'))
        key.remove(0, 1);
    const QString prefix = QStringLiteral("Software/QueltFingerPrint/");
    if (key.startsWith(prefix, Qt::CaseInsensitive))
        key.remove(0, prefix.size());
    while (key.endsWith(u'/'))
        key.chop(1);
    return key;
}

QString columnRegistryPath(const QString& listName, const QString& columnName)
{
    return QStringLiteral("Software\\QueltFingerPrint\\") + listName + QStringLiteral("\\Columns\\") + columnName;
}

bool columnVisible(const QString& registryPath)
{
    const QVariant v = gridLayoutSettings().value(gridLayoutKey(registryPath) + QStringLiteral("/Visible"));
    return v.toString() != QLatin1String("0");
}

void setColumnVisible(const QString& registryPath, bool visible)
{
    gridLayoutSettings().setValue(gridLayoutKey(registryPath) + QStringLiteral("/Visible"),
                                  visible ? QStringLiteral("1") : QStringLiteral("0"));
}

void toggleColumn(QAction* item, QTableView* grid, int column)
{
    if (!item || !grid)
        return;
    item->setCheckable(true);
    item->setChecked(!item->isChecked());
    grid->setColumnHidden(column, !item->isChecked());
}

} // namespace kelvork::ui
