#include "date_time.h"

#include <cmath>
#include <cstdio>

namespace kelvork::engine {

namespace {

// Reads 1..maxDigits decimal digits at text[pos]; advances pos. nullopt when there is no digit.
std::optional<int> ReadNumber(std::string_view text, std::size_t& pos, std::size_t minDigits,
                              std::size_t maxDigits) {
    std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && pos - start < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos - start < minDigits) return std::nullopt;
    return value;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// "HH:mm[:ss[.fff]]" from pos to the end of the text.
std::optional<int> ReadClock(std::string_view text, std::size_t pos) {
    auto h = ReadNumber(text, pos, 1, 2);
    if (!h || !Expect(text, pos, ':')) return std::nullopt;
    auto m = ReadNumber(text, pos, 2, 2);
    if (!m) return std::nullopt;
    int s = 0;
    if (Expect(text, pos, ':')) {
        auto sec = ReadNumber(text, pos, 2, 2);
        if (!sec) return std::nullopt;
        s = *sec;
        if (Expect(text, pos, '.')) {
            if (!ReadNumber(text, pos, 1, 9)) return std::nullopt;
        }
    }
    if (pos != text.size() || *h > 23 || *m > 59 || s > 59) return std::nullopt;
    return *h * 3600 + *m * 60 + s;
}

// "yyyy-m-d" at the start; pos is left after the day.
std::optional<DayNumber> ReadDate(std::string_view text, std::size_t& pos) {
    auto y = ReadNumber(text, pos, 4, 4);
    if (!y || !Expect(text, pos, '-')) return std::nullopt;
    auto mo = ReadNumber(text, pos, 1, 2);
    if (!mo || !Expect(text, pos, '-')) return std::nullopt;
    auto d = ReadNumber(text, pos, 1, 2);
    if (!d || !IsValidDate(*y, *mo, *d)) return std::nullopt;
    return DayFromCivil(*y, *mo, *d);
}

void Put2(char* out, int v) {
    out[0] = static_cast<char>('0' + v / 10 % 10);
    out[1] = static_cast<char>('0' + v % 10);
}

void PutDate(char* out, DayNumber day) {
    CivilDate c = CivilFromDay(day);
    int y = c.year;
    if (y < 0 || y > 9999) y = 0;
    out[0] = static_cast<char>('0' + y / 1000);
    out[1] = static_cast<char>('0' + y / 100 % 10);
    out[2] = static_cast<char>('0' + y / 10 % 10);
    out[3] = static_cast<char>('0' + y % 10);
    out[4] = '-';
    Put2(out + 5, c.month);
    out[7] = '-';
    Put2(out + 8, c.day);
}

std::string HoursText(long long hours, int minutes, int seconds) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02lld:%02d:%02d", hours, minutes, seconds);
    return buf;
}

Moment WholeSeconds(double seconds) {
    // Rounded to milliseconds, then whole seconds: the way a day fraction is shown as a time.
    double ms = std::nearbyint(std::fabs(seconds) * 1000.0);
    return static_cast<Moment>(ms / 1000.0);
}

}  // namespace

DayNumber DayFromCivil(int year, int month, int day) {
    // Howard Hinnant's days_from_civil.
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(year - era * 400);
    const unsigned mp = static_cast<unsigned>(month + (month > 2 ? -3 : 9));
    const unsigned doy = (153 * mp + 2) / 5 + static_cast<unsigned>(day) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int>(doe) - 719468;
}

CivilDate CivilFromDay(DayNumber z) {
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int y = static_cast<int>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return CivilDate{y + (m <= 2 ? 1 : 0), static_cast<int>(m), static_cast<int>(d)};
}

bool IsValidDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int last = kDays[month - 1];
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) last = 29;
    return day <= last;
}

int WeekdayOf(DayNumber day) {
    // 1970-01-01 was a Thursday (4).
    int w = (day + 4) % 7;
    return w < 0 ? w + 7 : w;
}

DayNumber DayOfMoment(Moment m) {
    Moment d = m / kSecondsPerDay;
    if (m % kSecondsPerDay < 0) --d;
    return static_cast<DayNumber>(d);
}

int SecondOfDay(Moment m) {
    Moment s = m % kSecondsPerDay;
    return static_cast<int>(s < 0 ? s + kSecondsPerDay : s);
}

