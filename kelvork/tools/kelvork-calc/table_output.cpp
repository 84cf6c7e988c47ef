#include "table_output.h"

#include <array>
#include <charconv>
#include <cmath>
#include <vector>

namespace kelvork::calc {

namespace {

// One field value of a row.
struct Cell {
    enum class Kind { Text, Integer, Number, Flag } kind = Kind::Text;
    std::string_view text;
    long long integer = 0;
    double number = 0;
    bool flag = false;

    static Cell Text(std::string_view t) { Cell c; c.text = t; return c; }
    static Cell Integer(long long n) { Cell c; c.kind = Kind::Integer; c.integer = n; return c; }
    static Cell Number(double d) { Cell c; c.kind = Kind::Number; c.number = d; return c; }
    static Cell Flag(bool b) { Cell c; c.kind = Kind::Flag; c.flag = b; return c; }
};

class Writer {
public:
    virtual ~Writer() = default;
    virtual void Header(const std::vector<std::string>& names) = 0;
    virtual void Row(const std::vector<Cell>& cells) = 0;
    virtual void End() = 0;
};

void WriteCsvText(std::ostream& out, std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out << text;
        return;
    }
    out << '"';
    for (char ch : text) {
        if (ch == '"') out << '"';
        out << ch;
    }
    out << '"';
}

class CsvWriter : public Writer {
public:
    explicit CsvWriter(std::ostream& out) : out_(out) {}
    void Header(const std::vector<std::string>& names) override
    {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (i) out_ << ',';
            WriteCsvText(out_, names[i]);
        }
        out_ << "\r\n";
    }
    void Row(const std::vector<Cell>& cells) override
    {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i) out_ << ',';
            const Cell& c = cells[i];
            switch (c.kind) {
            case Cell::Kind::Text: WriteCsvText(out_, c.text); break;
            case Cell::Kind::Integer: out_ << c.integer; break;
            case Cell::Kind::Number: out_ << NumberText(c.number); break;
            case Cell::Kind::Flag: out_ << (c.flag ? '1' : '0'); break;
            }
        }
        out_ << "\r\n";
    }
    void End() override {}

private:
    std::ostream& out_;
};

void WriteJsonText(std::ostream& out, std::string_view text)
{
    out << '"';
    for (unsigned char ch : text) {
        switch (ch) {
        case '"': out << "\\\""; break;
        case '\\': out << "\\\\"; break;
        case '\n': out << "\\n"; break;
        case '\r': out << "\\r"; break;
        case '\t': out << "\\t"; break;
        default:
            if (ch < 0x20) {
                static const char* hex = "0123456789abcdef";
                out << "\\u00" << hex[ch >> 4] << hex[ch & 15];
            } else {
                out << static_cast<char>(ch);
            }
        }
    }
    out << '"';
}

class JsonWriter : public Writer {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}
    void Header(const std::vector<std::string>& names) override
    {
        names_ = names;
        out_ << '[';
    }
    void Row(const std::vector<Cell>& cells) override
    {
        out_ << (rows_++ ? ",\n{" : "\n{");
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i) out_ << ',';
            WriteJsonText(out_, names_[i]);
            out_ << ':';
            const Cell& c = cells[i];
            switch (c.kind) {
            case Cell::Kind::Text: WriteJsonText(out_, c.text); break;
            case Cell::Kind::Integer: out_ << c.integer; break;
            case Cell::Kind::Number:
                if (std::isfinite(c.number))
                    out_ << NumberText(c.number);
                else
                    out_ << "null";
                break;
            case Cell::Kind::Flag: out_ << (c.flag ? "true" : "false"); break;
            }
        }
        out_ << '}';
    }
    void End() override { out_ << (rows_ ? "\n]\n" : "]\n"); }

private:
    std::ostream& out_;
    std::vector<std::string> names_;
    std::size_t rows_ = 0;
};

const std::vector<std::string> kMemRecordFields = {"Lsh",      "Ucode",     "Checktime",   "Udept",     "Uname",
                                                   "Utype",    "Utypename", "Sensorid",    "Timename",  "Disposeplan",
                                                   "Errorshow", "Checked",  "WorkCode"};

const std::vector<std::string> kPeriodFields = {
    "Ucode",    "UDate",    "Udept",    "Uname",     "TimeName",  "TimeID",     "OnTime",     "OffTime",
    "SOntime",  "SOfftime", "EOntime",  "EOfftime",  "LateTime",  "EarlyTime",  "OnFlag",     "OffFlag",
    "Workday",  "WorkLong", "AOntime",  "AOfftime",  "TLate",     "TEarly",     "TAdd",       "IsNoIn",
    "IsNoOut",  "IsNowork", "IsFreeTime", "IsOverTime", "Memo",   "AbnorFlag"};

const std::vector<std::string> kMemAbnorFields = {"Lsh",       "Ucode",     "Udept",    "Uname",   "Begintime",
                                                  "Endtime",   "Abnorshow", "Timelong", "Workday", "Remark"};

std::vector<std::string> MemDayFields()
{
    std::vector<std::string> names = {"Ucode", "Uname", "Udept"};
    for (int d = 1; d <= 31; ++d) names.push_back("Day" + std::to_string(d));
    return names;
}

