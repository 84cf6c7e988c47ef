#pragma once
// The eight working tables of the calculation: plain rows in vectors, each with the order it is
// read and shown in, lookup helpers for its indexes, and the two category filters of the result
// grids. Nothing here is stored in the database; a run fills them and they live until the next run.
//
// Field names are the names the grids, reports and kelvork-calc show. A text field holds at most
// its width in characters: `Text<N>` cuts every value it is given to N characters (UTF-8 aware),
// so a 50-character department name shows as its first 20 characters in `Udept`, everywhere.

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "parameters.h"

namespace kelvork::engine {

// `text` cut to at most `maxChars` characters (UTF-8 code points; a broken sequence counts each
// byte as one character, so the result never ends inside a sequence it kept).
std::string FitText(std::string_view text, std::size_t maxChars);

// The storage of a text field: texts of up to 22 bytes (clock and punch texts, most names) live
// inside the field, longer ones on the heap. 24 bytes, copied and moved like a string.
class CompactText {
public:
    CompactText() noexcept { raw_[kTag] = 0; }
    explicit CompactText(std::string_view value) {
        raw_[kTag] = 0;
        Assign(value);
    }
    CompactText(const CompactText& other) : CompactText(other.view()) {}
    CompactText(CompactText&& other) noexcept {
        std::memcpy(raw_, other.raw_, sizeof raw_);
        other.raw_[kTag] = 0;
    }
    CompactText& operator=(const CompactText& other) {
        if (this != &other) Assign(other.view());
        return *this;
    }
    CompactText& operator=(CompactText&& other) noexcept {
        if (this != &other) {
            if (OnHeap()) ReleaseHeap();
            std::memcpy(raw_, other.raw_, sizeof raw_);
            other.raw_[kTag] = 0;
        }
        return *this;
    }
    ~CompactText() {
        if (OnHeap()) ReleaseHeap();
    }

    // `value` may point into this text itself.
    void Assign(std::string_view value) {
        if (value.size() <= kInline && !OnHeap()) {
            if (!value.empty()) std::memmove(raw_, value.data(), value.size());
            raw_[kTag] = static_cast<char>(value.size());
            return;
        }
        AssignSlow(value);
    }

    std::string_view view() const noexcept {
        if (static_cast<unsigned char>(raw_[kTag]) != kHeap) {
            return {raw_, static_cast<unsigned char>(raw_[kTag])};
        }
        const char* data;
        std::uint32_t size;
        std::memcpy(&data, raw_, sizeof data);
        std::memcpy(&size, raw_ + sizeof data, sizeof size);
        return {data, size};
    }

private:
    static constexpr std::size_t kTag = 23;
    static constexpr std::size_t kInline = 22;
    static constexpr unsigned char kHeap = 0xFF;
    bool OnHeap() const noexcept { return static_cast<unsigned char>(raw_[kTag]) == kHeap; }
    void ReleaseHeap() noexcept;
    void AssignSlow(std::string_view value);

    alignas(8) char raw_[24];
};

// A text field of at most N characters.
template <std::size_t N>
class Text {
public:
    static constexpr std::size_t kWidth = N;

    Text() = default;
    Text(std::string_view value) { *this = value; }           // NOLINT: implicit on purpose
    Text(const std::string& value) { *this = std::string_view(value); }  // NOLINT
    Text(const char* value) { *this = std::string_view(value); }         // NOLINT
    Text& operator=(std::string_view value) {
        if (value.size() <= N) {
            store_.Assign(value);  // at most N bytes, so at most N characters
        } else {
            store_.Assign(FitText(value, N));
        }
        return *this;
    }
    Text& operator=(const std::string& value) { return *this = std::string_view(value); }
    Text& operator=(const char* value) { return *this = std::string_view(value); }

