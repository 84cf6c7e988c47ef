#include "login.h"
#include "operator_store.h"
#include "password.h"
#include "rights.h"
#include "test_database.h"

#include <gtest/gtest.h>

using namespace kelvork;
using namespace kelvork::operators;

namespace {

class OperatorStore : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        tdb_ = std::make_unique<testdb::TestDatabase>(GetParam());
        if (!tdb_->available())
            GTEST_SKIP() << tdb_->skipReason().toStdString();
        ASSERT_TRUE(tdb_->ok()) << tdb_->error().toStdString();
        CZY() = {};
    }
    void TearDown() override { CZY() = {}; }

    Database& db() { return tdb_->db(); }

    void addDept(const QString& name, int sup)
    {
        ASSERT_TRUE(db().exec("insert into Dept (Deptname, SupDeptid) values (:N, :S)",
                              {{"N", name}, {"S", sup}}).ok());
    }
    int addOperator(const QString& name, const QString& password, const QString& authority,
                    const QString& deptpower)
    {
        int id = 0;
        EXPECT_TRUE(insertOperator(db(), {0, name, scramblePassword(password), authority, deptpower}, &id).ok());
        return id;
    }

    std::unique_ptr<testdb::TestDatabase> tdb_;
};

} // namespace

TEST_P(OperatorStore, BootstrapAddsAdminToAnEmptyTable)
{
    addDept("总公司", 0);
    addDept("生产部", 1);
    ASSERT_TRUE(bootstrapAdmin(db()).ok());
    ASSERT_TRUE(bootstrapAdmin(db()).ok());  // every start: still one Admin
    EXPECT_EQ(operatorNames(db()), QStringList{"Admin"});
    const auto admin = findOperatorByName(db(), "Admin");
    ASSERT_TRUE(admin);
    EXPECT_EQ(admin->pwd, "");
    EXPECT_EQ(admin->authority, kAllRights);
    EXPECT_EQ(admin->deptpower, "A1ZA2Z");
}

TEST_P(OperatorStore, BootstrapRestoresTheFirstAdminOfAnyCaseOnly)
{
    addDept("总公司", 0);
    const int clerk = addOperator("clerk", "1", "NNNNNNNNNNNNNNNN", "A1Z");
    const int admin = addOperator("aDmIn", "x", "NNNN", "");
    const int second = addOperator("ADMIN", "y", "NNNN", "");
    addDept("财务部", 1);  // a department added since the last start
    ASSERT_TRUE(bootstrapAdmin(db()).ok());
    EXPECT_EQ(findOperatorById(db(), admin)->authority, kAllRights);
    EXPECT_EQ(findOperatorById(db(), admin)->deptpower, "A1ZA2Z");
    EXPECT_EQ(unscramblePassword(findOperatorById(db(), admin)->pwd), "x");  // password kept
    EXPECT_EQ(findOperatorById(db(), second)->authority, "NNNN");
    EXPECT_EQ(findOperatorById(db(), clerk)->authority, "NNNNNNNNNNNNNNNN");
    EXPECT_EQ(operatorNames(db()).size(), 3);
}

TEST_P(OperatorStore, NamesAreBoundSoQuotesSimplyMatchOrNot)
{
    addOperator("O'Brien", "pw", kAllRights, "A1Z");
    EXPECT_TRUE(findOperatorByName(db(), "O'Brien"));
    DbStatus status;
    EXPECT_FALSE(findOperatorByName(db(), "x' or '1'='1", &status));
    EXPECT_TRUE(status.ok()) << status.message().toStdString();
    EXPECT_FALSE(findOperatorByName(db(), "o'brien"));  // exact, as typed
}

TEST_P(OperatorStore, LoginTypeDecidesWhereTheRightsComeFrom)
{
    addOperator("clerk", "pw", "YNYYYYYYYYYYYYYY", "A7Z");
    const auto clerk = findOperatorByName(db(), "clerk");
    ASSERT_TRUE(clerk);

    // LoginType 1 with no department at all: every right, department 1.
    ASSERT_TRUE(completeLogin(db(), *clerk, "pw", "1").ok());
    EXPECT_TRUE(CZY().loggedIn);
    EXPECT_EQ(CZY().Opid, clerk->Opid);
    EXPECT_EQ(CZY().password, "pw");
    EXPECT_EQ(CZY().rights, kAllRights);
    EXPECT_EQ(CZY().deptRights, "A1Z");
    EXPECT_EQ(CZY().deptList, "1");

    addDept("总公司", 0);
    addDept("生产部", 1);
    ASSERT_TRUE(completeLogin(db(), *clerk, "pw", "1").ok());
    EXPECT_EQ(CZY().deptRights, "A1ZA2Z");

    ASSERT_TRUE(completeLogin(db(), *clerk, "pw", "0").ok());
    EXPECT_EQ(CZY().rights, "YNYYYYYYYYYYYYYY");
    EXPECT_EQ(CZY().deptList, "7");

    QString why;
    EXPECT_FALSE(loginWithoutDialog(db(), "clerk", "wrong", "0", &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_FALSE(loginWithoutDialog(db(), "nobody", "", "0", &why));
    EXPECT_TRUE(loginWithoutDialog(db(), "clerk", "pw", "0", &why)) << why.toStdString();
}

TEST_P(OperatorStore, FullTreeOrderLeavesOutDepartmentsWhoseParentComesLater)
{
    addDept("总公司", 0);  // 1
    addDept("孤儿", 3);    // 2: its parent 3 hangs on 4, so 3 comes after it in SupDeptid order
    addDept("生产部", 4);  // 3
    addDept("财务部", 1);  // 4
    addDept("一车间", 1);  // 5
    QStringList shown;
    for (const DeptNode& d : fullDeptTree(db()))
        shown << QString::number(d.depth) + d.Deptname;
    // Parent first, children in the order they were added.
    EXPECT_EQ(shown, (QStringList{"0总公司", "1财务部", "2生产部", "1一车间"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, OperatorStore, ::testing::ValuesIn(testdb::allEngines()),
                         testdb::engineName);
