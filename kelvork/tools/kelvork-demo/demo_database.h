#pragma once
// A realistic demonstration database: a company with departments and employees, the shifts of a
// factory and an office, holidays, leaves and business trips, and the punches of the chosen days
// with the usual faults (late, early, forgotten, twice, going out, free overtime).
//
// The data is made from a seed: the same settings give the same database. The punches follow the
// employees' planned periods as the calculation resolves them, so the demo shows each rule at work.

#include <QString>

#include <cstdint>

#include "database.h"
#include "date_time.h"

namespace kelvork::demo {

struct DemoSettings {
    int employees = 200;
    int days = 62;
    engine::DayNumber from = 0;  // first day of the punches
    std::uint64_t seed = 2003;
};

struct DemoSummary {
    long long employees = 0;
    long long departments = 0;
    long long punches = 0;
    long long leaves = 0;
    long long tempShifts = 0;
};

// The first day of the month two months before `today`.
engine::DayNumber DefaultDemoStart(engine::DayNumber today);

// Writes the demonstration rows into `db`, an open database with the schema and no rows of its
// own yet (the start-up rows are added here). Everything is written in one transaction with
// prepared statements; on failure nothing is kept and the status says what failed.
DbStatus WriteDemoDatabase(Database& db, const DemoSettings& settings, DemoSummary& summary);

}  // namespace kelvork::demo
