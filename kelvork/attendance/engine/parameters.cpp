#include "parameters.h"

namespace kelvork::engine {

const std::array<const char*, StatItemCount> kStatItemNames = {
    "Normal", "Late", "Early", "BLeave", "Leave", "Absent", "Out", "Overtime", "FreeOT"};

TStatItems DefaultStatItems() {
    TStatItems items;
    for (std::size_t i = 0; i < StatItemCount; ++i) items[i].Itemname = kStatItemNames[i];
    return items;
}

const std::string& UnitCaption(const TStatItem& item, const TSyshint& hint) {
    static const std::string none;
    if (item.Istimes) return hint.Times;
    switch (item.Units) {
        case UnitMinutes: return hint.Minute;
        case UnitHours: return hint.Hour;
        case UnitWorkdays: return hint.Day;
        default: return none;
    }
}

const TLeaveClass* FindLeaveClass(const AttendanceParameters& params, int classid) {
    for (const TLeaveClass& c : params.leaveClasses)
        if (c.Classid == classid) return &c;
    return nullptr;
}

}  // namespace kelvork::engine
