#pragma once
// Small builders for the plain input of the calculation core's tests.

#include <string>

#include "calc_input.h"
#include "date_time.h"

namespace kelvork::engine::testing {

// The day number of a "yyyy-mm-dd" text the test writes itself.
inline DayNumber Day(const char* text) { return *ParseDateText(text); }

// A period stored the way the database holds it ("1899-12-30 HH:mm:ss"), required punches on.
inline PeriodRow MakePeriod(int timeid, std::string name, const char* in, const char* out,
                            const char* bIn, const char* eIn, const char* bOut, const char* eOut,
                            int longtime = 480, double workdays = 1) {
    auto stored = [](const char* hhmm) { return std::string("1899-12-30 ") + hhmm + ":00"; };
    PeriodRow p;
    p.Timeid = timeid;
    p.Timename = std::move(name);
    p.Intime = stored(in);
    p.Outtime = stored(out);
    p.BIntime = stored(bIn);
    p.EIntime = stored(eIn);
    p.BOuttime = stored(bOut);
    p.EOuttime = stored(eOut);
    p.Longtime = longtime;
    p.WorkDays = workdays;
    p.MustIn = true;
    p.MustOut = true;
    return p;
}

// The usual day period 08:00-17:00, check-in 07:30-08:30, check-out 16:30-17:30.
inline PeriodRow DayPeriod(int timeid = 1, std::string name = "Day") {
    return MakePeriod(timeid, std::move(name), "08:00", "17:00", "07:30", "08:30", "16:30", "17:30");
}

inline CycleRow MakeSlot(int schid, int cycles, int units, int beginDay, int timeid, bool autoClass = false) {
    CycleRow c;
    c.Schid = schid;
    c.Schname = "Cycle" + std::to_string(schid);
    c.Cycles = cycles;
    c.Units = units;
    c.AutoClass = autoClass;
    c.BeginDay = beginDay;
    c.Timeid = timeid;
    return c;
}

// A daily cycle of one day holding the given period every day.
inline CycleRow EveryDay(int schid, int timeid, bool autoClass = false) {
    return MakeSlot(schid, 1, 0, 0, timeid, autoClass);
}

inline AssignmentRow Assign(std::string userid, int schid, std::string begin, std::string end) {
    return AssignmentRow{std::move(userid), schid, std::move(begin), std::move(end)};
}

inline PunchRow Punch(std::string userid, std::string time, std::string type, bool checked = false) {
    PunchRow p;
    p.Userid = std::move(userid);
    p.Checktime = std::move(time);
    p.Checktype = std::move(type);
    p.Sensorid = "1";
    p.Checked = checked;
    return p;
}

}  // namespace kelvork::engine::testing
