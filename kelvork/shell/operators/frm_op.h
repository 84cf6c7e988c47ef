#pragma once
// The operator screen Frmop ("管理员设置", menu G1): the list of operators, and for the one shown
// his name, the departments he may see (DeptList, marks) and the functions he may use (C_limit,
// the 16 rights). A new operator gets the password 517306. An operator cannot delete himself.
// The department list is flat for now, in the order of the full department tree, indented by level.

#include "data_module.h"

#include <QDialog>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QTableView;
class QToolBar;
class QToolButton;

namespace kelvork::operators {

class TFrmop : public QDialog {
    Q_OBJECT
public:
    // Opens dm.QryOP and shows its first operator. `dm` must be connected.
    explicit TFrmop(TDM& dm, QWidget* parent = nullptr);

    // 0 before the first action, 1 adding, 2 editing or browsing.
    int mode() const { return mode_; }

    // Closing with an entry open asks MondifyData and saves on OK.
    void reject() override;

    QToolBar* ToolBar1;
    QAction* T_Insert;
    QAction* T_Del;
    QAction* T_Edit;
    QAction* T_Save;
    QAction* T_Cancel;
    QTableView* DB_OP;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLineEdit* U_Name;
    QListWidget* DeptList;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QListWidget* C_limit;
    QToolButton* S_all;
    QToolButton* S_None;

signals:
    // The logged-in operator was stored: CZY() now holds his new name and rights, so the main
    // window shows the name again and applies the menu enabling.
    void loggedInOperatorChanged();

private slots:
    void T_InsertClick();
    void T_DelClick();
    void T_EditClick();
    void T_SaveClick();
    void T_CancelClick();
    void DB_OPChange();

protected:
    void showEvent(QShowEvent* event) override;   // FormShow

private:
    void buildDeptList();
    void showOperator(int row);
    void setEntry(bool entry);
    void selectOperator(int opid);
    int currentRow() const;
    int opidAt(int row) const;
    QString authorityFromChecks() const;
    QString deptpowerFromMarks() const;

    TDM& dm_;
    int mode_ = 0;
    bool opened_ = false;
};

} // namespace kelvork::operators
