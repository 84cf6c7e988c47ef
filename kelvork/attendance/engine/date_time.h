#pragma once
// Dates, moments and the texts the calculation compares and shows.
//
// A date is a day number (days since 1970-01-01, negative before it); a moment is whole seconds
// since 1970-01-01 00:00:00 on the wall clock the database holds (no time zones). Differences of
// moments are exact whole seconds, so a lateness of exactly the grace minutes is never a hair late;
// a day fraction is seconds / 86400 where a rule needs one.
//
// Texts: a date "yyyy-mm-dd" (10 characters), a clock text "yyyy-mm-dd HH:mm" (16), a punch time
// "yyyy-mm-dd HH:mm:ss" (19). Clock texts and punch times compare correctly as text with each other.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvork::engine {

using DayNumber = std::int32_t;
using Moment = std::int64_t;

inline constexpr Moment kSecondsPerDay = 86400;

struct CivilDate {
    int year = 1970;
    int month = 1;  // 1 ... 12
    int day = 1;    // 1 ... 31
};

// The day number of a proleptic Gregorian date (no validation; see IsValidDate).
DayNumber DayFromCivil(int year, int month, int day);
CivilDate CivilFromDay(DayNumber day);
bool IsValidDate(int year, int month, int day);
// 0 for Sunday ... 6 for Saturday.
int WeekdayOf(DayNumber day);

inline Moment MomentOf(DayNumber day, int secondOfDay) {
    return static_cast<Moment>(day) * kSecondsPerDay + secondOfDay;
}
// The date of a moment (floor, also before 1970).
DayNumber DayOfMoment(Moment m);
// Seconds since midnight of a moment's date, 0 ... 86399.
int SecondOfDay(Moment m);

// "yyyy-mm-dd" exactly (ten characters, a real calendar date). Anything else: nullopt.
std::optional<DayNumber> ParseDateText(std::string_view text);

// A date-time as the database hands it over: "yyyy-mm-dd", optionally followed by a blank or 'T'
// and "HH:mm" or "HH:mm:ss" with optional fractional seconds (dropped). Month and day may have one
// digit, hours too. Hours 0..23, minutes and seconds 0..59. Anything else: nullopt.
std::optional<Moment> ParseMoment(std::string_view text);

// A time of day: "HH:mm" or "HH:mm:ss", or a date-time text whose time part is taken (periods are
// stored as "1899-12-30 HH:mm:ss"). Returns seconds since midnight, or nullopt.
std::optional<int> ParseTimeOfDay(std::string_view text);

std::string DateText(DayNumber day);                   // "yyyy-mm-dd"
std::string ClockText(DayNumber day, int secondOfDay);  // "yyyy-mm-dd HH:mm" (seconds dropped)
std::string MomentText(Moment m);                      // "yyyy-mm-dd HH:mm:ss"
std::string TimeOfDayText(int secondOfDay);            // "HH:mm" (seconds dropped)

// A duration as the time of day it would be: "HH:mm:ss", whole days dropped; a negative duration
// shows its magnitude.
std::string DurationText(Moment seconds);
// The same for under one day; for one day or more the hours count on past 24 ("36:00:00").
std::string LongDurationText(Moment seconds);
// The same for a duration in fractional seconds (a duration times a rate): rounded to whole
// milliseconds, then the seconds are counted whole (1.9996 s shows as 00:00:02, 1.9 s as 00:00:01).
std::string FractionalDurationText(double seconds);
std::string FractionalLongDurationText(double seconds);

}  // namespace kelvork::engine