    std::string str() const { return std::string(store_.view()); }
    std::string_view view() const { return store_.view(); }
    operator std::string_view() const { return store_.view(); }  // NOLINT
    bool empty() const { return store_.view().empty(); }
    void clear() { store_.Assign({}); }

private:
    CompactText store_;
};

// Text fields compare as text (byte order of UTF-8, which is the order of the date and clock texts).
template <std::size_t N, std::size_t M>
bool operator==(const Text<N>& a, const Text<M>& b) {
    return a.view() == b.view();
}
template <std::size_t N, std::size_t M>
std::strong_ordering operator<=>(const Text<N>& a, const Text<M>& b) {
    return a.view().compare(b.view()) <=> 0;
}
template <std::size_t N>
bool operator==(const Text<N>& a, std::string_view b) {
    return a.view() == b;
}
template <std::size_t N>
std::strong_ordering operator<=>(const Text<N>& a, std::string_view b) {
    return a.view().compare(b) <=> 0;
}

// ---------------------------------------------------------------------------------------------
// Texts of the coded values (language-file keys of section "Resource"; defaults are the built-in
// texts). The run and the grids take them from here so that one language file changes both.
struct CalcTexts {
    std::string CheckType1 = "上班签到";  // I
    std::string CheckType2 = "下班签退";  // O
    std::string CheckType3 = "加班到";    // i
    std::string CheckType4 = "加班退";    // o
    std::string CheckType5 = "外出";      // 0
    std::string CheckType6 = "外出回";    // 1
    std::string DisposeRecord = "删除";
    std::string RecordErrorType1 = "正常记录";  // normal
    std::string RecordErrorType2 = "重复记录";  // duplicate (a filter category only)
    std::string RecordErrorType3 = "无效记录";  // invalid
    std::string RecordErrorType4 = "状态错误";  // wrong type
    std::string RecordErrorType5 = "手工处理";  // handling chosen by hand
    std::string Beaway = "公出";                // business trip
    std::string RecordAbnor1 = "自由加班";      // free overtime
    std::string RecordAbnor2 = "外出";          // going out
    std::string CheckRecordCaption = "系统进程：考勤数据审核";
    std::string CheckRecordProcess1 = "正在审核员工考勤数据，请稍等……";
    std::string CheckRecordProcess2 = "正在审核员工 %s 的考勤数据……";
    std::string CheckRecordProcess3 = "审核员工考勤数据完成！ ";
    std::string NoUser = "选择的部门没有员工，请重新选择！";

