#pragma once
// The parameter screen FrmSet ("系统参数设定", menu C1), four tabs:
// - TabSheet1, the basic parameters (BasePara), stored by S_OK only;
// - TabSheet2, the rules of the nine statistic items; the item shown is stored when another item
//   is chosen and on S_OK, and stays stored when the screen is left with S_Exit;
// - TabSheet3, the leave classes (name, colour, symbol), stored by T_Save;
// - TabSheet4, the value lists of the four free employee fields, stored by Z_Add and Z_Del.
// Every opening writes the operation-log entry WriteOPLog7. A rate or minimum that is not a number
// stops its step with a message before anything of it is stored, and the screen stays open.

#include "database.h"
#include "parameters.h"

#include <QDialog>

#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class QToolBar;

namespace kelvork::params {

class TFrmSet : public QDialog {
    Q_OBJECT
public:
    // Shows `params` (the program's records, normally programParameters()) and writes them back on
    // S_OK; `db` and `params` must outlive the screen. Writes the log entry of the opening.
    explicit TFrmSet(Database& db, engine::AttendanceParameters& params, QWidget* parent = nullptr);

    // The leave-class mode: 1 adding, 2 otherwise.
    int leaveMode() const { return leaveMode_; }
    // The item whose settings T_xm shows (-1 when none).
    int shownItem() const { return shownItem_; }

    QTabWidget* PageControl1;
    QPushButton* S_OK;
    QPushButton* S_Exit;

    // TabSheet1
    QWidget* TabSheet1;
    QLineEdit* B_name;
    QSpinBox* T_daylong;
    QCheckBox* C_Noin;
    QSpinBox* T_latetime;
    QCheckBox* C_Noout;
    QSpinBox* T_leavetime;
    QCheckBox* C_AutoaddIn;
    QSpinBox* T_AddtimeIn;
    QCheckBox* C_Autoadd;
    QSpinBox* T_Addtime;
    QCheckBox* C_DeductIn;
    QCheckBox* C_DeductOut;
    QGroupBox* GroupBox1;   // 时段跨两日时
    QRadioButton* B_day1;
    QRadioButton* B_day2;
    QGroupBox* GroupBox2;   // 加班倍率定义
    QLineEdit* Overtime_1;
    QLineEdit* Overtime_2;
    QLineEdit* Overtime_3;

    // TabSheet2
    QWidget* TabSheet2;
    QListWidget* T_xm;
    QComboBox* T_name;
    QLineEdit* T_count;
    QGroupBox* GroupBox3;   // 舍入控制
    QRadioButton* T_sr1;
    QRadioButton* T_sr2;
    QRadioButton* T_sr3;
    QCheckBox* T_lj;
    QCheckBox* T_ac;

    // TabSheet3
    QWidget* TabSheet3;
    QToolBar* ToolBar1;
    QAction* T_Insert;
    QAction* T_Del;
    QAction* T_Edit;
    QAction* T_Save;
    QAction* T_Cancel;
    QTableView* DB_Leave;
    QLineEdit* L_name;
    QComboBox* L_Color;
    QLineEdit* L_Show;

    // TabSheet4
    QWidget* TabSheet4;
    QComboBox* Z_type;
    QListWidget* Z_List;
    QLineEdit* Z_Text;
    QPushButton* Z_Add;
    QPushButton* Z_Del;

public slots:
    void S_OKClick();
    void T_xmClick();
    void T_acClick();
    void T_InsertClick();
    void T_EditClick();
    void T_SaveClick();
    void T_CancelClick();
    void T_DelClick();
    void Z_typeChange();
    void Z_AddClick();
    void Z_DelClick();

protected:
    void showEvent(QShowEvent* event) override;   // the texts

private:
    void buildBasicTab();
    void buildRulesTab();
    void buildLeaveTab();
    void buildFieldTab();
    void showBasePar();
    void showItem(int index);
    // Stores the settings shown for item `shownItem_`; false (after a message) when they cannot be.
    bool storeItem();
    void applyCountMode();
    void reloadLeaveClasses(int selectClassid);
    void showLeaveClass();
    void setLeaveEntry(bool entry);
    int selectedLeaveRow() const;
    void selectColor(int viewColor);
    int chosenViewColor() const;

    Database& db_;
    engine::AttendanceParameters& params_;
    int shownItem_ = -1;
    int leaveMode_ = 2;
    std::vector<engine::TLeaveClass> classes_;
    QStandardItemModel* leaveModel_;
    bool textsApplied_ = false;
};

} // namespace kelvork::params
