#pragma once
// The password dialog FrmPass ("管理员修改密码", menu B1): the logged-in operator types his old
// password and the new one twice; the new one is stored scrambled and becomes the record's.

#include "database.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QToolButton;

namespace kelvork::operators {

class TFrmPass : public QDialog {
    Q_OBJECT
public:
    // `db` must stay open while the dialog lives.
    explicit TFrmPass(Database& db, QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* OldPass;
    QLineEdit* NewPass;
    QLineEdit* RePass;
    QToolButton* S_OK;
    QToolButton* S_Exit;

private slots:
    void S_OKClick();

protected:
    void showEvent(QShowEvent* event) override;  // FormShow

private:
    Database& db_;
};

} // namespace kelvork::operators