    // The text of a stored punch type: CheckType1 ... CheckType6 for "I", "O", "i", "o", "0", "1";
    // any other code is its own text.
    std::string TypeText(std::string_view code) const;
};

// ---------------------------------------------------------------------------------------------
// Coded values.

// `AbnorFlag`: result of a period.
enum AbnorFlagValue : int {
    AbnorFreeIncomplete = -1,  // floating period without a complete punch pair
    AbnorNormal = 0,
    AbnorLate = 1,
    AbnorEarly = 2,
    AbnorAbsent = 3,
    AbnorNoIn = 4,
    AbnorNoOut = 5,
};

// `MaxFlag`: selection state of a planned period.
enum MaxFlagValue : int {
    MaxNotChosen = 0,
    MaxChosenByPunches = 1,
    MaxEvaluated = 2,
};

// ---------------------------------------------------------------------------------------------
// `MemClass`: planned periods for the scheduling screen's plan grid. Order `OnTime`.
struct MemClassRow {
    Text<20> Ucode;
    Text<10> UDate;
    Text<20> TimeName;
    Text<16> OnTime;   // the period's start of work, time of day "HH:mm"
    Text<16> OffTime;  // the period's end of work, time of day "HH:mm"
};

// The fields `MemTab` and `MemUClass` share, `Ucode` ... `AbnorFlag`, in field order.
struct PeriodFields {
    Text<20> Ucode;
    Text<10> UDate;     // the date the period is planned on
    Text<20> Udept;     // department name
    Text<30> Uname;     // employee name
    Text<20> TimeName;  // period name
    int TimeID = 0;     // TimeTable.Timeid
    Text<16> OnTime;    // start of work, clock text
    Text<16> OffTime;   // end of work, clock text
    Text<16> SOntime;   // check-in window start
    Text<16> SOfftime;  // check-out window start
    Text<16> EOntime;   // check-in window end
    Text<16> EOfftime;  // check-out window end
    int LateTime = 0;   // lateness grace, minutes
    int EarlyTime = 0;  // early-leave grace, minutes
    bool OnFlag = false;   // a check-in is required
    bool OffFlag = false;  // a check-out is required
    double Workday = 0;    // workdays credited
    int WorkLong = 0;      // minutes credited
    Text<19> AOntime;   // the actual check-in punch time, empty if none
    Text<19> AOfftime;  // the actual check-out punch time, empty if none
    Text<8> TLate;      // lateness "HH:mm:ss", empty if not late
    Text<8> TEarly;     // early leave, empty if not early
    Text<8> TAdd;       // overtime of the period
    bool IsNoIn = false;
    bool IsNoOut = false;
    bool IsNowork = false;
    bool IsFreeTime = false;  // floating period
    bool IsOverTime = false;  // overtime period
    Text<20> Memo;            // leave types covering the period, joined by ";"
    int AbnorFlag = AbnorNormal;
};

// `MemTab`: planned periods of the employee being calculated. Order "UDate;OnTime"; index
// `PrimaryKey` on "UDate;TimeName".
struct MemTabRow : PeriodFields {
    int MaxFlag = MaxNotChosen;
    bool AutoClass = false;  // from a cycle with automatic selection
};

// `MemUClass`: evaluated periods of all employees of the run. Order after a run
// "Udept;Ucode;Ontime"; index `PrimaryKey` on "UDate;TimeName".
struct MemUClassRow : PeriodFields {
    MemUClassRow() = default;
    explicit MemUClassRow(const PeriodFields& fields) : PeriodFields(fields) {}
};

// `MemRecord` (punches of the employee being calculated) and `MemRecord2` (punches of all
// employees of the run). Order `Lsh`; indexes `PKey` on `Lsh`, `PrimaryKey` on "Ucode;Checktime".
struct MemRecordRow {
    int Lsh = 0;           // row number in insertion order, from 1
    Text<20> Ucode;
    Text<19> Checktime;    // punch time
    Text<20> Udept;
    Text<30> Uname;
    Text<1> Utype;         // the punch's role as the matching decided it
    Text<20> Utypename;    // the text of the punch's stored type
    Text<10> Sensorid;
    Text<20> Timename;     // the period the punch was given to, empty if none
    Text<20> Disposeplan;  // proposed handling, empty if none
    Text<20> Errorshow;    // category
    bool Checked = false;  // already confirmed in the database
    int WorkCode = 0;      // Checkinout.WorkType
};

// `MemAbnor`: leave, business-trip, free-overtime and going-out entries. Order after a run
// "Udept;Ucode;Begintime"; indexes `PKey` on `Lsh`, `PrimaryKey` on "Ucode;Begintime".
struct MemAbnorRow {
    int Lsh = 0;
    Text<20> Ucode;
    Text<20> Udept;
    Text<30> Uname;
    Text<19> Begintime;
    Text<19> Endtime;
    Text<20> Abnorshow;  // kind: a leave type, RecordAbnor1 or RecordAbnor2
    Text<20> Timelong;   // duration "HH:mm:ss"; leave entries may exceed 24 hours
    double Workday = 0;  // workdays of a leave or trip (one decimal); 0 for other kinds
    Text<20> Remark;     // reason of a leave or trip
};

// `MemStat`: one row of totals per employee. Order after a run "Udept;Ucode"; indexes `PKey` on
// `Lsh`, `PrimaryKey` on `Ucode`. `LeaveClasses` holds one figure per leave-class column of the
// table's definition (MemStatTable::leaveClassNames), in that order.
struct MemStatRow {
    int Lsh = 0;
    Text<20> Udept;
    Text<20> Ucode;
    Text<30> Uname;
    double Normal = 0;
    double Actual = 0;
    double Latetime = 0;
    double Earlytime = 0;
    double Absenttime = 0;
    double Overtime = 0;
    double WOvertime = 0;
    double HOvertime = 0;
    double FOvertime = 0;
    double Freeovertime = 0;
    int Noin = 0;
    int Noout = 0;
    double Awaytime = 0;
    double Busyleave = 0;
    double Leave = 0;
    std::vector<double> LeaveClasses;
    double Worktime = 0;  // hours, one decimal
    double Attrate = 0;   // whole percent 0 ... 100
};

// `MemDay`: one row per employee with one mark per day of the range (Day1 = the range's first
// date). Order after a run "Udept;Ucode"; index `PrimaryKey` on `Ucode`.
struct MemDayRow {
    Text<20> Ucode;
    Text<30> Uname;
    Text<20> Udept;
    std::array<Text<10>, 31> Day;  // Day[0] is Day1
};

// ---------------------------------------------------------------------------------------------
// Tables with an autoinc `Lsh`: Append numbers rows 1, 2, 3 ... in insertion order; Clear empties
// the table and starts the numbering again (the table is closed and reopened).
template <typename Row>
struct NumberedTable {
    std::vector<Row> rows;
    int nextLsh = 1;

    Row& Append(Row row) {
        row.Lsh = nextLsh++;
        rows.push_back(std::move(row));
        return rows.back();
    }
    void Clear() {
        rows.clear();
        nextLsh = 1;
    }
};

// `MemStat` with its definition: the fixed fields and one float field per leave class.
struct MemStatTable {
    std::vector<std::string> leaveClassNames;  // the leave-class columns, in LeaveClass order
    std::vector<int> leaveClassIds;            // the Classid of each of those columns
    NumberedTable<MemStatRow> table;

