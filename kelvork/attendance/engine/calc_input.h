#pragma once
// The plain data one calculation run reads, as the data layer hands it over: rows of the tables
// and the view the run needs, for all employees of the run at once. Values are kept as the
// database holds them (texts as texts, flags and numbers as stored); the calculation checks them
// itself and reports every row it cannot use (RunProblem) instead of guessing.
//
// What the loader must hand over for a run over the dates S ... E:
// - employees: the chosen ones (ChooseEmployees tells which), in `Userid` order;
// - departments: all rows of Dept (the department choice walks the tree);
// - periods: every TimeTable row; cycles: every V_Class row (its Timeid links to `periods`);
// - assignments and temporary shifts: the employees' Usershift and UserTempshift rows (at least
//   those overlapping S ... E; the run applies the date rules itself);
// - holidays: every Holiday row (the day type of any date of the span needs them);
// - punches: the employees' Checkinout rows from PunchLoadFrom(S) to PunchLoadTo(E). That is
//   wider than the span: a punch falling into the windows of several periods goes to the period
//   whose whole window holds the longer span of the employee's stored punches, and windows reach
//   into the day before S and the day after E;
// - leaves: the employees' UserLeave rows overlapping the span; parameters and leave classes.

#include <string>
#include <vector>

#include "date_time.h"
#include "parameters.h"
#include "working_tables.h"

namespace kelvork::engine {

// A row the run could not use: the employee (empty when the row is not an employee's), the table
// it comes from, the offending value as stored, and what the run did instead.
struct RunProblem {
    std::string Userid;
    std::string table;  // "TimeTable", "V_Class", "Usershift", "UserTempshift", "Holiday", ...
    std::string value;  // e.g. "Timeid=7 Intime=25:00"
    std::string text;   // e.g. "period skipped: its times cannot be read"
};

// Dept.
struct DepartmentRow {
    int Deptid = 0;
    std::string Deptname;
    int SupDeptid = 0;  // 0 for a root department
};

// Userinfo, with the department name looked up.
struct EmployeeRow {
    std::string Userid;
    std::string Name;
    int Deptid = 0;
    std::string Deptname;  // name of the employee's department, empty when it has none
    bool IsAtt = false;    // attendance is calculated for the employee
    bool Isrest = false;   // the employee rests on holidays
};

// TimeTable. The six times are the stored texts: "1899-12-30 HH:mm:ss", "HH:mm:ss" or "HH:mm".
struct PeriodRow {
    int Timeid = 0;
    std::string Timename;
    std::string Intime;
    std::string Outtime;
    std::string BIntime;
    std::string EIntime;
    std::string BOuttime;
    std::string EOuttime;
    int Latetime = 0;   // lateness grace, minutes
    int Leavetime = 0;  // early-leave grace, minutes
    double WorkDays = 0;
    int Longtime = 0;   // minutes
    bool MustIn = false;
    bool MustOut = false;
    bool IsFreetime = false;
    bool IsOvertime = false;
};

// V_Class without the period's columns (those come from `periods` by Timeid). The rows of one
// cycle are used in the order they are handed over (the view's order).
struct CycleRow {
    int Schid = 0;
    std::string Schname;
    int Cycles = 1;  // units in one cycle, at least 1
    int Units = 0;   // 0 day, 1 week, 2 month
    bool AutoClass = false;
    int BeginDay = 0;
    int Timeid = 0;
};

// Usershift. Dates are the stored "yyyy-mm-dd" texts.
struct AssignmentRow {
    std::string Userid;
    int Schid = 0;
    std::string BeginDate;
    std::string EndDate;
};

// UserTempshift. Timeid -1 marks a date without any period.
struct TempShiftRow {
    std::string Userid;
    int Timeid = 0;
    std::string Workdate;  // "yyyy-mm-dd"
};

// Holiday. BDate is the stored date-time text.
struct HolidayRow {
    int Holidayid = 0;
    std::string Name;
    std::string BDate;
    int Days = 0;
};

// Checkinout.
struct PunchRow {
    std::string Userid;
    std::string Checktime;  // the stored date-time text
    std::string Checktype;  // "I", "O", "i", "o", "0", "1" or another code
    std::string Sensorid;
    bool Checked = false;   // already confirmed
    int WorkType = 0;
};

// UserLeave. LeaveClassid 0 is a business trip.
struct LeaveRow {
    int Lsh = 0;
    std::string Userid;
    std::string BeginTime;
    std::string EndTime;
    int LeaveClassid = 0;
    std::string Whys;
};

// Everything one run reads. The leave classes are parameters.leaveClasses.
struct CalcInput {
    std::vector<EmployeeRow> employees;
    std::vector<DepartmentRow> departments;
    std::vector<PeriodRow> periods;
    std::vector<CycleRow> cycles;
    std::vector<AssignmentRow> assignments;
    std::vector<TempShiftRow> tempShifts;
    std::vector<HolidayRow> holidays;
    std::vector<PunchRow> punches;
    std::vector<LeaveRow> leaves;
    AttendanceParameters parameters;
    CalcTexts texts;
};

// A Holiday row the calculation can use: its first moment (BDate) and its number of days.
struct HolidaySpan {
    Moment begin = 0;
    int Days = 0;
};

// The usable holidays in table order. A row whose BDate cannot be read or whose Days is negative
// is reported (table "Holiday") and left out; a row of 0 days is kept (it covers no date).
std::vector<HolidaySpan> PrepareHolidays(const std::vector<HolidayRow>& rows,
                                         std::vector<RunProblem>& problems);

// The first and the last moment of the punches the loader reads for a run over S ... E (both
// inclusive): the day before S from 00:00:00, up to the day after E at 23:59:59.
Moment PunchLoadFrom(DayNumber s);
Moment PunchLoadTo(DayNumber e);

}  // namespace kelvork::engine
