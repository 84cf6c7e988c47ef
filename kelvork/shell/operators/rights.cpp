#include "rights.h"

#include "message_box.h"
#include "texts.h"

#include <QAction>
#include <QWidget>

namespace kelvork::operators {

QString deptRightsOf(const QList<int>& deptids)
{
    QString out;
    for (const int id : deptids)
        out += QLatin1Char('A') + QString::number(id) + QLatin1Char('Z');
    return out;
}

bool deptPermitted(const QString& deptRights, int deptid)
{
    return deptRights.contains(QLatin1Char('A') + QString::number(deptid) + QLatin1Char('Z'));
}

QString permittedDeptList(const QString& deptRights)
{
    QString rest = deptRights.trimmed();
    QStringList ids;
    for (qsizetype z = rest.indexOf(QLatin1Char('Z')); z >= 0; z = rest.indexOf(QLatin1Char('Z'))) {
        // The number after the leading "A". The list goes into SQL text, so a damaged entry that
        // is not a number is left out instead of breaking (or changing) the statement.
        bool ok = false;
        const int id = z >= 1 ? rest.mid(1, z - 1).toInt(&ok) : 0;
        if (ok)
            ids << QString::number(id);
        rest.remove(0, z + 1);
    }
    return ids.isEmpty() ? QStringLiteral("-1") : ids.join(QLatin1Char(','));
}

bool rightGranted(const QString& rights, int position)
{
    return position < 1 || position > rights.size() || rights.at(position - 1) != QLatin1Char('N');
}

void TCZY::setDeptRights(const QString& value)
{
    deptRights = value;
    deptList = permittedDeptList(value);
}

TCZY& CZY()
{
    static TCZY record;
    return record;
}

bool hasRight(int position)
{
    return rightGranted(CZY().rights, position);
}

bool checkRight(QWidget* parent, int position)
{
    if (hasRight(position))
        return true;
    ui::showNotice(parent, texts::resource(QStringLiteral("NoRight"),
                                           QStringLiteral("您没有该功能的使用权限，请与管理员联系！")));
    return false;
}

QStringList menuItemsOfRight(int position)
{
    static const QList<QStringList> table{
        {"G1", "N11"}, {"C1"}, {"M1"}, {"G2"}, {"B2"}, {"P1"}, {"R2", "L2"}, {"K1"},
        {"R1"}, {"Q1"}, {"W1", "T1"}, {"J1"}, {"M2"}, {"I1"}, {"C3"}, {"X2"}};
    return position >= 1 && position <= table.size() ? table[position - 1] : QStringList();
}

void applyMenuRights(QWidget* mainWindow)
{
    const QString& rights = CZY().rights;
    if (!mainWindow || rights.isEmpty())
        return;
    for (int position = 1; position <= 16; ++position) {
        const bool granted = rightGranted(rights, position);
        for (const QString& name : menuItemsOfRight(position)) {
            if (auto* action = mainWindow->findChild<QAction*>(name))
                action->setEnabled(granted);
            else if (auto* widget = mainWindow->findChild<QWidget*>(name))
                widget->setEnabled(granted);
        }
    }
}

} // namespace kelvork::operators