    // All field names in order: Lsh, Udept, Ucode, Uname, Normal ... Leave, the leave classes,
    // Worktime, Attrate.
    std::vector<std::string> FieldNames() const;
    // The column index into MemStatRow::LeaveClasses of the class `classid`, or nullopt.
    std::optional<std::size_t> ColumnOfClass(int classid) const;
    // Appends a row for an employee with every figure 0 (the leave-class figures included).
    MemStatRow& AppendEmployee(std::string_view ucode, std::string_view udept, std::string_view uname);
};

// A leave class whose name cannot be a column of MemStat.
struct MemStatDefinitionProblem {
    int Classid = 0;
    std::string Classname;
    std::string text;
};

// Defines `MemStat` anew: empties it, replaces the leave-class columns by the current classes in
// their order. A class whose name is empty or equals (case-insensitively, as field names do) a
// fixed field or an earlier class gets no column and is reported; its leave then counts in
// `Leave` only.
std::vector<MemStatDefinitionProblem> DefineMemStat(MemStatTable& memStat,
                                                    const std::vector<TLeaveClass>& leaveClasses);

// The five result tables of a run, emptied at the start of every run.
struct WorkingTables {
    NumberedTable<MemRecordRow> MemRecord2;
    std::vector<MemUClassRow> MemUClass;
    NumberedTable<MemAbnorRow> MemAbnor;
    MemStatTable MemStat;
    std::vector<MemDayRow> MemDay;

    // Empties the five tables (the MemStat definition stays).
    void Clear();
};

// ---------------------------------------------------------------------------------------------
// Orders (all stable: rows equal in the order's fields keep their insertion order).
void SortMemClass(std::vector<MemClassRow>& rows);   // OnTime
void SortMemTab(std::vector<MemTabRow>& rows);       // UDate;OnTime
void SortMemUClassAfterRun(std::vector<MemUClassRow>& rows);  // Udept;Ucode;OnTime
void SortMemAbnorAfterRun(std::vector<MemAbnorRow>& rows);    // Udept;Ucode;Begintime
void SortMemStatAfterRun(std::vector<MemStatRow>& rows);      // Udept;Ucode
void SortMemDayAfterRun(std::vector<MemDayRow>& rows);        // Udept;Ucode
// Puts the five result tables in the orders they are shown in after a run (MemRecord2 stays in
// `Lsh` order).
void SortAfterRun(WorkingTables& tables);

// Index lookups; each returns the first row in table order that matches, or nullptr.
MemTabRow* FindMemTab(std::vector<MemTabRow>& rows, std::string_view udate, std::string_view timeName);
MemRecordRow* FindMemRecordByLsh(std::vector<MemRecordRow>& rows, int lsh);
MemRecordRow* FindMemRecord(std::vector<MemRecordRow>& rows, std::string_view ucode,
                            std::string_view checktime);
MemStatRow* FindMemStat(std::vector<MemStatRow>& rows, std::string_view ucode);
MemDayRow* FindMemDay(std::vector<MemDayRow>& rows, std::string_view ucode);

// ---------------------------------------------------------------------------------------------
// Category filters of the result grids. Each gives the filter expression the grid applies (empty
// when there is no filter) and the predicate it stands for.

// The five check items of the punch grid: normal, duplicate, invalid, wrong type, by hand.
struct RecordCategories {
    bool normal = true;
    bool duplicate = true;
    bool invalid = true;
    bool wrongType = true;
    bool byHand = true;
};

class RecordCategoryFilter {
public:
    RecordCategoryFilter(const RecordCategories& categories, const CalcTexts& texts);
    // "Errorshow='...' or Errorshow='...'"; "Errorshow='Null'" when none is set; empty when all are.
    const std::string& Expression() const { return expression_; }
    bool Accepts(const MemRecordRow& row) const;

private:
    std::string expression_;
    bool all_ = false;
    std::vector<std::string> accepted_;
};

// The eight check items of the period grid.
struct PeriodCategories {
    bool normal = true;
    bool late = true;
    bool early = true;
    bool absent = true;
    bool noIn = true;
    bool noOut = true;
    bool overtimePeriods = true;
    bool floatingPeriods = true;
};

class PeriodCategoryFilter {
public:
    explicit PeriodCategoryFilter(const PeriodCategories& categories);
    // Built from the first six items joined by " or ", then narrowed by the overtime and the
    // floating items ("(E) and IsOverTime=True" ...); empty when all eight are set.
    const std::string& Expression() const { return expression_; }
    bool Accepts(const PeriodFields& row) const;

private:
    PeriodCategories categories_;
    std::string expression_;
    bool all_ = false;
    bool anyOfSix_ = false;
};

}  // namespace kelvork::engine
