#include "operator_fixture.h"
#include "operator_seams_impl.h"

using namespace kelvork;
using namespace kelvork::operators;
using kelvork::operators::test::OperatorFixture;

namespace {

class Seams : public OperatorFixture {
protected:
    void SetUp() override
    {
        OperatorFixture::SetUp();
        ASSERT_TRUE(dm_.open(tdb_.connectionString()).ok());
    }
    void TearDown() override
    {
        qunsetenv("KELVORK_AUTOLOGIN");
        qunsetenv("KELVORK_AUTOLOGIN_PASSWORD");
        OperatorFixture::TearDown();
    }
    TDM dm_;
};

} // namespace

TEST_F(Seams, UnattendedLoginChecksThePasswordLikeTheDialog)
{
    const ui::OperatorSeams seams = makeOperatorSeams(dm_, "0");
    seams.bootstrap();
    EXPECT_EQ(operatorNames(db()), QStringList{"Admin"});
    EXPECT_EQ(seams.operatorName(), "");

    qputenv("KELVORK_AUTOLOGIN", "Admin");
    qputenv("KELVORK_AUTOLOGIN_PASSWORD", "guess");
    EXPECT_FALSE(seams.login(nullptr));  // no way round the password
    EXPECT_FALSE(CZY().loggedIn);

    qunsetenv("KELVORK_AUTOLOGIN_PASSWORD");
    ASSERT_TRUE(seams.login(nullptr));
    EXPECT_EQ(seams.operatorName(), "Admin");
    EXPECT_TRUE(seams.hasRight(16));
    EXPECT_EQ(CZY().deptList, "-1");  // LoginType 0: Admin's own departments (none yet)
}
