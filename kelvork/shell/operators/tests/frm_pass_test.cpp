#include "frm_pass.h"
#include "language_check.h"
#include "operator_fixture.h"

#include <QLineEdit>
#include <QToolButton>

using namespace kelvork;
using namespace kelvork::operators;
using kelvork::operators::test::OperatorFixture;

namespace {

class FrmPass : public OperatorFixture {
protected:
    void SetUp() override
    {
        OperatorFixture::SetUp();
        id_ = addOperator("zhang", "old");
        CZY().loggedIn = true;
        CZY().Opid = id_;
        CZY().name = "zhang";
        CZY().password = "old";
        CZY().rights = kAllRights;
    }
    void enter(TFrmPass& dialog, const QString& oldPass, const QString& newPass, const QString& rePass)
    {
        dialog.OldPass->setText(oldPass);
        dialog.NewPass->setText(newPass);
        dialog.RePass->setText(rePass);
        dialog.S_OK->click();
    }
    QString storedPassword() { return unscramblePassword(findOperatorById(db(), id_)->pwd); }
    int id_ = 0;
};

} // namespace

TEST_F(FrmPass, WrongOldOrUnequalNewPasswordsChangeNothing)
{
    TFrmPass dialog(db());
    dialog.show();
    enter(dialog, "OLD", "new", "new");
    enter(dialog, "old", "new", "New");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(texts(), (QStringList{"旧密码输入不正确，请重新输入！", "输入的新密码和确认密码不一致，请重新输入！"}));
    for (const auto& m : messages_)
        EXPECT_EQ(m.kind, ui::MessageKind::Warning);
    EXPECT_EQ(storedPassword(), "old");
    EXPECT_EQ(CZY().password, "old");
}

TEST_F(FrmPass, NewPasswordIsStoredScrambledAndBecomesTheRecords)
{
    TFrmPass dialog(db());
    dialog.show();
    enter(dialog, "old", "新密码9", "新密码9");
    EXPECT_EQ(texts(), QStringList{"管理员密码修改成功！"});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(findOperatorById(db(), id_)->pwd, scramblePassword("新密码9"));
    EXPECT_EQ(storedPassword(), "新密码9");
    EXPECT_EQ(CZY().password, "新密码9");

    TFrmPass again(db());  // an empty password is a password too
    again.show();
    enter(again, "新密码9", "", "");
    EXPECT_EQ(findOperatorById(db(), id_)->pwd, "");
}

TEST_F(FrmPass, LanguageFilesHoldEveryTextOfTheDialog)
{
    TFrmPass dialog(db());
    EXPECT_EQ(languages::missingScreenKeys(&dialog, "FrmPass"), QStringList());
}
