#include "working_tables.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace kelvork::engine {

std::string FitText(std::string_view text, std::size_t maxChars) {
    if (text.size() <= maxChars) return std::string(text);
    std::size_t pos = 0;
    std::size_t chars = 0;
    while (pos < text.size() && chars < maxChars) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        std::size_t len = 1;
        if (lead >= 0xF0 && lead < 0xF8) len = 4;
        else if (lead >= 0xE0) len = lead < 0xF0 ? 3 : 1;
        else if (lead >= 0xC0) len = 2;
        // A sequence that is cut short or malformed counts byte by byte.
        if (len > 1) {
            if (pos + len > text.size()) len = 1;
            for (std::size_t i = 1; i < len; ++i) {
                if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) {
                    len = 1;
                    break;
                }
            }
        }
        pos += len;
        ++chars;
    }
    return std::string(text.substr(0, pos));
}

void CompactText::ReleaseHeap() noexcept {
    char* data;
    std::memcpy(&data, raw_, sizeof data);
    delete[] data;
    raw_[kTag] = 0;
}

void CompactText::AssignSlow(std::string_view value) {
    if (value.size() <= kInline) {
        char copy[kInline];
        if (!value.empty()) std::memcpy(copy, value.data(), value.size());
        if (OnHeap()) ReleaseHeap();
        if (!value.empty()) std::memcpy(raw_, copy, value.size());
        raw_[kTag] = static_cast<char>(value.size());
        return;
    }
    char* data = new char[value.size()];
    std::memcpy(data, value.data(), value.size());
    if (OnHeap()) ReleaseHeap();
    const auto size = static_cast<std::uint32_t>(value.size());
    std::memcpy(raw_, &data, sizeof data);
    std::memcpy(raw_ + sizeof data, &size, sizeof size);
    raw_[kTag] = static_cast<char>(kHeap);
}

std::string CalcTexts::TypeText(std::string_view code) const {
    if (code == "I") return CheckType1;
    if (code == "O") return CheckType2;
    if (code == "i") return CheckType3;
    if (code == "o") return CheckType4;
    if (code == "0") return CheckType5;
    if (code == "1") return CheckType6;
    return std::string(code);
}

// ---------------------------------------------------------------------------------------------

namespace {

const std::vector<std::string>& FixedStatFieldsBefore() {
    static const std::vector<std::string> names = {
        "Lsh",       "Udept",        "Ucode", "Uname",    "Normal",    "Actual",
        "Latetime",  "Earlytime",    "Absenttime", "Overtime", "WOvertime", "HOvertime",
        "FOvertime", "Freeovertime", "Noin",  "Noout",    "Awaytime",  "Busyleave",
        "Leave"};
    return names;
}

const std::vector<std::string>& FixedStatFieldsAfter() {
    static const std::vector<std::string> names = {"Worktime", "Attrate"};
    return names;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

std::vector<std::string> MemStatTable::FieldNames() const {
    std::vector<std::string> names = FixedStatFieldsBefore();
    names.insert(names.end(), leaveClassNames.begin(), leaveClassNames.end());
    names.insert(names.end(), FixedStatFieldsAfter().begin(), FixedStatFieldsAfter().end());
    return names;
}

std::optional<std::size_t> MemStatTable::ColumnOfClass(int classid) const {
    for (std::size_t i = 0; i < leaveClassIds.size(); ++i) {
        if (leaveClassIds[i] == classid) return i;
    }
    return std::nullopt;
}

MemStatRow& MemStatTable::AppendEmployee(std::string_view ucode, std::string_view udept,
                                         std::string_view uname) {
    MemStatRow row;
    row.Ucode = ucode;
    row.Udept = udept;
    row.Uname = uname;
    row.LeaveClasses.assign(leaveClassNames.size(), 0.0);
    return table.Append(std::move(row));
}

std::vector<MemStatDefinitionProblem> DefineMemStat(MemStatTable& memStat,
                                                    const std::vector<TLeaveClass>& leaveClasses) {
    std::vector<MemStatDefinitionProblem> problems;
    memStat.table.Clear();
    memStat.leaveClassNames.clear();
    memStat.leaveClassIds.clear();
    std::vector<std::string> taken;
    for (const auto& f : FixedStatFieldsBefore()) taken.push_back(Lower(f));
    for (const auto& f : FixedStatFieldsAfter()) taken.push_back(Lower(f));
    for (const TLeaveClass& c : leaveClasses) {
        const std::string key = Lower(c.Classname);
        if (c.Classname.empty()) {
            problems.push_back({c.Classid, c.Classname, "a leave class without a name has no column"});
            continue;
        }
        if (std::find(taken.begin(), taken.end(), key) != taken.end()) {
            problems.push_back({c.Classid, c.Classname,
                                "the name is already a field of the totals; the class has no column"});
            continue;
        }
        taken.push_back(key);
        memStat.leaveClassNames.push_back(c.Classname);
        memStat.leaveClassIds.push_back(c.Classid);
    }
    return problems;
}

void WorkingTables::Clear() {
    MemRecord2.Clear();
    MemUClass.clear();
    MemAbnor.Clear();
    MemStat.table.Clear();
    MemDay.clear();
}

// ---------------------------------------------------------------------------------------------

namespace {

// Puts rows[order[i]] at position i for every i, moving each row about once (cycle by cycle).
template <typename Row>
void ApplyOrder(std::vector<Row>& rows, std::vector<std::size_t>& order) {
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] == i) continue;
        Row held = std::move(rows[i]);
        std::size_t j = i;
        while (order[j] != i) {
            const std::size_t from = order[j];
            rows[j] = std::move(rows[from]);
            order[j] = j;
            j = from;
        }
        rows[j] = std::move(held);
        order[j] = j;
    }
}

