#include "data_module.h"

#include "schema_upgrade.h"

#include <QDate>
#include <QSqlRecord>

namespace kelvork {

namespace {

QVariant field(const QSqlRecord& row, const char* name) { return row.value(QString::fromLatin1(name)); }

} // namespace

TDM::TDM(QObject* parent) : QObject(parent)
{
    QryOP = makeDataset("QryOP", "Select * from OPinfo");
    QryUser = makeDataset("QryUser", "select * from Userinfo");
    QryUser->addComputedColumn("DeptName", [this](const QSqlRecord& r) { return QVariant(deptName(field(r, "Deptid"))); });
    QryUser->addComputedColumn("Userid_int", [](const QSqlRecord& r) { return useridInt(field(r, "Userid").toString()); });
    QryDept = makeDataset("QryDept", "Select * from Dept");
    Qryrecord = makeDataset("Qryrecord", "select * from Checkinout");
    Qryrecord->addComputedColumn("Username", [this](const QSqlRecord& r) { return QVariant(userName(field(r, "Userid"))); });
    Qryrecord->addComputedColumn("Deptname", [this](const QSqlRecord& r) { return QVariant(userDeptName(field(r, "Userid"))); });
    Qryrecord->addComputedColumn("Typename", [](const QSqlRecord& r) { return QVariant(recordTypename(field(r, "Checktype").toString())); });
    Tabholiday = makeDataset("Tabholiday", "select * from Holiday");
    TabClass = makeDataset("TabClass", "select * from Schedule");
    TabClass->addComputedColumn("Unitsname", [](const QSqlRecord& r) { return QVariant(unitsName(field(r, "Units"))); });
    TabTime = makeDataset("TabTime", "select * from TimeTable");
    Tableave = makeDataset("Tableave", "select * from LeaveClass");

    auto leaveColumns = [this](DatasetModel* m) {
        m->addComputedColumn("Deptname", [this](const QSqlRecord& r) { return QVariant(userDeptName(field(r, "Userid"))); });
        m->addComputedColumn("Username", [this](const QSqlRecord& r) { return QVariant(userName(field(r, "Userid"))); });
        m->addComputedColumn("LeaveType", [this](const QSqlRecord& r) { return QVariant(leaveType(field(r, "LeaveClassid"))); });
    };
    TabFree = makeDataset("TabFree", "select * from UserLeave");
    leaveColumns(TabFree);
    QryFree = makeDataset("QryFree", "Select * from UserLeave where lsh=0 order by Userid");
    leaveColumns(QryFree);

    QryClasstime = makeDataset("QryClasstime", "Select * from Schtime where Schid=:Schid order by Beginday,Timeid");
    QryClasstime->setStatement(QryClasstime->statement(), {{"Schid", 0}});
    QryClasstime->addComputedColumn("Timename", [this](const QSqlRecord& r) { return QVariant(timeName(field(r, "Timeid"))); });

    QryUserClass = makeDataset("QryUserClass", "Select * from Userinfo where Userid='0' order by Userid");
    QryUserClass->addComputedColumn("Deptname", [this](const QSqlRecord& r) { return QVariant(deptName(field(r, "Deptid"))); });
    QryUserClass->addComputedColumn("UserClass", [this](const QSqlRecord& r) {
        return QVariant(userClass(field(r, "Userid").toString(), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    });

    QryBClass = makeDataset("QryBClass", "Select * from Usershift");
    QryBClass->addComputedColumn("Classname", [this](const QSqlRecord& r) { return QVariant(scheduleName(field(r, "Schid"))); });

    QryRlog = makeDataset("QryRlog", "select * from CheckLog where Logid=0");
    QryRlog->addComputedColumn("Username", [this](const QSqlRecord& r) { return QVariant(userName(field(r, "Userid"))); });
    QryRlog->addComputedColumn("Deptname", [this](const QSqlRecord& r) { return QVariant(userDeptName(field(r, "Userid"))); });
    QryRlog->addComputedColumn("Edittype", [](const QSqlRecord& r) { return QVariant(edittypeName(field(r, "OPFlag"))); });
    QryRlog->addComputedColumn("Typename", [](const QSqlRecord& r) { return QVariant(editLogTypename(field(r, "Checktype").toString())); });

    QryOlog = makeDataset("QryOlog", "Select * from OPLog where Logid=0");
    QryOlog->addComputedColumn("OPname", [this](const QSqlRecord& r) { return QVariant(operatorName(field(r, "OPid"))); });

    TabProg = makeDataset("TabProg", "select * from OutProg");
}

TDM::~TDM()
{
    for (DatasetModel* m : datasets_) m->close();
    db_.close();
}

DatasetModel* TDM::makeDataset(const QString& name, const QString& sql)
{
    auto* m = new DatasetModel(db_, name, this);
    m->setObjectName(name);
    m->setStatement(sql);
    // Rows read again may name other employees or departments: look them up afresh.
    connect(m, &QAbstractItemModel::modelReset, this, &TDM::forgetLookups);
    datasets_.append(m);
    return m;
}

QList<DatasetModel*> TDM::datasets() const { return datasets_; }

DbStatus TDM::open(const QString& connectionString)
{
    close();
    DbStatus st = db_.open(connectionString);
    if (!st.ok()) return st;
    upgradeSchema(db_);
    return st;
}

void TDM::close()
{
    for (DatasetModel* m : datasets_) m->close();
    forgetLookups();
    db_.close();
}

void TDM::resetDeptAndUserQueries()
{
    QryDept->setStatement(QStringLiteral("select * from Dept"));
    (void)QryDept->open();
    QryUser->setStatement(QStringLiteral("select * from Userinfo"));
    forgetLookups();
}

void TDM::forgetLookups() { lookups_.clear(); }

QString TDM::cachedLookup(const QString& cache, const QString& sql, const QVariant& key)
{
    if (key.isNull() || !db_.isOpen()) return {};
    const QString k = key.toString();
    auto& table = lookups_[cache];
    auto it = table.constFind(k);
    if (it != table.constEnd()) return *it;
    const QString value = db_.scalar(sql, {{"Key", key}}).toString();
    table.insert(k, value);
    return value;
}

QString TDM::deptName(const QVariant& deptid)
{
    return cachedLookup("dept", "select Deptname from Dept where Deptid=:Key", deptid);
}

QString TDM::userName(const QVariant& userid)
{
    return cachedLookup("user", "select Name from Userinfo where Userid=:Key", userid);
}

QString TDM::userDeptName(const QVariant& userid)
{
    return cachedLookup("userdept",
                        "select Dept.Deptname from Userinfo inner join Dept on Userinfo.Deptid=Dept.Deptid "
                        "where Userinfo.Userid=:Key",
                        userid);
}

QString TDM::scheduleName(const QVariant& schid)
{
    return cachedLookup("schedule", "select Schname from Schedule where Schid=:Key", schid);
}

QString TDM::timeName(const QVariant& timeid)
{
    return cachedLookup("time", "select Timename from TimeTable where Timeid=:Key", timeid);
}

QString TDM::operatorName(const QVariant& opid)
{
    return cachedLookup("operator", "select Name from OPinfo where Opid=:Key", opid);
}

QString TDM::leaveType(const QVariant& leaveClassid)
{
    if (leaveClassid.isNull()) return {};
    bool ok = false;
    const int id = leaveClassid.toString().trimmed().toInt(&ok);
    if (ok && id == 0) return businessTripName();
    return cachedLookup("leaveclass", "Select Classname from LeaveClass where Classid=:Key", leaveClassid);
}

QString TDM::userClass(const QString& userid, const QString& today)
{
    if (userClassSuppressed_ || userid.isEmpty() || !db_.isOpen()) return {};
    Query shift = db_.query(QStringLiteral("Select * from Usershift where Userid=:Userid and BeginDate<=:BeginDate "
                                           "and EndDate>=:EndDate order by BeginDate desc"),
                            {{"Userid", userid}, {"BeginDate", today}, {"EndDate", today}});
    if (!shift.next()) return {};
    return scheduleName(shift.value(QStringLiteral("Schid")));
}

TDM& DM()
{
    static TDM* module = new TDM();   // lives to the end of the program, like the connection
    return *module;
}

} // namespace kelvork
