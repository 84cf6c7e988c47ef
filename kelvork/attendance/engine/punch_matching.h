#pragma once
// Matching the punches of one employee, in time order, to the employee's planned periods: each
// punch becomes the check-in or check-out of a period, going out or back, free overtime, or an
// invalid punch with a proposed handling. Confirmed punches are taken as they are.
//
// Clock texts and punch times are compared as text where the rules say so (a punch within the
// minute that SOntime names is inside the window, one within the minute that EOfftime names is
// outside), and as date-times elsewhere (a clock text then stands for its minute's first second).

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc_input.h"
#include "date_time.h"
#include "working_tables.h"

namespace kelvork::engine {

// The employee a punch belongs to, as the punch list shows it.
struct PunchOwner {
    std::string_view Ucode;
    std::string_view Uname;
    std::string_view Udept;
};

// One punch to match: its moment, its time as a punch text "yyyy-mm-dd HH:mm:ss" and its row.
struct PunchToMatch {
    Moment time = 0;
    std::string_view checktime;
    const PunchRow* row = nullptr;
};

// The matching state of one employee. It writes the punch fields (AOntime, AOfftime, MaxFlag) of
// `memTab` and appends to `memRecord`; both must outlive it, and `memTab` must not gain or lose
// rows meanwhile. `storedPunches` are the moments of all of the employee's stored punches that
// were loaded (ascending), used to choose between periods whose windows overlap; it may reach
// beyond the run's span.
class PunchMatcher {
public:
    PunchMatcher(std::vector<MemTabRow>& memTab, NumberedTable<MemRecordRow>& memRecord,
                 PunchOwner owner, std::span<const Moment> storedPunches, const CalcTexts& texts);

    // Matches one punch; punches must come in time order.
    void Match(const PunchToMatch& punch);

private:
    struct Windows {  // the moments of a period's clock texts
        Moment eOn = 0, sOff = 0, sOn = 0, eOff = 0;
    };

    void MatchConfirmed(const PunchToMatch& p);
    void MatchOther(const PunchToMatch& p);
    // The check-out rule; false when the punch is not later than the period's SOfftime.
    bool TryCheckOut(const PunchToMatch& p);
    void FreeOvertime(const PunchToMatch& p);
    std::size_t ChooseAmong(const std::vector<std::size_t>& candidates) const;
    Moment SpanOfStoredPunches(Moment from, Moment to) const;

    MemRecordRow& List(const PunchToMatch& p, std::string_view utype, std::string_view timename);
    void MakeNormal(MemRecordRow& row) const;
    void MakeInvalid(MemRecordRow& row) const;
    void MakeWrongType(MemRecordRow& row, std::string_view shouldBe) const;

    std::vector<MemTabRow>& memTab_;
    NumberedTable<MemRecordRow>& memRecord_;
    PunchOwner owner_;
    std::span<const Moment> stored_;
    const CalcTexts& texts_;
    std::string normalText_, invalidText_, wrongTypeText_;  // Errorshow texts as the field holds them
    std::string goingOutTypeText_, overtimeInTypeText_;    // Utypename texts of "0" and "i"
    std::vector<Windows> windows_;   // parallel to memTab_
    std::vector<Moment> listedTimes_;  // parallel to memRecord_.rows
    std::optional<std::size_t> current_;  // the current period
    bool selected_ = false;               // a period is selected
};

}  // namespace kelvork::engine