// A stable sort that compares rows but moves each row about once: the rows are ordered through
// their positions, then the order is applied in place.
template <typename Row, typename Less>
void StableSortRows(std::vector<Row>& rows, Less less) {
    if (rows.size() < 2) return;
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return less(rows[a], rows[b]); });
    ApplyOrder(rows, order);
}

}  // namespace

void SortMemClass(std::vector<MemClassRow>& rows) {
    StableSortRows(rows, [](const MemClassRow& a, const MemClassRow& b) { return a.OnTime < b.OnTime; });
}

void SortMemTab(std::vector<MemTabRow>& rows) {
    StableSortRows(rows, [](const MemTabRow& a, const MemTabRow& b) {
        return std::tie(a.UDate, a.OnTime) < std::tie(b.UDate, b.OnTime);
    });
}

void SortMemUClassAfterRun(std::vector<MemUClassRow>& rows) {
    // The same order as a stable sort on "Udept;Ucode;OnTime", found faster: a run appends the
    // periods employee by employee, so rows come in blocks of equal Udept and Ucode. The blocks
    // are ordered by those two fields, blocks of equal fields are joined, and each joined group
    // is ordered by OnTime (stable, so ties keep their order).
    if (rows.size() < 2) return;
    auto sameOwner = [](const MemUClassRow& a, const MemUClassRow& b) {
        return a.Udept == b.Udept && a.Ucode == b.Ucode;
    };
    std::vector<std::size_t> blockStart;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i == 0 || !sameOwner(rows[i - 1], rows[i])) blockStart.push_back(i);
    }
    const std::size_t blocks = blockStart.size();
    blockStart.push_back(rows.size());
    std::vector<std::size_t> blockOrder(blocks);
    for (std::size_t b = 0; b < blocks; ++b) blockOrder[b] = b;
    std::stable_sort(blockOrder.begin(), blockOrder.end(), [&](std::size_t a, std::size_t b) {
        const MemUClassRow& x = rows[blockStart[a]];
        const MemUClassRow& y = rows[blockStart[b]];
        return std::tie(x.Udept, x.Ucode) < std::tie(y.Udept, y.Ucode);
    });
    std::vector<std::size_t> order;
    order.reserve(rows.size());
    for (std::size_t k = 0; k < blocks;) {
        const std::size_t groupBegin = order.size();
        std::size_t next = k;
        do {
            const std::size_t b = blockOrder[next];
            for (std::size_t i = blockStart[b]; i < blockStart[b + 1]; ++i) order.push_back(i);
            ++next;
        } while (next < blocks && sameOwner(rows[blockStart[blockOrder[k]]], rows[blockStart[blockOrder[next]]]));
        std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(groupBegin), order.end(),
                         [&](std::size_t a, std::size_t b) { return rows[a].OnTime < rows[b].OnTime; });
        k = next;
    }
    ApplyOrder(rows, order);
}

void SortMemAbnorAfterRun(std::vector<MemAbnorRow>& rows) {
    StableSortRows(rows, [](const MemAbnorRow& a, const MemAbnorRow& b) {
        return std::tie(a.Udept, a.Ucode, a.Begintime) < std::tie(b.Udept, b.Ucode, b.Begintime);
    });
}

void SortMemStatAfterRun(std::vector<MemStatRow>& rows) {
    StableSortRows(rows, [](const MemStatRow& a, const MemStatRow& b) {
        return std::tie(a.Udept, a.Ucode) < std::tie(b.Udept, b.Ucode);
    });
}

void SortMemDayAfterRun(std::vector<MemDayRow>& rows) {
    StableSortRows(rows, [](const MemDayRow& a, const MemDayRow& b) {
        return std::tie(a.Udept, a.Ucode) < std::tie(b.Udept, b.Ucode);
    });
}