void Write(const engine::WorkingTables& tables, TableName table, Writer& w)
{
    using C = Cell;
    std::vector<Cell> cells;
    switch (table) {
    case TableName::MemRecord2:
        w.Header(kMemRecordFields);
        for (const engine::MemRecordRow& r : tables.MemRecord2.rows) {
            cells = {C::Integer(r.Lsh),      C::Text(r.Ucode),     C::Text(r.Checktime), C::Text(r.Udept),
                     C::Text(r.Uname),       C::Text(r.Utype),     C::Text(r.Utypename), C::Text(r.Sensorid),
                     C::Text(r.Timename),    C::Text(r.Disposeplan), C::Text(r.Errorshow), C::Flag(r.Checked),
                     C::Integer(r.WorkCode)};
            w.Row(cells);
        }
        break;
    case TableName::MemUClass:
        w.Header(kPeriodFields);
        for (const engine::MemUClassRow& r : tables.MemUClass) {
            cells = {C::Text(r.Ucode),      C::Text(r.UDate),      C::Text(r.Udept),      C::Text(r.Uname),
                     C::Text(r.TimeName),   C::Integer(r.TimeID),  C::Text(r.OnTime),     C::Text(r.OffTime),
                     C::Text(r.SOntime),    C::Text(r.SOfftime),   C::Text(r.EOntime),    C::Text(r.EOfftime),
                     C::Integer(r.LateTime), C::Integer(r.EarlyTime), C::Flag(r.OnFlag),  C::Flag(r.OffFlag),
                     C::Number(r.Workday),  C::Integer(r.WorkLong), C::Text(r.AOntime),   C::Text(r.AOfftime),
                     C::Text(r.TLate),      C::Text(r.TEarly),     C::Text(r.TAdd),       C::Flag(r.IsNoIn),
                     C::Flag(r.IsNoOut),    C::Flag(r.IsNowork),   C::Flag(r.IsFreeTime), C::Flag(r.IsOverTime),
                     C::Text(r.Memo),       C::Integer(r.AbnorFlag)};
            w.Row(cells);
        }
        break;
    case TableName::MemAbnor:
        w.Header(kMemAbnorFields);
        for (const engine::MemAbnorRow& r : tables.MemAbnor.rows) {
            cells = {C::Integer(r.Lsh),     C::Text(r.Ucode),    C::Text(r.Udept),     C::Text(r.Uname),
                     C::Text(r.Begintime),  C::Text(r.Endtime),  C::Text(r.Abnorshow), C::Text(r.Timelong),
                     C::Number(r.Workday),  C::Text(r.Remark)};
            w.Row(cells);
        }
        break;
    case TableName::MemStat:
        w.Header(tables.MemStat.FieldNames());
        for (const engine::MemStatRow& r : tables.MemStat.table.rows) {
            cells = {C::Integer(r.Lsh),       C::Text(r.Udept),        C::Text(r.Ucode),       C::Text(r.Uname),
                     C::Number(r.Normal),     C::Number(r.Actual),     C::Number(r.Latetime),  C::Number(r.Earlytime),
                     C::Number(r.Absenttime), C::Number(r.Overtime),   C::Number(r.WOvertime), C::Number(r.HOvertime),
                     C::Number(r.FOvertime),  C::Number(r.Freeovertime), C::Integer(r.Noin),   C::Integer(r.Noout),
                     C::Number(r.Awaytime),   C::Number(r.Busyleave),  C::Number(r.Leave)};
            for (std::size_t i = 0; i < tables.MemStat.leaveClassNames.size(); ++i)
                cells.push_back(C::Number(i < r.LeaveClasses.size() ? r.LeaveClasses[i] : 0.0));
            cells.push_back(C::Number(r.Worktime));
            cells.push_back(C::Number(r.Attrate));
            w.Row(cells);
        }
        break;
    case TableName::MemDay:
        w.Header(MemDayFields());
        for (const engine::MemDayRow& r : tables.MemDay) {
            cells = {C::Text(r.Ucode), C::Text(r.Uname), C::Text(r.Udept)};
            for (const auto& mark : r.Day) cells.push_back(C::Text(mark));
            w.Row(cells);
        }
        break;
    }
    w.End();
}

}  // namespace

std::optional<TableName> ParseTableName(std::string_view name)
{
    static const std::array<std::pair<const char*, TableName>, 5> names = {{{"MemRecord2", TableName::MemRecord2},
                                                                            {"MemUClass", TableName::MemUClass},
                                                                            {"MemAbnor", TableName::MemAbnor},
                                                                            {"MemStat", TableName::MemStat},
                                                                            {"MemDay", TableName::MemDay}}};
    auto lower = [](std::string_view s) {
        std::string l(s);
        for (char& ch : l)
            if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
        return l;
    };
    for (const auto& [text, table] : names)
        if (lower(text) == lower(name)) return table;
    return std::nullopt;
}

std::string NumberText(double value)
{
    if (value == 0) return "0";
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

void WriteTable(const engine::WorkingTables& tables, TableName table, OutputFormat format, std::ostream& out)
{
    if (format == OutputFormat::Csv) {
        CsvWriter w(out);
        Write(tables, table, w);
    } else {
        JsonWriter w(out);
        Write(tables, table, w);
    }
}

}  // namespace kelvork::calc
