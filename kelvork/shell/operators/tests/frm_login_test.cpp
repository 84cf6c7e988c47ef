#include "frm_login.h"
#include "language_check.h"
#include "operator_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace kelvork;
using namespace kelvork::operators;
using kelvork::operators::test::OperatorFixture;

namespace {

class Login : public OperatorFixture {
protected:
    // Types name and password into the dialog and presses SP_OK.
    void attempt(TFrmLogin& dialog, const QString& name, const QString& password)
    {
        dialog.U_name->setText(name);
        dialog.U_Pass->setText(password);
        dialog.SP_OK->click();
    }
};

const QString kErrorPwd2 = QStringLiteral("管理员密码输入错误，还有 2 次机会，\n请重新输入您的密码！");
const QString kErrorPwd1 = QStringLiteral("管理员密码输入错误，还有 1 次机会，\n请重新输入您的密码！");

} // namespace

TEST_F(Login, ThreeWrongPasswordsOfDifferentNamesEndTheProgram)
{
    addOperator("zhang", "1");
    addOperator("li", "2");
    TFrmLogin dialog(db(), "0");
    dialog.show();
    attempt(dialog, "zhang", "x");
    attempt(dialog, "li", "y");
    EXPECT_TRUE(dialog.isVisible());
    attempt(dialog, "zhang", "z");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.loggedIn());
    EXPECT_FALSE(CZY().loggedIn);
    EXPECT_EQ(texts(), (QStringList{kErrorPwd2, kErrorPwd1, "管理员密码输入错误，系统终止运行！"}));
    for (const auto& m : messages_)
        EXPECT_EQ(m.kind, ui::MessageKind::Notice);
}

TEST_F(Login, TwoWrongThenRightLogsInWithTheStoredRights)
{
    const int id = addOperator("zhang", "secret", "YNYYYYYYYYYYYYYY", "A3ZA5Z");
    TFrmLogin dialog(db(), "2");
    EXPECT_TRUE(dialog.U_name_cmb->isHidden());
    dialog.show();
    attempt(dialog, "zhang", "Secret");  // case matters
    attempt(dialog, "zhang", "");
    attempt(dialog, "zhang", "secret");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.loggedIn());
    EXPECT_EQ(dialog.failures(), 2);
    EXPECT_EQ(texts(), (QStringList{kErrorPwd2, kErrorPwd1}));
    EXPECT_EQ(CZY().Opid, id);
    EXPECT_EQ(CZY().name, "zhang");
    EXPECT_EQ(CZY().password, "secret");
    EXPECT_EQ(CZY().rights, "YNYYYYYYYYYYYYYY");
    EXPECT_EQ(CZY().deptList, "3,5");
}

TEST_F(Login, UnknownNamesStayInTheDialogAndCountNoFailure)
{
    addOperator("zhang", "1");
    TFrmLogin dialog(db(), "0");
    dialog.show();
    for (const char* name : {"", "nobody", "O'Brien", "zhang' --"})
        attempt(dialog, name, "1");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.failures(), 0);
    EXPECT_EQ(texts(), QStringList(4, "管理员输入错误！"));
    EXPECT_EQ(dialog.U_name->selectedText(), "zhang' --");  // the typed name is selected again
    attempt(dialog, "zhang", "1");
    EXPECT_TRUE(dialog.loggedIn());
}

TEST_F(Login, PickListPreselectsTheLastAdminAndGivesEveryRight)
{
    addDept("总公司", 0);
    addDept("生产部", 1);
    addOperator("Admin", "", "NNNNNNNNNNNNNNNN", "");
    addOperator("zhang", "1", "NNNNNNNNNNNNNNNN", "");
    addOperator("ADMIN", "2", "NNNNNNNNNNNNNNNN", "");
    TFrmLogin dialog(db(), "1");
    EXPECT_TRUE(dialog.U_name->isHidden());
    ASSERT_EQ(dialog.U_name_cmb->count(), 3);
    EXPECT_EQ(dialog.U_name_cmb->itemText(1), "zhang");
    EXPECT_EQ(dialog.U_name_cmb->currentIndex(), 2);
    dialog.show();
    dialog.U_Pass->setText("2");
    dialog.SP_OK->click();
    ASSERT_TRUE(dialog.loggedIn());
    EXPECT_EQ(CZY().name, "ADMIN");
    EXPECT_EQ(CZY().rights, kAllRights);
    EXPECT_EQ(CZY().deptRights, "A1ZA2Z");
}

TEST_F(Login, PickListWithoutAdminPreselectsNothing)
{
    addOperator("zhang", "1");
    TFrmLogin dialog(db(), "1");
    EXPECT_EQ(dialog.U_name_cmb->currentIndex(), -1);
}

TEST_F(Login, KeysMoveToThePasswordLogInAndCancel)
{
    addOperator("zhang", "1");
    {
        TFrmLogin dialog(db(), "0");
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        dialog.U_name->setFocus();
        QTest::keyClicks(dialog.U_name, "zhang");
        QTest::keyClick(dialog.U_name, Qt::Key_Return);
        EXPECT_TRUE(dialog.U_Pass->hasFocus());
        QTest::keyClicks(dialog.U_Pass, "1");
        QTest::keyClick(dialog.U_Pass, Qt::Key_Return);
        EXPECT_TRUE(dialog.loggedIn());
    }
    {
        TFrmLogin dialog(db(), "1");
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        dialog.U_name_cmb->setFocus();
        QTest::keyClick(dialog.U_name_cmb, Qt::Key_Return);
        EXPECT_TRUE(dialog.U_Pass->hasFocus());
        QTest::keyClick(dialog.U_Pass, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(dialog.loggedIn());
    }
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(Login, TextsComeFromSectionFrmLogin)
{
    writeLanguageFile("[FrmLogin]\nFrmLogin.Caption=Log in\nM_name.Caption=Operator:\n"
                      "M_Password.Caption=Password:\nSP_OK.Caption=&OK\nSP_Exit.Caption=&Cancel\n");
    TFrmLogin dialog(db(), "0");
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Log in");
    EXPECT_EQ(dialog.M_name->text(), "Operator:");
    EXPECT_EQ(dialog.M_Password->text(), "Password:");
    EXPECT_EQ(dialog.SP_OK->text(), "&OK");
    EXPECT_EQ(dialog.SP_Exit->text(), "&Cancel");
    EXPECT_EQ(dialog.U_Pass->echoMode(), QLineEdit::Password);
}

TEST_F(Login, LanguageFilesHoldEveryTextOfTheDialog)
{
    TFrmLogin dialog(db(), "0");
    EXPECT_EQ(languages::missingScreenKeys(&dialog, "FrmLogin"), QStringList());
}
