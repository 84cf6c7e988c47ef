#include "operation_log.h"

#include "data_module.h"
#include "rights.h"
#include "texts.h"

namespace kelvork::oplog {

int loggedInOpid()
{
    const operators::TCZY& czy = operators::CZY();
    return czy.loggedIn ? czy.Opid : 0;
}

DbStatus writeEntry(Database& db, int opid, const QString& text)
{
    return db.exec(QStringLiteral("insert into OPLog (OPid, OPlog) values (:OPid, :OPlog)"),
                   {{QStringLiteral("OPid"), opid}, {QStringLiteral("OPlog"), text.left(kMaxEntryLength)}});
}

DbStatus write(Database& db, const QString& text)
{
    return writeEntry(db, loggedInOpid(), text);
}

DbStatus write(const QString& text)
{
    return write(DM().db(), text);
}

namespace {
// The catalogue's %s entries name a file or a date; arg() would also read %1 in a file name.
QString withName(QString pattern, const QString& name)
{
    return pattern.replace(QStringLiteral("%s"), name);
}
} // namespace

QString WriteOPLog1(const QString& databasePath)
{
    return texts::resource(QStringLiteral("WriteOPLog1"), QStringLiteral("将数据库连接到：")) + databasePath;
}
QString WriteOPLog2() { return texts::resource(QStringLiteral("WriteOPLog2"), QStringLiteral("初始化系统")); }
QString WriteOPLog3(const QString& operatorName)
{
    return texts::resource(QStringLiteral("WriteOPLog3"), QStringLiteral("删除管理员 ")) + operatorName;
}
QString WriteOPLog4(const QString& operatorName)
{
    return texts::resource(QStringLiteral("WriteOPLog4"), QStringLiteral("增加管理员 ")) + operatorName;
}
QString WriteOPLog5(const QString& deptName)
{
    return texts::resource(QStringLiteral("WriteOPLog5"), QStringLiteral("删除部门 ")) + deptName;
}
QString WriteOPLog6() { return texts::resource(QStringLiteral("WriteOPLog6"), QStringLiteral("进行员工维护，删除员工")); }
QString WriteOPLog7() { return texts::resource(QStringLiteral("WriteOPLog7"), QStringLiteral("操作系统参数设定")); }
QString WriteOPLog8() { return texts::resource(QStringLiteral("WriteOPLog8"), QStringLiteral("操作节假日设定")); }
QString WriteOPLog9(const QString& fileName)
{
    return withName(texts::resource(QStringLiteral("WriteOPLog9"), QStringLiteral("由文件“ %s ”导入考勤记录")), fileName);
}
QString WriteOPLog10(const QString& fileName)
{
    return withName(texts::resource(QStringLiteral("WriteOPLog10"), QStringLiteral("由文件“ %s ”导入员工")), fileName);
}
QString WriteOPLog11() { return texts::resource(QStringLiteral("WriteOPLog11"), QStringLiteral("操作公出/请假处理")); }
QString WriteOPLog12(const QString& cutOffDate)
{
    return withName(texts::resource(QStringLiteral("WriteOPLog12"), QStringLiteral("清除 “ %s ” 之前的数据")), cutOffDate);
}

} // namespace kelvork::oplog
