#pragma once
// The operation-log viewer FrmOpLog ("管理员操作日志", menu N11): choose an operator (or all) and a
// span, then S_Search lists the entries newest first, rows alternately aqua and tooltip-coloured.
// The list stays empty until the first search; a span whose start is later than its end does
// nothing, and the list keeps what it showed.

#include "database.h"
#include "oplog_search.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QTableView;
class QTimeEdit;
class QToolBar;
class QToolButton;

namespace kelvork::oplog {

class OpLogModel;

class TFrmOpLog : public QDialog {
    Q_OBJECT
public:
    // Reads the operators of `db` for U_Code; `db` must stay open while the screen lives.
    explicit TFrmOpLog(Database& db, QWidget* parent = nullptr);

    OpLogModel* model() const { return model_; }

    QToolBar* ToolBar1;
    QToolButton* S_Search;
    QToolButton* S_Close;
    QLabel* Label1;
    QComboBox* U_Code;
    QGroupBox* GroupBox1;
    QLabel* Label2;
    QDateEdit* S_Date;
    QTimeEdit* S_Time;
    QLabel* Label3;
    QDateEdit* E_Date;
    QTimeEdit* E_Time;
    QTableView* DB_Oplog;

public slots:
    void S_SearchClick();

protected:
    void showEvent(QShowEvent* event) override;   // FormShow: the texts

private:
    Database& db_;
    std::vector<OperatorChoice> operators_;
    QString allText_;
    OpLogModel* model_;
    bool textsApplied_ = false;
};

} // namespace kelvork::oplog
