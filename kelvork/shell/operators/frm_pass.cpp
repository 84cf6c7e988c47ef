#include "frm_pass.h"

#include "apply_texts.h"
#include "message_box.h"
#include "operator_store.h"
#include "password.h"
#include "rights.h"
#include "texts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace kelvork::operators {

namespace {

template <class T>
T* named(QWidget* parent, const char* name)
{
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLineEdit* maskedBox(QWidget* parent, const char* name)
{
    auto* box = named<QLineEdit>(parent, name);
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));  // '*'
    return box;
}

} // namespace

TFrmPass::TFrmPass(Database& db, QWidget* parent) : QDialog(parent), db_(db)
{
    setObjectName(QStringLiteral("FrmPass"));
    setWindowTitle(QStringLiteral("管理员修改密码"));

    Label1 = named<QLabel>(this, "Label1");
    Label1->setText(QStringLiteral("旧密码:"));
    Label2 = named<QLabel>(this, "Label2");
    Label2->setText(QStringLiteral("新密码:"));
    Label3 = named<QLabel>(this, "Label3");
    Label3->setText(QStringLiteral("确认密码:"));
    OldPass = maskedBox(this, "OldPass");
    NewPass = maskedBox(this, "NewPass");
    RePass = maskedBox(this, "RePass");
    S_OK = named<QToolButton>(this, "S_OK");
    S_OK->setText(QStringLiteral("确定(&O)"));
    S_Exit = named<QToolButton>(this, "S_Exit");
    S_Exit->setText(QStringLiteral("取消(&C)"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(OldPass, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(NewPass, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(RePass, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(S_OK);
    buttons->addWidget(S_Exit);
    grid->addLayout(buttons, 3, 0, 1, 2);

    connect(S_OK, &QToolButton::clicked, this, &TFrmPass::S_OKClick);
    connect(S_Exit, &QToolButton::clicked, this, &TFrmPass::reject);
}

void TFrmPass::showEvent(QShowEvent* event)
{
    texts::applyToScreen(this, QStringLiteral("FrmPass"));
    QDialog::showEvent(event);
}

void TFrmPass::S_OKClick()
{
    TCZY& record = CZY();
    if (OldPass->text() != record.password) {
        ui::showWarning(this, texts::resource(QStringLiteral("OldPwdError"),
                                              QStringLiteral("旧密码输入不正确，请重新输入！")));
        OldPass->setFocus();
        return;
    }
    if (NewPass->text() != RePass->text()) {
        ui::showWarning(this, texts::resource(QStringLiteral("NosamePwd"),
                                              QStringLiteral("输入的新密码和确认密码不一致，请重新输入！")));
        NewPass->setFocus();
        return;
    }
    DbStatus status;
    const auto row = findOperatorById(db_, record.Opid, &status);
    if (row)
        status = setOperatorPassword(db_, row->Opid, scramblePassword(NewPass->text()));
    if (!status.ok()) {
        ui::showWarning(this, status.message());
        return;
    }
    if (!row)  // the operator's row is gone: nothing was stored
        return;
    record.password = NewPass->text();
    ui::showWarning(this, texts::resource(QStringLiteral("EditPwdOK"), QStringLiteral("管理员密码修改成功！")));
    accept();
}

} // namespace kelvork::operators
