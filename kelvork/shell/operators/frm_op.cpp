#include "frm_op.h"

#include "apply_texts.h"
#include "message_box.h"
#include "operation_log_point.h"
#include "operator_store.h"
#include "password.h"
#include "rights.h"
#include "texts.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelvork::operators {

namespace {

template <class T>
T* named(QWidget* parent, const char* name)
{
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QAction* action(QObject* parent, const char* name, const QString& text)
{
    auto* a = new QAction(text, parent);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QToolButton* speedButton(QWidget* parent, const char* name, const QString& text)
{
    auto* b = named<QToolButton>(parent, name);
    b->setText(text);
    return b;
}

// The 16 functions of the rights string, position 1 first.
const QStringList& rightItems()
{
    static const QStringList items{
        QStringLiteral("管理员设置/管理员操作日志"), QStringLiteral("系统参数设定"),
        QStringLiteral("部门管理"), QStringLiteral("员工维护"), QStringLiteral("班次设定"),
        QStringLiteral("员工排班"), QStringLiteral("出勤记录/记录修改日志"),
        QStringLiteral("考勤统计报表"), QStringLiteral("节假日设定"), QStringLiteral("员工公出/请假"),
        QStringLiteral("忘记签到/签退处理 集体签到/签退处理"), QStringLiteral("集体迟到/早退处理"),
        QStringLiteral("导入人员名单"), QStringLiteral("导入考勤记录"), QStringLiteral("清除过期数据"),
        QStringLiteral("初始化系统")};
    return items;
}

void setAllChecked(QListWidget* list, bool checked)
{
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

} // namespace

TFrmop::TFrmop(TDM& dm, QWidget* parent) : QDialog(parent), dm_(dm)
{
    setObjectName(QStringLiteral("Frmop"));
    setWindowTitle(QStringLiteral("管理员设置"));
    resize(700, 460);

    ToolBar1 = named<QToolBar>(this, "ToolBar1");
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    T_Insert = action(this, "T_Insert", QStringLiteral("增加(&A)"));
    T_Del = action(this, "T_Del", QStringLiteral("删除(&D)"));
    T_Edit = action(this, "T_Edit", QStringLiteral("修改(&E)"));
    T_Save = action(this, "T_Save", QStringLiteral("保存(&S)"));
    T_Cancel = action(this, "T_Cancel", QStringLiteral("取消(&C)"));
    ToolBar1->addActions({T_Insert, T_Del, T_Edit, T_Save, T_Cancel});

    DB_OP = named<QTableView>(this, "DB_OP");
    DB_OP->setSelectionBehavior(QAbstractItemView::SelectRows);
    DB_OP->setSelectionMode(QAbstractItemView::SingleSelection);
    DB_OP->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DB_OP->verticalHeader()->hide();
    DB_OP->horizontalHeader()->setStretchLastSection(true);
    DB_OP->setFixedWidth(150);

    Label2 = named<QLabel>(this, "Label2");
    Label2->setText(QStringLiteral("管理员姓名:"));
    U_Name = named<QLineEdit>(this, "U_Name");
    Label4 = named<QLabel>(this, "Label4");
    Label4->setText(QStringLiteral("可操作部门:"));
    DeptList = named<QListWidget>(this, "DeptList");
    DeptList->setProperty(texts::kNoTextsProperty, true);  // department names from the database
    SpeedButton1 = speedButton(this, "SpeedButton1", QStringLiteral("全选"));
    SpeedButton2 = speedButton(this, "SpeedButton2", QStringLiteral("全不选"));
    Label1 = named<QLabel>(this, "Label1");
    Label1->setText(QStringLiteral("可操作项目:"));
    C_limit = named<QListWidget>(this, "C_limit");
    for (const QString& item : rightItems()) {
        auto* entry = new QListWidgetItem(item, C_limit);
        entry->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        entry->setCheckState(Qt::Unchecked);
    }
    S_all = speedButton(this, "S_all", QStringLiteral("全选"));
    S_None = speedButton(this, "S_None", QStringLiteral("全不选"));
    Label3 = named<QLabel>(this, "Label3");
    Label3->setText(QStringLiteral("注意，新增管理员的密码缺省是517306，请及时更改！"));
    Label3->setStyleSheet(QStringLiteral("color: blue;"));

    // Name on top; below it the departments and the functions side by side, each with its two
    // speed buttons underneath.
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(Label2);
    nameRow->addWidget(U_Name, 1);
    auto column = [](QLabel* label, QListWidget* list, QToolButton* all, QToolButton* none) {
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(all);
        buttons->addWidget(none);
        buttons->addStretch();
        auto* box = new QVBoxLayout;
        box->addWidget(label);
        box->addWidget(list, 1);
        box->addLayout(buttons);
        return box;
    };
    auto* lists = new QHBoxLayout;
    lists->addLayout(column(Label4, DeptList, SpeedButton1, SpeedButton2), 2);
    lists->addLayout(column(Label1, C_limit, S_all, S_None), 3);
    auto* entry = new QVBoxLayout;
    entry->addLayout(nameRow);
    entry->addLayout(lists, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(DB_OP);
    body->addLayout(entry, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(ToolBar1);
    layout->addLayout(body);
    layout->addWidget(Label3);

    connect(T_Insert, &QAction::triggered, this, &TFrmop::T_InsertClick);
    connect(T_Del, &QAction::triggered, this, &TFrmop::T_DelClick);
    connect(T_Edit, &QAction::triggered, this, &TFrmop::T_EditClick);
    connect(T_Save, &QAction::triggered, this, &TFrmop::T_SaveClick);
    connect(T_Cancel, &QAction::triggered, this, &TFrmop::T_CancelClick);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { setAllChecked(DeptList, true); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { setAllChecked(DeptList, false); });
    connect(S_all, &QToolButton::clicked, this, [this] { setAllChecked(C_limit, true); });
    connect(S_None, &QToolButton::clicked, this, [this] { setAllChecked(C_limit, false); });

    // The list of operators, fed by the data module's QryOP: only the name is shown.
    if (DbStatus status = dm_.QryOP->open(); !status.ok())
        ui::showWarning(this, status.message());
    DB_OP->setModel(dm_.QryOP);
    const int nameColumn = dm_.QryOP->columnIndex(QStringLiteral("Name"));
    QStringList columnNames;
    for (int c = 0; c < dm_.QryOP->columnCount(); ++c) {
        columnNames << (c == nameColumn ? QStringLiteral("DB_OPColumn1") : QString());
        DB_OP->setColumnHidden(c, c != nameColumn);
    }
    DB_OP->setProperty(texts::kColumnNamesProperty, columnNames);
    if (nameColumn >= 0) {
        dm_.QryOP->setHeaderData(nameColumn, Qt::Horizontal, QStringLiteral("姓名"));
        DB_OP->setColumnWidth(nameColumn, 84);
    }
    connect(DB_OP->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TFrmop::DB_OPChange);

    setEntry(false);
    if (dm_.QryOP->rowCount() > 0)
        DB_OP->setCurrentIndex(dm_.QryOP->index(0, std::max(nameColumn, 0)));
}

void TFrmop::showEvent(QShowEvent* event)
{
    if (!opened_) {
        opened_ = true;
        buildDeptList();
        texts::applyToScreen(this, QStringLiteral("Frmop"));
        showOperator(currentRow());
    }
    QDialog::showEvent(event);
}

void TFrmop::buildDeptList()
{
    DeptList->clear();
    DbStatus status;
    const QList<DeptNode> depts = fullDeptTree(dm_.db(), &status);
    for (const DeptNode& dept : depts) {
        auto* item = new QListWidgetItem(QString(dept.depth * 4, QLatin1Char(' ')) + dept.Deptname, DeptList);
        item->setData(Qt::UserRole, dept.Deptid);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(deptPermitted(CZY().deptRights, dept.Deptid) ? Qt::Checked : Qt::Unchecked);
    }
    if (!status.ok())
        ui::showWarning(this, texts::resource(QStringLiteral("ErrorDeptlist"),
                                              QStringLiteral("读取部门列表错误，请重新进行部门管理！")));
}

int TFrmop::currentRow() const
{
    const QModelIndex current = DB_OP->currentIndex();
    return current.isValid() ? current.row() : -1;
}

int TFrmop::opidAt(int row) const
{
    return dm_.QryOP->valueAt(row, QStringLiteral("Opid")).toInt();
}

void TFrmop::showOperator(int row)
{
    if (row < 0 || row >= dm_.QryOP->rowCount())
        return;
    U_Name->setText(dm_.QryOP->valueAt(row, QStringLiteral("Name")).toString());
    QString authority = dm_.QryOP->valueAt(row, QStringLiteral("Authority")).toString();
    if (authority.isEmpty())
        authority = QString(16, QLatin1Char('Y'));
    for (int i = 0; i < C_limit->count(); ++i) {
        const bool granted = i < authority.size() && authority.at(i) == QLatin1Char('Y');
        C_limit->item(i)->setCheckState(granted ? Qt::Checked : Qt::Unchecked);
    }
    const QString deptpower = dm_.QryOP->valueAt(row, QStringLiteral("Deptpower")).toString();
    for (int i = 0; i < DeptList->count(); ++i) {
        QListWidgetItem* item = DeptList->item(i);
        item->setCheckState(deptPermitted(deptpower, item->data(Qt::UserRole).toInt()) ? Qt::Checked
                                                                                        : Qt::Unchecked);
    }
}

void TFrmop::DB_OPChange()
{
    if (mode_ != 1)
        showOperator(currentRow());
}

void TFrmop::setEntry(bool entry)
{
    T_Insert->setEnabled(!entry);
    T_Del->setEnabled(!entry);
    T_Edit->setEnabled(!entry);
    DB_OP->setEnabled(!entry);
    T_Save->setEnabled(entry);
    T_Cancel->setEnabled(entry);
    C_limit->setEnabled(entry);
}

void TFrmop::T_InsertClick()
{
    mode_ = 1;
    U_Name->clear();  // marks and checks stay: a new operator starts with those shown
    setEntry(true);
    U_Name->setFocus();
}

void TFrmop::T_EditClick()
{
    if (currentRow() < 0)
        return;
    mode_ = 2;
    setEntry(true);
    U_Name->setFocus();
}

QString TFrmop::authorityFromChecks() const
{
    QString authority(32, QLatin1Char('N'));
    for (int i = 0; i < C_limit->count() && i < 32; ++i)
        if (C_limit->item(i)->checkState() == Qt::Checked)
            authority[i] = QLatin1Char('Y');
    return authority;
}

QString TFrmop::deptpowerFromMarks() const
{
    QList<int> marked;
    for (int i = 0; i < DeptList->count(); ++i)
        if (DeptList->item(i)->checkState() == Qt::Checked)
            marked << DeptList->item(i)->data(Qt::UserRole).toInt();
    return deptRightsOf(marked);
}

void TFrmop::T_SaveClick()
{
    const bool adding = mode_ == 1;
    OperatorRow row;
    row.name = U_Name->text();  // stored as it is, even empty or another operator's name
    row.authority = authorityFromChecks();
    row.deptpower = deptpowerFromMarks();
    DbStatus status;
    if (adding) {
        row.pwd = scramblePassword(kDefaultOperatorPassword);
        status = insertOperator(dm_.db(), row, &row.Opid);
    } else {
        row.Opid = opidAt(currentRow());
        status = updateOperator(dm_.db(), row);
    }
    if (!status.ok()) {  // a refused save keeps the entry open
        ui::showWarning(this, status.message());
        return;
    }

    if (CZY().loggedIn && row.Opid == CZY().Opid) {
        if (const auto stored = findOperatorById(dm_.db(), row.Opid)) {
            TCZY& record = CZY();
            record.name = stored->name;
            record.password = unscramblePassword(stored->pwd);
            record.rights = stored->authority.left(32);
            record.setDeptRights(stored->deptpower);
            emit loggedInOperatorChanged();
        }
    }

    mode_ = 2;
    setEntry(false);
    dm_.QryOP->refresh();
    selectOperator(row.Opid);
    if (adding)
        writeOperationLog(texts::resource(QStringLiteral("WriteOPLog4"), QStringLiteral("增加管理员 ")) + row.name);
}

void TFrmop::selectOperator(int opid)
{
    const int nameColumn = std::max(dm_.QryOP->columnIndex(QStringLiteral("Name")), 0);
    dm_.QryOP->fetchAll();
    for (int r = 0; r < dm_.QryOP->rowCount(); ++r) {
        if (opidAt(r) == opid) {
            DB_OP->setCurrentIndex(dm_.QryOP->index(r, nameColumn));
            showOperator(r);
            return;
        }
    }
    if (dm_.QryOP->rowCount() > 0) {
        DB_OP->setCurrentIndex(dm_.QryOP->index(0, nameColumn));
        showOperator(0);
    }
}

void TFrmop::T_DelClick()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const int opid = opidAt(row);
    if (CZY().loggedIn && opid == CZY().Opid) {
        ui::showWarning(this, texts::resource(QStringLiteral("DelOpSelf"),
                                              QStringLiteral("管理员不能删除自己的资料！")));
        return;
    }
    if (!ui::confirm(this, texts::resource(QStringLiteral("DeleteOP"), QStringLiteral(" 确定要删除该管理员吗？"))))
        return;
    const QString name = dm_.QryOP->valueAt(row, QStringLiteral("Name")).toString();
    if (DbStatus status = deleteOperator(dm_.db(), opid); !status.ok()) {
        ui::showWarning(this, status.message());
        return;
    }
    writeOperationLog(texts::resource(QStringLiteral("WriteOPLog3"), QStringLiteral("删除管理员 ")) + name);
    dm_.QryOP->refresh();
    selectOperator(row < dm_.QryOP->rowCount() ? opidAt(row) : opidAt(row - 1));
}

void TFrmop::T_CancelClick()
{
    mode_ = 2;
    setEntry(false);
    showOperator(currentRow());  // the pending changes are dropped
}

// Closing the screen (close box, Escape) with an entry open asks whether to save it first.
void TFrmop::reject()
{
    if (T_Save->isEnabled()
        && ui::confirm(this, texts::resource(QStringLiteral("MondifyData"), QStringLiteral("数据已改动，是否要保存？")))) {
        T_SaveClick();
        if (T_Save->isEnabled())  // the save was refused: stay
            return;
    }
    QDialog::reject();
}

} // namespace kelvork::operators
