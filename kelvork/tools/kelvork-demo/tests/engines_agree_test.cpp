// The same demonstration data on SQLite and on the PostgreSQL server gives byte for byte the same
// working tables.
#include <gtest/gtest.h>

#include <sstream>

#include "calc_loader.h"
#include "demo_database.h"
#include "finishing_steps.h"
#include "table_output.h"
#include "test_database.h"

namespace kelvork::demo {
namespace {

std::string tablesOf(Database& db, const DemoSettings& settings)
{
    DemoSummary summary;
    const DbStatus st = WriteDemoDatabase(db, settings, summary);
    EXPECT_TRUE(st.ok()) << st.message().toStdString();
    engine::RunRequest request;
    request.firstDate = settings.from;
    request.lastDate = settings.from + settings.days - 1;
    engine::CalcInput input;
    std::vector<engine::RunProblem> problems;
    EXPECT_TRUE(loader::LoadCalcInput(db, request, input, problems).ok());
    engine::WorkingTables tables;
    engine::RunCalculation(input, request, tables, problems, engine::WithStandardFinishing());
    EXPECT_TRUE(problems.empty());
    std::ostringstream out;
    for (auto table : {calc::TableName::MemRecord2, calc::TableName::MemUClass, calc::TableName::MemAbnor,
                       calc::TableName::MemStat, calc::TableName::MemDay})
        calc::WriteTable(tables, table, calc::OutputFormat::Csv, out);
    return out.str();
}

TEST(EnginesAgree, DemoDataGivesTheSameTablesOnBothEngines)
{
    testdb::TestDatabase server(Engine::PostgreSQL);
    if (!server.available()) GTEST_SKIP() << server.skipReason().toStdString();
    ASSERT_TRUE(server.ok()) << server.error().toStdString();
    testdb::TestDatabase file(Engine::SQLite);
    ASSERT_TRUE(file.ok()) << file.error().toStdString();
    DemoSettings settings;
    settings.employees = 60;
    settings.days = 21;
    settings.from = *engine::ParseDateText("2004-04-19");  // Labour day inside
    const std::string onFile = tablesOf(file.db(), settings);
    const std::string onServer = tablesOf(server.db(), settings);
    EXPECT_GT(onFile.size(), 10000u);
    EXPECT_TRUE(onFile == onServer) << "the engines differ";
}

}  // namespace
}  // namespace kelvork::demo
