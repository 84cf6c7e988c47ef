#pragma once
// The data module TDM (instance DM()): the program's one connection and the shared datasets the
// screens lean on, each a lazily fetching read-only model with its look-ups and calculated fields.
//
//   auto& dm = kelvork::DM();
//   if (auto st = dm.open(connectionString); !st.ok()) { /* LinkDBError */ }
//   dm.resetDeptAndUserQueries();               // department names current, QryUser re-set
//   dm.QryUser->open();                          // select * from Userinfo, + DeptName, Userid_int
//   view->setModel(dm.QryUser);
//
// Screens keep their own statements on DM().db(); they never ask which engine is behind it. The
// scratch queries ADOQry and Qry are plain Database::query / exec calls here, and appending to the
// edit log (Insertcheck) is an insert statement; neither needs a shared object.

#include "calculated_fields.h"
#include "database.h"
#include "dataset_model.h"

#include <QHash>
#include <QObject>

namespace kelvork {

class TDM : public QObject {
    Q_OBJECT
public:
    explicit TDM(QObject* parent = nullptr);
    ~TDM() override;

    // The connection (ADOConnection1). Open it through open(), not directly, so the datasets follow.
    Database& db() { return db_; }

    // Closes every dataset and the connection, then opens `connectionString`. On success the
    // schema upgrade runs (its errors ignored). On failure the module stays unconnected and the
    // status says why (the caller shows LinkDBError).
    DbStatus open(const QString& connectionString);
    void close();
    bool isConnected() const { return db_.isOpen(); }

    // Closes QryDept, sets it to "select * from Dept" and opens it (department names current for
    // the look-ups); closes QryUser and sets "select * from Userinfo" without opening it.
    void resetDeptAndUserQueries();

    // While set, QryUserClass leaves UserClass empty (the scheduling screen sets it while it
    // selects every row of its list).
    void setUserClassSuppressed(bool suppressed) { userClassSuppressed_ = suppressed; }
    bool userClassSuppressed() const { return userClassSuppressed_; }

    // Calculated fields that need the database.
    // LeaveType: 0 -> the business-trip text; else the Classname of that LeaveClass ("" if none).
    QString leaveType(const QVariant& leaveClassid);
    // UserClass: the name of the cycle assigned to `userid` for `today` (yyyy-mm-dd), the
    // latest-starting assignment winning; "" when none, and "" while suppressed.
    QString userClass(const QString& userid, const QString& today);
    // Look-ups of the datasets ("" when nothing matches). Answers are kept until a dataset is
    // opened again or the shared queries are reset.
    QString deptName(const QVariant& deptid);
    QString userName(const QVariant& userid);
    QString userDeptName(const QVariant& userid);
    QString scheduleName(const QVariant& schid);
    QString timeName(const QVariant& timeid);
    QString operatorName(const QVariant& opid);
    void forgetLookups();

    // The shared datasets, owned by the module; statements as the program sets them at start.
    DatasetModel* QryOP;          // Select * from OPinfo
    DatasetModel* QryUser;        // select * from Userinfo; + DeptName, Userid_int
    DatasetModel* QryDept;        // Select * from Dept
    DatasetModel* Qryrecord;      // select * from Checkinout; + Username, Deptname, Typename
    DatasetModel* Tabholiday;     // Holiday
    DatasetModel* TabClass;       // Schedule; + Unitsname
    DatasetModel* TabTime;        // TimeTable
    DatasetModel* Tableave;       // LeaveClass
    DatasetModel* TabFree;        // UserLeave; + Deptname, Username, LeaveType
    DatasetModel* QryFree;        // Select * from UserLeave where lsh=0 order by Userid; as TabFree
    DatasetModel* QryClasstime;   // Schtime of :Schid by Beginday, Timeid; + Timename
    DatasetModel* QryUserClass;   // Userinfo of nobody until a screen sets it; + Deptname, UserClass
    DatasetModel* QryBClass;      // Select * from Usershift; + Classname
    DatasetModel* QryRlog;        // CheckLog of nobody; + Username, Deptname, Edittype, Typename
    DatasetModel* QryOlog;        // OPLog of nobody; + OPname
    DatasetModel* TabProg;        // OutProg

    QList<DatasetModel*> datasets() const;

private:
    DatasetModel* makeDataset(const QString& name, const QString& sql);
    // One cached look-up: the first column of `sql` with :Key bound to `key`.
    QString cachedLookup(const QString& cache, const QString& sql, const QVariant& key);

    Database db_;
    bool userClassSuppressed_ = false;
    QList<DatasetModel*> datasets_;
    QHash<QString, QHash<QString, QString>> lookups_;
};

// The program's data module, created on first use and living to the end of the program.
TDM& DM();

} // namespace kelvork