std::optional<DayNumber> ParseDateText(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    std::size_t pos = 0;
    auto d = ReadDate(text, pos);
    if (!d || pos != text.size()) return std::nullopt;
    return d;
}

// The canonical punch and clock texts, "yyyy-mm-dd HH:mm:ss" and "yyyy-mm-dd HH:mm", read by
// position (the common case, millions of times a run).
static std::optional<Moment> ParseCanonicalMoment(std::string_view t) {
    auto digit = [&](std::size_t i) { return static_cast<unsigned>(t[i] - '0'); };
    auto digits = [&](std::size_t i, std::size_t n) {
        for (std::size_t k = i; k < i + n; ++k) {
            if (digit(k) > 9) return false;
        }
        return true;
    };
    if (t[4] != '-' || t[7] != '-' || t[10] != ' ' || t[13] != ':') return std::nullopt;
    if (!digits(0, 4) || !digits(5, 2) || !digits(8, 2) || !digits(11, 2) || !digits(14, 2)) return std::nullopt;
    int sec = 0;
    if (t.size() == 19) {
        if (t[16] != ':' || !digits(17, 2)) return std::nullopt;
        sec = static_cast<int>(digit(17) * 10 + digit(18));
    }
    const int y = static_cast<int>(digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3));
    const int mo = static_cast<int>(digit(5) * 10 + digit(6));
    const int d = static_cast<int>(digit(8) * 10 + digit(9));
    const int h = static_cast<int>(digit(11) * 10 + digit(12));
    const int mi = static_cast<int>(digit(14) * 10 + digit(15));
    if (!IsValidDate(y, mo, d) || h > 23 || mi > 59 || sec > 59) return std::nullopt;
    return MomentOf(DayFromCivil(y, mo, d), h * 3600 + mi * 60 + sec);
}

std::optional<Moment> ParseMoment(std::string_view text) {
    if (text.size() == 19 || text.size() == 16) {
        if (auto m = ParseCanonicalMoment(text)) return m;
    }
    std::size_t pos = 0;
    auto day = ReadDate(text, pos);
    if (!day) return std::nullopt;
    if (pos == text.size()) return MomentOf(*day, 0);
    if (text[pos] != ' ' && text[pos] != 'T') return std::nullopt;
    auto clock = ReadClock(text, pos + 1);
    if (!clock) return std::nullopt;
    return MomentOf(*day, *clock);
}

std::optional<int> ParseTimeOfDay(std::string_view text) {
    std::size_t blank = text.find_first_of(" T");
    if (blank != std::string_view::npos) {
        auto m = ParseMoment(text);
        if (!m) return std::nullopt;
        return SecondOfDay(*m);
    }
    return ReadClock(text, 0);
}

std::string DateText(DayNumber day) {
    std::string out(10, ' ');
    PutDate(out.data(), day);
    return out;
}

std::string ClockText(DayNumber day, int secondOfDay) {
    std::string out(16, ' ');
    PutDate(out.data(), day);
    Put2(out.data() + 11, secondOfDay / 3600);
    out[13] = ':';
    Put2(out.data() + 14, secondOfDay / 60 % 60);
    return out;
}

std::string MomentText(Moment m) {
    std::string out(19, ' ');
    PutDate(out.data(), DayOfMoment(m));
    int s = SecondOfDay(m);
    Put2(out.data() + 11, s / 3600);
    out[13] = ':';
    Put2(out.data() + 14, s / 60 % 60);
    out[16] = ':';
    Put2(out.data() + 17, s % 60);
    return out;
}

std::string TimeOfDayText(int secondOfDay) {
    std::string out(5, ':');
    Put2(out.data(), secondOfDay / 3600 % 24);
    Put2(out.data() + 3, secondOfDay / 60 % 60);
    return out;
}

std::string DurationText(Moment seconds) {
    if (seconds < 0) seconds = -seconds;
    int s = static_cast<int>(seconds % kSecondsPerDay);
    return HoursText(s / 3600, s / 60 % 60, s % 60);
}

std::string LongDurationText(Moment seconds) {
    if (seconds < 0) seconds = -seconds;
    return HoursText(seconds / 3600, static_cast<int>(seconds / 60 % 60),
                     static_cast<int>(seconds % 60));
}

std::string FractionalDurationText(double seconds) { return DurationText(WholeSeconds(seconds)); }

std::string FractionalLongDurationText(double seconds) { return LongDurationText(WholeSeconds(seconds)); }

}  // namespace kelvork::engine
