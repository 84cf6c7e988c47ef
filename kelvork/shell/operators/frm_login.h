#pragma once
// The login dialog FrmLogin ("系统登录..."), shown once at start. LoginType "1": the operator is
// picked from the list U_name_cmb and receives every right; any other value: the name is typed in
// U_name and the rights come from the operator's record. Three wrong passwords, of any names,
// end the program, and so does closing the dialog without logging in.

#include "database.h"

#include <QDialog>
#include <QPixmap>
#include <QPoint>

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kelvork::operators {

class TFrmLogin : public QDialog {
    Q_OBJECT
public:
    // `db` must stay open while the dialog lives. The name controls are prepared at once.
    TFrmLogin(Database& db, QString loginType, QWidget* parent = nullptr);

    // True once an operator logged in (CZY() then holds him); the program ends otherwise.
    bool loggedIn() const { return loggedIn_; }
    // Wrong passwords so far, of any name.
    int failures() const { return failures_; }

    QLabel* M_name;
    QLineEdit* U_name;
    QComboBox* U_name_cmb;
    QLabel* M_Password;
    QLineEdit* U_Pass;
    QToolButton* SP_OK;
    QToolButton* SP_Exit;

private slots:
    void SP_OKClick();
    void SP_ExitClick();

protected:
    void showEvent(QShowEvent* event) override;    // FormShow
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void prepareNameControls();
    void focusName();

    Database& db_;
    QString loginType_;
    QPixmap picture_;
    QPoint dragOffset_;
    bool dragging_ = false;
    int failures_ = 0;
    bool loggedIn_ = false;
};

} // namespace kelvork::operators
