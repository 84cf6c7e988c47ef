#include "day_marks.h"

namespace kelvork::engine {

std::string DayMark(const MemTabRow& period, const CalcTexts& texts,
                    const std::vector<TLeaveClass>& leaveClasses) {
    if (!period.Memo.empty()) {
        if (period.Memo == texts.Beaway) return "BL";
        for (const TLeaveClass& c : leaveClasses)
            if (period.Memo == c.Classname) return c.Showas;
        return "L";
    }
    switch (period.AbnorFlag) {
        case AbnorNormal: return period.IsOverTime ? "+" : "/";
        case AbnorLate: return ">";
        case AbnorEarly: return "<";
        case AbnorAbsent: return "-";
        case AbnorNoIn: return "[";
        case AbnorNoOut: return "]";
        default: return "";
    }
}

void WriteDayMarks(const std::vector<MemTabRow>& memTab, DayNumber firstDate, const CalcTexts& texts,
                   const std::vector<TLeaveClass>& leaveClasses, MemDayRow& dayRow) {
    for (const MemTabRow& period : memTab) {
        if (period.UDate.empty() || period.MaxFlag != MaxEvaluated) continue;
        const auto date = ParseDateText(period.UDate.view());
        if (!date) continue;  // the evaluation reported it
        const long n = static_cast<long>(*date) - firstDate + 1;
        if (n > static_cast<long>(dayRow.Day.size())) break;
        if (n < 1) continue;
        const std::string mark = DayMark(period, texts, leaveClasses);
        Text<10>& field = dayRow.Day[static_cast<std::size_t>(n - 1)];
        if (field.empty() || (!mark.empty() && mark != "/")) field = mark;
    }
}

}  // namespace kelvork::engine