void SortAfterRun(WorkingTables& tables) {
    SortMemAbnorAfterRun(tables.MemAbnor.rows);
    SortMemStatAfterRun(tables.MemStat.table.rows);
    SortMemUClassAfterRun(tables.MemUClass);
    SortMemDayAfterRun(tables.MemDay);
}

MemTabRow* FindMemTab(std::vector<MemTabRow>& rows, std::string_view udate, std::string_view timeName) {
    for (auto& r : rows) {
        if (r.UDate == udate && r.TimeName == timeName) return &r;
    }
    return nullptr;
}

MemRecordRow* FindMemRecordByLsh(std::vector<MemRecordRow>& rows, int lsh) {
    // Rows are appended in Lsh order, so the number usually is the position.
    if (lsh >= 1 && static_cast<std::size_t>(lsh) <= rows.size() && rows[lsh - 1].Lsh == lsh) {
        return &rows[lsh - 1];
    }
    for (auto& r : rows) {
        if (r.Lsh == lsh) return &r;
    }
    return nullptr;
}

MemRecordRow* FindMemRecord(std::vector<MemRecordRow>& rows, std::string_view ucode,
                            std::string_view checktime) {
    for (auto& r : rows) {
        if (r.Ucode == ucode && r.Checktime == checktime) return &r;
    }
    return nullptr;
}

MemStatRow* FindMemStat(std::vector<MemStatRow>& rows, std::string_view ucode) {
    for (auto& r : rows) {
        if (r.Ucode == ucode) return &r;
    }
    return nullptr;
}

MemDayRow* FindMemDay(std::vector<MemDayRow>& rows, std::string_view ucode) {
    for (auto& r : rows) {
        if (r.Ucode == ucode) return &r;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------

RecordCategoryFilter::RecordCategoryFilter(const RecordCategories& c, const CalcTexts& texts) {
    const std::pair<bool, const std::string*> items[] = {
        {c.normal, &texts.RecordErrorType1},    {c.duplicate, &texts.RecordErrorType2},
        {c.invalid, &texts.RecordErrorType3},   {c.wrongType, &texts.RecordErrorType4},
        {c.byHand, &texts.RecordErrorType5}};
    all_ = c.normal && c.duplicate && c.invalid && c.wrongType && c.byHand;
    if (all_) return;
    for (const auto& [set, text] : items) {
        if (!set) continue;
        expression_ += expression_.empty() ? "Errorshow='" : " or Errorshow='";
        expression_ += *text + "'";
        accepted_.push_back(*text);
    }
    if (accepted_.empty()) {
        // Nothing chosen: the grid looks for the literal text "Null", which no category has.
        expression_ = "Errorshow='Null'";
        accepted_.push_back("Null");
    }
}

bool RecordCategoryFilter::Accepts(const MemRecordRow& row) const {
    if (all_) return true;
    return std::find(accepted_.begin(), accepted_.end(), row.Errorshow.view()) != accepted_.end();
}

PeriodCategoryFilter::PeriodCategoryFilter(const PeriodCategories& c) : categories_(c) {
    all_ = c.normal && c.late && c.early && c.absent && c.noIn && c.noOut && c.overtimePeriods &&
           c.floatingPeriods;
    if (all_) return;
    const std::pair<bool, const char*> six[] = {
        {c.normal, "AbnorFlag=0"},   {c.late, "TLate > ''"},     {c.early, "TEarly > ''"},
        {c.absent, "IsNowork=True"}, {c.noIn, "IsNoin=True"},   {c.noOut, "IsNoout=True"}};
    for (const auto& [set, term] : six) {
        if (!set) continue;
        if (!expression_.empty()) expression_ += " or ";
        expression_ += term;
    }
    anyOfSix_ = !expression_.empty();
    const std::string overtime = c.overtimePeriods ? "IsOverTime=True" : "IsOverTime=False";
    expression_ = expression_.empty() ? overtime : "(" + expression_ + ") and " + overtime;
    const std::string floating = c.floatingPeriods ? "IsFreeTime=True" : "IsFreeTime=False";
    expression_ = "(" + expression_ + ") and " + floating;
}

bool PeriodCategoryFilter::Accepts(const PeriodFields& row) const {
    if (all_) return true;
    const PeriodCategories& c = categories_;
    if (anyOfSix_) {
        const bool any = (c.normal && row.AbnorFlag == AbnorNormal) || (c.late && !row.TLate.empty()) ||
                         (c.early && !row.TEarly.empty()) || (c.absent && row.IsNowork) ||
                         (c.noIn && row.IsNoIn) || (c.noOut && row.IsNoOut);
        if (!any) return false;
    }
    return row.IsOverTime == c.overtimePeriods && row.IsFreeTime == c.floatingPeriods;
}

}  // namespace kelvork::engine
