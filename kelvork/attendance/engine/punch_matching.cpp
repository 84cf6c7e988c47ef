#include "punch_matching.h"

#include <algorithm>

namespace kelvork::engine {

namespace {

constexpr Moment kHalfHour = 1800;
constexpr Moment kTwentyHours = 20 * 3600;

Moment MomentOrZero(std::string_view clock) {
    auto m = ParseMoment(clock);
    return m ? *m : 0;
}

// A gap of 0.016 hours (57.6 seconds) or less.
bool WithinFreeOvertimeGrain(Moment gap) { return gap * 1000 <= 16 * 3600; }

}  // namespace

PunchMatcher::PunchMatcher(std::vector<MemTabRow>& memTab, NumberedTable<MemRecordRow>& memRecord,
                           PunchOwner owner, std::span<const Moment> storedPunches,
                           const CalcTexts& texts)
    : memTab_(memTab), memRecord_(memRecord), owner_(owner), stored_(storedPunches), texts_(texts) {
    normalText_ = FitText(texts.RecordErrorType1, Text<20>::kWidth);
    invalidText_ = FitText(texts.RecordErrorType3, Text<20>::kWidth);
    wrongTypeText_ = FitText(texts.RecordErrorType4, Text<20>::kWidth);
    goingOutTypeText_ = FitText(texts.CheckType5, Text<20>::kWidth);
    overtimeInTypeText_ = FitText(texts.CheckType3, Text<20>::kWidth);
    windows_.reserve(memTab.size());
    for (const MemTabRow& r : memTab) {
        windows_.push_back({MomentOrZero(r.EOntime), MomentOrZero(r.SOfftime), MomentOrZero(r.SOntime),
                            MomentOrZero(r.EOfftime)});
    }
    listedTimes_.reserve(memRecord.rows.size());
    for (const MemRecordRow& r : memRecord.rows) listedTimes_.push_back(MomentOrZero(r.Checktime));
}

void PunchMatcher::Match(const PunchToMatch& punch) {
    if (punch.row->Checked) {
        MatchConfirmed(punch);
    } else {
        MatchOther(punch);
    }
}

MemRecordRow& PunchMatcher::List(const PunchToMatch& p, std::string_view utype, std::string_view timename) {
    MemRecordRow row;
    row.Ucode = owner_.Ucode;
    row.Checktime = p.checktime;
    row.Uname = owner_.Uname;
    row.Udept = owner_.Udept;
    row.Utypename = texts_.TypeText(p.row->Checktype);
    row.Sensorid = p.row->Sensorid;
    row.WorkCode = p.row->WorkType;
    row.Utype = utype;
    row.Timename = timename;
    listedTimes_.push_back(p.time);
    return memRecord_.Append(std::move(row));
}

void PunchMatcher::MakeNormal(MemRecordRow& row) const {
    row.Disposeplan.clear();
    row.Errorshow = normalText_;
}

void PunchMatcher::MakeInvalid(MemRecordRow& row) const {
    row.Disposeplan = texts_.DisposeRecord;
    row.Errorshow = invalidText_;
}

void PunchMatcher::MakeWrongType(MemRecordRow& row, std::string_view shouldBe) const {
    row.Disposeplan = texts_.TypeText(shouldBe);
    row.Errorshow = wrongTypeText_;
}

// A confirmed punch keeps its type: a check-in goes to the first period ending after it, a
// check-out to the last period starting before it, anything else stands alone.
void PunchMatcher::MatchConfirmed(const PunchToMatch& p) {
    const std::string& c = p.row->Checktype;
    std::optional<std::size_t> found;
    if (c == "I") {
        for (std::size_t i = 0; i < memTab_.size(); ++i) {
            if (memTab_[i].OffTime > p.checktime) {
                found = i;
                break;
            }
        }
    } else if (c == "O") {
        for (std::size_t i = memTab_.size(); i-- > 0;) {
            if (memTab_[i].OnTime < p.checktime) {
                found = i;
                break;
            }
        }
    }
    std::string_view timename;
    if (found) {
        MemTabRow& period = memTab_[*found];
        Text<19>& actual = c == "I" ? period.AOntime : period.AOfftime;
        if (!actual.empty()) {
            for (MemRecordRow& listed : memRecord_.rows) {
                if (listed.Checktime == actual) {
                    MakeInvalid(listed);
                    break;
                }
            }
        }
        actual = p.checktime;
        timename = period.TimeName.view();
        current_ = found;
    }
    MemRecordRow& row = List(p, c, timename);
    row.Checked = true;
    MakeNormal(row);
}

void PunchMatcher::MatchOther(const PunchToMatch& p) {
    const std::string& c = p.row->Checktype;
    const std::string_view t = p.checktime;

    // Candidates: the selected period while the punch is before its check-out window ends, else
    // every period whose whole window holds the punch (as text).
    const bool keep = selected_ && current_ && memTab_[*current_].EOfftime > t;
    if (!keep) {
        selected_ = false;
        std::vector<std::size_t> candidates;
        for (std::size_t i = 0; i < memTab_.size(); ++i) {
            if (memTab_[i].SOntime <= t && memTab_[i].EOfftime >= t) candidates.push_back(i);
        }
        if (candidates.empty()) {
            FreeOvertime(p);
        } else {
            current_ = candidates.size() == 1 ? candidates.front() : ChooseAmong(candidates);
            memTab_[*current_].MaxFlag = MaxChosenByPunches;
            selected_ = true;
        }
    }

    if (selected_) {
        MemTabRow& period = memTab_[*current_];
        if (period.AOntime.empty() && p.time < windows_[*current_].eOn) {
            period.AOntime = t;
            MemRecordRow& row = List(p, "I", period.TimeName.view());
            MakeNormal(row);
            if (c != "I") MakeWrongType(row, "I");
        } else if (c == "1") {
            bool back = false;
            if (!memRecord_.rows.empty()) {
                MemRecordRow& last = memRecord_.rows.back();
                const Moment gap = p.time - listedTimes_.back();
                back = last.Utype == "0" && last.Errorshow == invalidText_ && gap > kHalfHour &&
                       gap < kTwentyHours;
                if (back) {
                    if (last.Utypename == goingOutTypeText_) memTab_[*current_].AOfftime.clear();
                    MakeNormal(last);
                }
            }
            if (back) {
                MakeNormal(List(p, "1", ""));
            } else {
                TryCheckOut(p);  // a back punch that is no check-out is not listed
            }
        } else if (!TryCheckOut(p)) {
            MakeInvalid(List(p, c, ""));
        }
    }

    if (current_) {
        MemTabRow& period = memTab_[*current_];
        if (period.AOntime.empty() && period.AOfftime.empty()) period.MaxFlag = MaxNotChosen;
    }
}

bool PunchMatcher::TryCheckOut(const PunchToMatch& p) {
    MemTabRow& period = memTab_[*current_];
    if (p.time <= windows_[*current_].sOff) return false;
    const std::string& c = p.row->Checktype;
    if (!period.AOfftime.empty() && !memRecord_.rows.empty()) {
        MemRecordRow& last = memRecord_.rows.back();
        if (last.Checked) {
            MakeInvalid(List(p, "O", period.TimeName.view()));
            return true;
        }
        MakeInvalid(last);
    }
    // The last check-out of a period stands: an earlier one was made invalid above.
    period.AOfftime = p.checktime;
    MemRecordRow& row = List(p, "O", period.TimeName.view());
    MakeNormal(row);
    if (c != "O") MakeWrongType(row, "O");
    return true;
}

// A punch outside every period: two of them close enough form a free-overtime pair.
void PunchMatcher::FreeOvertime(const PunchToMatch& p) {
    selected_ = false;
    bool pair = false;
    if (!memRecord_.rows.empty()) {
        const Moment gap = p.time - listedTimes_.back();
        pair = memRecord_.rows.back().Utype == "i" && !WithinFreeOvertimeGrain(gap) && gap < kTwentyHours;
    }
    if (!pair) {
        MakeInvalid(List(p, "i", ""));
        return;
    }
    MemRecordRow& start = memRecord_.rows.back();
    if (start.Utypename == overtimeInTypeText_) {
        MakeNormal(start);
    } else {
        MakeWrongType(start, "i");
    }
    MemRecordRow& row = List(p, "o", "");
    MakeNormal(row);
    if (p.row->Checktype != "o") MakeWrongType(row, "o");
}

std::size_t PunchMatcher::ChooseAmong(const std::vector<std::size_t>& candidates) const {
    std::size_t chosen = candidates.front();
    Moment best = -1;
    for (std::size_t i : candidates) {
        const Moment span = SpanOfStoredPunches(windows_[i].sOn, windows_[i].eOff);
        if (span > best) {
            best = span;
            chosen = i;
        }
    }
    return chosen;
}

// The span from the first to the last stored punch inside [from, to]; 0 when there is none.
Moment PunchMatcher::SpanOfStoredPunches(Moment from, Moment to) const {
    auto lo = std::lower_bound(stored_.begin(), stored_.end(), from);
    auto hi = std::upper_bound(lo, stored_.end(), to);
    if (lo == hi) return 0;
    return *(hi - 1) - *lo;
}

}  // namespace kelvork::engine
