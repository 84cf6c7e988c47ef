#include "punch_handling.h"

#include <array>
#include <optional>
#include <string_view>

namespace kelvork::handling {
namespace {

QString qtext(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

enum class Plan { None, Delete, Retype };

struct ChosenPlan {
    Plan plan = Plan::None;
    const char* newType = "";       // the stored code for Retype
    const std::string* typeText = nullptr;
};

// The delete text is checked first, so a language file that gives it the text of a punch type
// still deletes, as the grid showed it.
ChosenPlan choose(std::string_view disposeplan, const engine::CalcTexts& texts)
{
    if (disposeplan.empty()) return {};
    if (disposeplan == texts.DisposeRecord) return {Plan::Delete, "", nullptr};
    const std::array<std::pair<const std::string*, const char*>, 6> types{{
        {&texts.CheckType1, "I"}, {&texts.CheckType2, "O"}, {&texts.CheckType3, "i"},
        {&texts.CheckType4, "o"}, {&texts.CheckType5, "0"}, {&texts.CheckType6, "1"},
    }};
    for (const auto& [text, code] : types) {
        if (disposeplan == *text) return {Plan::Retype, code, text};
    }
    return {};
}

PunchHandlingResult failed(const QString& message) { return {PunchHandlingOutcome::Failed, message}; }

PunchHandlingResult gone(const QString& userid, const QString& checktime)
{
    return {PunchHandlingOutcome::PunchGone,
            QStringLiteral("The punch of %1 at %2 is no longer in the database.").arg(userid, checktime)};
}

} // namespace

PunchHandlingResult ApplyPunchHandling(Database& db, engine::MemRecordRow& row,
                                       const engine::CalcTexts& texts, const QString& operatorName,
                                       const QString& whys)
{
    // A row without a handling writes nothing, not even a log row: the log lists changes only.
    const ChosenPlan chosen = choose(row.Disposeplan.view(), texts);
    if (chosen.plan == Plan::None) return {};

    const QString userid = qtext(row.Ucode.view());
    const QString checktime = qtext(row.Checktime.view());
    const Params key{{"Userid", userid}, {"Checktime", checktime}};

    Transaction tx(db);
    if (!tx.ok()) return failed(tx.commit().message());

    Query punch = db.query("select Checktype, Sensorid from Checkinout "
                           "where Userid=:Userid and Checktime=:Checktime", key);
    if (!punch.ok()) return failed(punch.error());
    if (!punch.next()) return gone(userid, checktime);
    const QString previousType = punch.text("Checktype");
    const QString sensorid = punch.text("Sensorid");

    const int opFlag = chosen.plan == Plan::Delete ? 3 : 2;
    DbStatus st = db.exec("insert into CheckLog (Userid, Checktime, Checktype, Sensorid, OPFlag, Whys, OPname) "
                          "values (:Userid, :Checktime, :Checktype, :Sensorid, :OPFlag, :Whys, :OPname)",
                          {{"Userid", userid}, {"Checktime", checktime}, {"Checktype", previousType},
                           {"Sensorid", sensorid}, {"OPFlag", opFlag}, {"Whys", whys},
                           {"OPname", operatorName}});
    if (!st.ok()) return failed(st.message());

    int changed = 0;
    if (chosen.plan == Plan::Delete) {
        st = db.exec("delete from Checkinout where Userid=:Userid and Checktime=:Checktime", key, &changed);
    } else {
        st = db.exec("update Checkinout set Checktype=:Checktype, Checked=:Checked "
                     "where Userid=:Userid and Checktime=:Checktime",
                     {{"Checktype", QString::fromLatin1(chosen.newType)}, {"Checked", true},
                      {"Userid", userid}, {"Checktime", checktime}},
                     &changed);
    }
    if (!st.ok()) return failed(st.message());
    // Another station may have removed the punch between the lookup and the change.
    if (changed == 0) return gone(userid, checktime);

    st = tx.commit();
    if (!st.ok()) return failed(st.message());

    if (chosen.plan == Plan::Delete) return {PunchHandlingOutcome::Deleted, {}};
    row.Utypename = *chosen.typeText;
    row.Checked = true;
    row.Disposeplan.clear();
    row.Errorshow = texts.RecordErrorType1;
    return {PunchHandlingOutcome::Retyped, {}};
}

} // namespace kelvork::handling
