#pragma once
// The attendance parameters as the calculation reads them: the company-wide rules (`TBasePar`, the
// single BasePara row), the nine statistic items, the unit texts (`TSyshint`) and the leave classes.
// Plain values only: the data layer fills them from BasePara, Statitems and LeaveClass and the
// language file; the calculation never reads the database again while it runs. Values are kept as
// stored (a Units or SRControl outside 0..2, a MinUnit or Workdaylong of 0 stays as it is), so the
// calculation can tell the operator which stored value it could not use.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace kelvork::engine {

// The BasePara row. Durations are minutes; the three rates are factors (stored with one decimal).
struct TBasePar {
    std::string Company;
    int Twoday = 0;           // 0: a period passing midnight belongs to its first date; 1: to its second
    bool Noclockin = false;   // a missing required check-in counts as `Latetime` minutes of lateness
    bool Noclockout = false;  // a missing required check-out counts as `Leavetime` minutes of early leave
    bool Isovertime = false;  // a check-out more than `Overtime` minutes after the end of work is overtime
    int Latetime = 60;
    int Leavetime = 60;
    int Overtime = 60;
    int Workdaylong = 480;    // minutes of one workday
    double WOvertime = 1;     // overtime rate on workdays
    double HOvertime = 1;     // on rest days (Saturday and Sunday)
    double FOvertime = 1;     // on holidays
    bool IsovertimeIn = false;  // a check-in more than `OvertimeIn` minutes before the start is overtime
    int OvertimeIn = 0;
    bool DeductIn = false;    // early-arrival overtime counts only the part beyond `OvertimeIn`
    bool DeductOut = false;   // late-departure overtime counts only the part beyond `Overtime`
};

// Units of a statistic item's figures.
enum StatUnit : int { UnitMinutes = 0, UnitHours = 1, UnitWorkdays = 2 };
// Rounding of a statistic item's figures to multiples of its minimum.
enum StatRounding : int { RoundDown = 0, RoundUp = 1, RoundNearest = 2 };

// One statistic item (one Statitems row).
struct TStatItem {
    std::string Itemname;
    int Units = UnitMinutes;      // StatUnit as stored
    double MinUnit = 1;           // figures are multiples of this many units; must be > 0
    int SRControl = RoundNearest; // StatRounding as stored
    bool Isaddup = false;         // round the period total once instead of each figure
    bool Istimes = false;         // count occurrences; unit, minimum and rounding do not apply
};

// The items in their fixed order; the index is the item's place in `TStatItems`.
enum StatItemIndex : std::size_t {
    ItemNormal = 0,
    ItemLate = 1,
    ItemEarly = 2,
    ItemBLeave = 3,
    ItemLeave = 4,
    ItemAbsent = 5,
    ItemOut = 6,
    ItemOvertime = 7,
    ItemFreeOT = 8,
    StatItemCount = 9
};

// The item keys in array order ("Normal", "Late", ... "FreeOT").
extern const std::array<const char*, StatItemCount> kStatItemNames;

using TStatItems = std::array<TStatItem, StatItemCount>;

// Nine items with their keys and the defaults a fresh Statitems row stands for.
TStatItems DefaultStatItems();

// The unit texts of the language file's "Resource" section (keys Hour, Minute, Day, Times).
struct TSyshint {
    std::string Hour = "小时";
    std::string Minute = "分钟";
    std::string Day = "工作日";
    std::string Times = "次";
};

// One leave class (one LeaveClass row). `Classname` is also the name of its statistics column.
struct TLeaveClass {
    int Classid = 0;
    std::string Classname;
    int ViewColor = 0;
    std::string Showas;  // one or two characters marking the class in the day table
};

// Everything of the parameters one calculation run reads.
struct AttendanceParameters {
    TBasePar basePar;
    TStatItems items = DefaultStatItems();
    TSyshint syshint;
    std::vector<TLeaveClass> leaveClasses;  // in LeaveClass table order
};

// The unit caption of an item: `Times` for an item counted by occurrences, else the Minute, Hour or
// Day text for Units 0, 1, 2; an empty text for a Units value outside 0..2.
const std::string& UnitCaption(const TStatItem& item, const TSyshint& hint);

// The leave class with `classid`, or nullptr when there is none.
const TLeaveClass* FindLeaveClass(const AttendanceParameters& params, int classid);

}  // namespace kelvork::engine
