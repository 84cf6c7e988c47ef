#include "frm_login.h"

#include "apply_texts.h"
#include "builtin_pictures.h"
#include "login.h"
#include "message_box.h"
#include "operator_store.h"
#include "password.h"
#include "sys_config.h"
#include "texts.h"

#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

namespace kelvork::operators {

namespace {

template <class T>
T* named(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

} // namespace

TFrmLogin::TFrmLogin(Database& db, QString loginType, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), db_(db), loginType_(std::move(loginType))
{
    setObjectName(QStringLiteral("FrmLogin"));
    setWindowTitle(QStringLiteral("系统登录..."));
    setFixedSize(384, 227);

    // The picture keeps x 150..372, y 62..215 calm for the fields and buttons.
    M_name = named<QLabel>(this, "M_name", {150, 78, 92, 24});
    M_name->setText(QStringLiteral("管理员姓名:"));
    U_name = named<QLineEdit>(this, "U_name", {244, 78, 124, 24});
    U_name_cmb = named<QComboBox>(this, "U_name_cmb", {244, 78, 124, 24});
    U_name_cmb->setProperty(texts::kNoTextsProperty, true);  // filled with the operators' names
    M_Password = named<QLabel>(this, "M_Password", {150, 116, 92, 24});
    M_Password->setText(QStringLiteral("管理员密码:"));
    U_Pass = named<QLineEdit>(this, "U_Pass", {244, 116, 124, 24});
    U_Pass->setEchoMode(QLineEdit::Password);
    U_Pass->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));  // '*'
    SP_OK = named<QToolButton>(this, "SP_OK", {194, 166, 82, 28});
    SP_OK->setText(QStringLiteral("确定(&O)"));
    SP_Exit = named<QToolButton>(this, "SP_Exit", {286, 166, 82, 28});
    SP_Exit->setText(QStringLiteral("取消(&C)"));
    for (QLabel* label : {M_name, M_Password})
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    connect(SP_OK, &QToolButton::clicked, this, &TFrmLogin::SP_OKClick);
    connect(SP_Exit, &QToolButton::clicked, this, &TFrmLogin::SP_ExitClick);
    connect(U_name, &QLineEdit::returnPressed, U_Pass, [this] { U_Pass->setFocus(); });
    connect(U_Pass, &QLineEdit::returnPressed, SP_OK, &QToolButton::click);
    U_name_cmb->installEventFilter(this);

    const QString file = config::programFolder() + QStringLiteral("pngbmp/login.png");
    if (QFile::exists(file))
        picture_.load(file);
    if (picture_.isNull())
        picture_ = ui::loginPicture(texts::lookup(QStringLiteral("System"),
                                                  QStringLiteral("Application.Title"),
                                                  QStringLiteral("指纹考勤管理系统")));
    prepareNameControls();
}

void TFrmLogin::prepareNameControls()
{
    if (loginType_ != QStringLiteral("1")) {
        U_name_cmb->hide();
        U_name->show();
        return;
    }
    U_name->hide();
    U_name_cmb->show();
    DbStatus status;
    const QStringList names = operatorNames(db_, &status);
    if (!status.ok())
        ui::showWarning(this, status.message());
    U_name_cmb->addItems(names);
    int preselect = -1;
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(QStringLiteral("ADMIN"), Qt::CaseInsensitive) == 0)
            preselect = i;  // the last one
    U_name_cmb->setCurrentIndex(preselect);
}

void TFrmLogin::showEvent(QShowEvent* event)
{
    texts::applyToScreen(this, QStringLiteral("FrmLogin"));
    QDialog::showEvent(event);
    // With an operator picked already, the password is what remains to be typed.
    if (loginType_ == QStringLiteral("1") && U_name_cmb->currentIndex() >= 0)
        U_Pass->setFocus();
    else
        focusName();
}

void TFrmLogin::focusName()
{
    if (loginType_ != QStringLiteral("1")) {
        U_name->setFocus();
        U_name->selectAll();
    } else {
        U_name_cmb->setFocus();
    }
}

void TFrmLogin::SP_OKClick()
{
    const QString name = loginType_ == QStringLiteral("1") ? U_name_cmb->currentText() : U_name->text();
    // The name is bound, so a name with a quote simply matches or does not.
    DbStatus status;
    const auto row = findOperatorByName(db_, name, &status);
    if (!status.ok()) {
        ui::showWarning(this, status.message());
        return;
    }
    if (!row) {
        ui::showNotice(this, texts::resource(QStringLiteral("ErrorSystemUser"),
                                             QStringLiteral("管理员输入错误！")));
        focusName();
        return;
    }
    const QString typed = U_Pass->text();
    if (unscramblePassword(row->pwd) != typed) {
        ++failures_;
        if (failures_ % 3 != 0) {
            QString text = texts::resource(QStringLiteral("ErrorPwd"),
                                           QStringLiteral("管理员密码输入错误，还有 %d 次机会，\\r\\n请重新输入您的密码！"));
            ui::showNotice(this, text.replace(QStringLiteral("%d"), QString::number(3 - failures_)));
            U_Pass->setFocus();
            U_Pass->selectAll();
            return;
        }
        ui::showNotice(this, texts::resource(QStringLiteral("AutoExitSystem"),
                                             QStringLiteral("管理员密码输入错误，系统终止运行！")));
        reject();
        return;
    }
    status = completeLogin(db_, *row, typed, loginType_);
    if (!status.ok()) {
        ui::showWarning(this, status.message());
        return;
    }
    loggedIn_ = true;
    accept();
}

void TFrmLogin::SP_ExitClick()
{
    reject();
}

void TFrmLogin::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawPixmap(rect(), picture_);
    QDialog::paintEvent(event);
}

void TFrmLogin::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        SP_Exit->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFrmLogin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == U_name_cmb && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            U_Pass->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Dragging the picture moves the borderless window.
void TFrmLogin::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(event);
}

void TFrmLogin::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - dragOffset_);
    else
        dragging_ = false;
    QDialog::mouseMoveEvent(event);
}

} // namespace kelvork::operators
