#include "calc_options.h"

#include <charconv>
#include <set>

namespace kelvork::calc {

namespace {

// "HH:mm:ss" exactly, a real time of day: seconds after midnight.
std::optional<int> ParseClock(const std::string& text)
{
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') return std::nullopt;
    int parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const char* begin = text.data() + i * 3;
        auto [end, ec] = std::from_chars(begin, begin + 2, parts[i]);
        if (ec != std::errc() || end != begin + 2) return std::nullopt;
    }
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return std::nullopt;
    return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

std::optional<int> ParseWhole(const std::string& text)
{
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

const char* CalcUsage()
{
    return "usage: kelvork-calc --db FILE --init\n"
           "       kelvork-calc --db FILE --from yyyy-mm-dd --to yyyy-mm-dd [--from-time HH:mm:ss] [--to-time HH:mm:ss]\n"
           "                    [--dept DEPTID | --user USERID] [--table MemRecord2|MemUClass|MemAbnor|MemStat|MemDay]\n"
           "                    [--format csv|json] [--out FILE]\n";
}

std::optional<CalcOptions> ParseCalcOptions(const std::vector<std::string>& args, std::string& error)
{
    static const std::set<std::string> valued = {"--db",   "--from", "--to",    "--from-time", "--to-time", "--dept",
                                                 "--user", "--table", "--format", "--out"};
    CalcOptions o;
    std::set<std::string> seen;
    std::optional<std::string> from, to;
    auto fail = [&](const std::string& text) -> std::optional<CalcOptions> {
        error = text;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (name == "--help" || name == "-h") {
            o.help = true;
            return o;
        }
        if (name == "--init") {
            if (value) return fail("--init takes no value");
            o.init = true;
            seen.insert(name);
            continue;
        }
        if (!valued.contains(name)) return fail("unknown argument " + args[i] + " (see --help)");
        if (!seen.insert(name).second) return fail(name + " is given twice");
        if (!value) {
            if (i + 1 >= args.size()) return fail(name + " needs a value");
            value = args[++i];
        }
        const std::string& v = *value;
        if (name == "--db") {
            if (v.empty()) return fail("--db needs a file");
            o.db = v;
        } else if (name == "--from") {
            from = v;
        } else if (name == "--to") {
            to = v;
        } else if (name == "--from-time" || name == "--to-time") {
            const auto t = ParseClock(v);
            if (!t) return fail(name + " is not a time HH:mm:ss: " + v);
            (name == "--from-time" ? o.fromTime : o.toTime) = *t;
        } else if (name == "--dept") {
            const auto d = ParseWhole(v);
            if (!d) return fail("--dept is not a department number: " + v);
            o.dept = *d;
        } else if (name == "--user") {
            if (v.empty()) return fail("--user needs an employee number");
            o.user = v;
        } else if (name == "--table") {
            const auto t = ParseTableName(v);
            if (!t) return fail("--table must be MemRecord2, MemUClass, MemAbnor, MemStat or MemDay: " + v);
            o.table = *t;
        } else if (name == "--format") {
            if (v == "csv") o.format = OutputFormat::Csv;
            else if (v == "json") o.format = OutputFormat::Json;
            else return fail("--format must be csv or json: " + v);
        } else if (name == "--out") {
            if (v.empty()) return fail("--out needs a file");
            o.out = v;
        }
    }
    if (o.db.empty()) return fail("--db FILE is required");
    if (o.init) {
        if (seen.size() > 2) return fail("--init takes only --db");
        return o;
    }
    if (!from || !to) return fail("--from and --to are required (or --init)");
    const auto f = engine::ParseDateText(*from);
    if (!f) return fail("--from is not a date yyyy-mm-dd: " + *from);
    const auto t = engine::ParseDateText(*to);
    if (!t) return fail("--to is not a date yyyy-mm-dd: " + *to);
    if (*f > *t) return fail("--from " + *from + " is after --to " + *to);
    if (o.dept && o.user) return fail("--dept and --user exclude each other");
    o.from = *f;
    o.to = *t;
    return o;
}

}  // namespace kelvork::calc
