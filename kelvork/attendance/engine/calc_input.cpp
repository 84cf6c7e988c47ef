#include "calc_input.h"

namespace kelvork::engine {

std::vector<HolidaySpan> PrepareHolidays(const std::vector<HolidayRow>& rows,
                                         std::vector<RunProblem>& problems) {
    std::vector<HolidaySpan> spans;
    spans.reserve(rows.size());
    for (const HolidayRow& row : rows) {
        auto begin = ParseMoment(row.BDate);
        if (!begin) {
            problems.push_back({"", "Holiday",
                                "Holidayid=" + std::to_string(row.Holidayid) + " BDate=" + row.BDate,
                                "holiday left out: its first day cannot be read"});
            continue;
        }
        if (row.Days < 0) {
            problems.push_back({"", "Holiday",
                                "Holidayid=" + std::to_string(row.Holidayid) +
                                    " Days=" + std::to_string(row.Days),
                                "holiday left out: a negative number of days"});
            continue;
        }
        spans.push_back({*begin, row.Days});
    }
    return spans;
}

Moment PunchLoadFrom(DayNumber s) { return MomentOf(s - 1, 0); }

Moment PunchLoadTo(DayNumber e) { return MomentOf(e + 1, static_cast<int>(kSecondsPerDay) - 1); }

}  // namespace kelvork::engine
