#include "frm_set.h"

#include "apply_texts.h"
#include "message_box.h"
#include "operation_log.h"
#include "parameter_store.h"
#include "texts.h"
#include "view_color.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace kelvork::params {

namespace {

template <class T>
T* named(QWidget* parent, const char* name)
{
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

template <class T>
T* captioned(QWidget* parent, const char* name, const QString& text)
{
    auto* w = named<T>(parent, name);
    w->setText(text);
    return w;
}

QSpinBox* numberBox(QWidget* parent, const char* name, int min, int max, int step, int value)
{
    auto* box = named<QSpinBox>(parent, name);
    box->setRange(min, max);   // keeps its value within the range
    box->setSingleStep(step);
    box->setValue(value);
    return box;
}

QAction* action(QObject* parent, const char* name, const QString& text)
{
    auto* a = new QAction(text, parent);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

// The colours offered for a leave class, as stored (0x00BBGGRR).
const int kColors[] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
                       0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

QIcon swatch(int viewColor)
{
    QPixmap pixmap(40, 14);
    pixmap.fill(colorOfViewColor(viewColor));
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    QIcon icon(pixmap);
    icon.addPixmap(pixmap, QIcon::Disabled);   // the colour stays visible while not editing
    return icon;
}

// A number as the operator typed it: '.' separates the decimals.
bool readNumber(const QString& text, double& value)
{
    bool ok = false;
    value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok;
}

QString notANumber(const QString& text)
{
    return texts::resource(QStringLiteral("NotANumber"), QStringLiteral("“%s”不是有效的数值，请重新输入！"))
        .replace(QStringLiteral("%s"), text);
}

} // namespace

TFrmSet::TFrmSet(Database& db, engine::AttendanceParameters& params, QWidget* parent)
    : QDialog(parent), db_(db), params_(params)
{
    setObjectName(QStringLiteral("FrmSet"));
    setWindowTitle(QStringLiteral("系统参数设定"));
    resize(520, 420);

    PageControl1 = named<QTabWidget>(this, "PageControl1");
    buildBasicTab();
    buildRulesTab();
    buildLeaveTab();
    buildFieldTab();

    S_OK = captioned<QPushButton>(this, "S_OK", QStringLiteral("确定(&O)"));
    S_Exit = captioned<QPushButton>(this, "S_Exit", QStringLiteral("取消(&C)"));
    S_OK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(S_OK);
    buttons->addWidget(S_Exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);

    connect(S_OK, &QPushButton::clicked, this, &TFrmSet::S_OKClick);
    connect(S_Exit, &QPushButton::clicked, this, &QDialog::reject);

    // Opening.
    reloadLeaveClasses(0);
    showBasePar();
    T_xm->setCurrentRow(0);   // shows item 0 without storing anything
    Z_type->setCurrentIndex(0);
    Z_typeChange();
    if (DbStatus st = oplog::write(db_, oplog::WriteOPLog7()); !st.ok())
        ui::showWarning(this, st.message());
}

void TFrmSet::showEvent(QShowEvent* event)
{
    if (!textsApplied_) {
        texts::applyToScreen(this, QStringLiteral("FrmSet"));
        textsApplied_ = true;
    }
    QDialog::showEvent(event);
}

// ---------------------------------------------------------------------------------------------
// TabSheet1: basic parameters

void TFrmSet::buildBasicTab()
{
    TabSheet1 = named<QWidget>(this, "TabSheet1");
    PageControl1->addTab(TabSheet1, QStringLiteral(" 基本参数 "));
    QWidget* p = TabSheet1;

    B_name = named<QLineEdit>(p, "B_name");
    B_name->setMaxLength(50);
    T_daylong = numberBox(p, "T_daylong", 60, 1200, 30, 480);
    C_Noin = captioned<QCheckBox>(p, "C_Noin", QStringLiteral("上班无签到时记为迟到"));
    T_latetime = numberBox(p, "T_latetime", 1, 480, 5, 60);
    C_Noout = captioned<QCheckBox>(p, "C_Noout", QStringLiteral("下班无签退时记为早退"));
    T_leavetime = numberBox(p, "T_leavetime", 1, 480, 5, 60);
    C_AutoaddIn = captioned<QCheckBox>(p, "C_AutoaddIn", QStringLiteral("上班"));
    T_AddtimeIn = numberBox(p, "T_AddtimeIn", 0, 480, 5, 60);
    C_Autoadd = captioned<QCheckBox>(p, "C_Autoadd", QStringLiteral("下班"));
    T_Addtime = numberBox(p, "T_Addtime", 0, 480, 5, 60);
    C_DeductIn = captioned<QCheckBox>(p, "C_DeductIn", QStringLiteral("上班是否进行扣除"));
    C_DeductOut = captioned<QCheckBox>(p, "C_DeductOut", QStringLiteral("下班是否进行扣除"));

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(captioned<QLabel>(p, "Label1", QStringLiteral("单位名称：")), row, 0);
    grid->addWidget(B_name, row++, 1, 1, 2);
    grid->addWidget(captioned<QLabel>(p, "Label2", QStringLiteral("一个工作日计为")), row, 0);
    grid->addWidget(T_daylong, row, 1);
    grid->addWidget(captioned<QLabel>(p, "Label3", QStringLiteral("分钟")), row++, 2);
    grid->addWidget(C_Noin, row, 0);
    grid->addWidget(T_latetime, row, 1);
    grid->addWidget(captioned<QLabel>(p, "Label4", QStringLiteral("分钟")), row++, 2);
    grid->addWidget(C_Noout, row, 0);
    grid->addWidget(T_leavetime, row, 1);
    grid->addWidget(captioned<QLabel>(p, "Label5", QStringLiteral("分钟")), row++, 2);
    grid->addWidget(C_AutoaddIn, row, 0);
    grid->addWidget(T_AddtimeIn, row, 1);
    grid->addWidget(captioned<QLabel>(p, "Label6", QStringLiteral("分钟前签到记加班")), row++, 2);
    grid->addWidget(C_Autoadd, row, 0);
    grid->addWidget(T_Addtime, row, 1);
    grid->addWidget(captioned<QLabel>(p, "Label7", QStringLiteral("分钟后签退记加班")), row++, 2);
    grid->addWidget(C_DeductIn, row, 0);
    grid->addWidget(C_DeductOut, row++, 1, 1, 2);

    GroupBox1 = named<QGroupBox>(p, "GroupBox1");
    GroupBox1->setTitle(QStringLiteral("时段跨两日时"));
    B_day1 = captioned<QRadioButton>(GroupBox1, "B_day1", QStringLiteral("计为第一日"));
    B_day2 = captioned<QRadioButton>(GroupBox1, "B_day2", QStringLiteral("计为第二日"));
    auto* days = new QVBoxLayout(GroupBox1);
    days->addWidget(B_day1);
    days->addWidget(B_day2);

    GroupBox2 = named<QGroupBox>(p, "GroupBox2");
    GroupBox2->setTitle(QStringLiteral("加班倍率定义"));
    Overtime_1 = named<QLineEdit>(GroupBox2, "Overtime_1");
    Overtime_2 = named<QLineEdit>(GroupBox2, "Overtime_2");
    Overtime_3 = named<QLineEdit>(GroupBox2, "Overtime_3");
    auto* rates = new QGridLayout(GroupBox2);
    rates->addWidget(captioned<QLabel>(GroupBox2, "Label8", QStringLiteral("平日:")), 0, 0);
    rates->addWidget(Overtime_1, 0, 1);
    rates->addWidget(captioned<QLabel>(GroupBox2, "Label9", QStringLiteral("假日:")), 1, 0);
    rates->addWidget(Overtime_2, 1, 1);
    rates->addWidget(captioned<QLabel>(GroupBox2, "Label10", QStringLiteral("节日:")), 2, 0);
    rates->addWidget(Overtime_3, 2, 1);

    auto* groups = new QHBoxLayout;
    groups->addWidget(GroupBox1);
    groups->addWidget(GroupBox2);
    auto* layout = new QVBoxLayout(p);
    layout->addLayout(grid);
    layout->addLayout(groups);
    layout->addStretch();
}

void TFrmSet::showBasePar()
{
    const engine::TBasePar& b = params_.basePar;
    const auto shortest = [](double v) { return QString::number(v, 'g', QLocale::FloatingPointShortest); };
    B_name->setText(QString::fromStdString(b.Company));
    T_daylong->setValue(b.Workdaylong);
    C_Noin->setChecked(b.Noclockin);
    T_latetime->setValue(b.Latetime);
    C_Noout->setChecked(b.Noclockout);
    T_leavetime->setValue(b.Leavetime);
    C_AutoaddIn->setChecked(b.IsovertimeIn);
    T_AddtimeIn->setValue(b.OvertimeIn);
    C_Autoadd->setChecked(b.Isovertime);
    T_Addtime->setValue(b.Overtime);
    C_DeductIn->setChecked(b.DeductIn);
    C_DeductOut->setChecked(b.DeductOut);
    (b.Twoday == 0 ? B_day1 : B_day2)->setChecked(true);
    Overtime_1->setText(shortest(b.WOvertime));
    Overtime_2->setText(shortest(b.HOvertime));
    Overtime_3->setText(shortest(b.FOvertime));
}

void TFrmSet::S_OKClick()
{
    if (!storeItem())
        return;
    double rates[3] = {};
    QLineEdit* const rateTexts[3] = {Overtime_1, Overtime_2, Overtime_3};
    for (int i = 0; i < 3; ++i) {
        if (!readNumber(rateTexts[i]->text(), rates[i])) {
            ui::showWarning(this, notANumber(rateTexts[i]->text()));
            rateTexts[i]->setFocus();
            return;
        }
    }
    engine::TBasePar b = params_.basePar;
    b.Company = B_name->text().toStdString();
    b.Workdaylong = T_daylong->value();
    b.Twoday = B_day1->isChecked() ? 0 : 1;
    b.Noclockin = C_Noin->isChecked();
    b.Noclockout = C_Noout->isChecked();
    b.Isovertime = C_Autoadd->isChecked();
    b.Latetime = T_latetime->value();
    b.Leavetime = T_leavetime->value();
    b.Overtime = T_Addtime->value();
    b.WOvertime = rates[0];
    b.HOvertime = rates[1];
    b.FOvertime = rates[2];
    b.IsovertimeIn = C_AutoaddIn->isChecked();
    b.OvertimeIn = T_AddtimeIn->value();
    b.DeductIn = C_DeductIn->isChecked();
    b.DeductOut = C_DeductOut->isChecked();
    if (DbStatus st = writeBaseParaAndCompany(db_, b); !st.ok()) {
        ui::showWarning(this, st.message());
        return;
    }
    // The record takes the row as stored (the rates with their one decimal).
    if (DbStatus st = readBasePara(db_, b); !st.ok())
        ui::showWarning(this, st.message());
    params_.basePar = b;
    accept();
}

// ---------------------------------------------------------------------------------------------
// TabSheet2: statistic rules

void TFrmSet::buildRulesTab()
{
    TabSheet2 = named<QWidget>(this, "TabSheet2");
    PageControl1->addTab(TabSheet2, QStringLiteral(" 统计规则 "));
    QWidget* p = TabSheet2;

    T_xm = named<QListWidget>(p, "T_xm");
    T_xm->addItems({QStringLiteral("正常"), QStringLiteral("迟到"), QStringLiteral("早退"), QStringLiteral("公出"),
                    QStringLiteral("请假"), QStringLiteral("旷工"), QStringLiteral("外出"), QStringLiteral("加班"),
                    QStringLiteral("自由加班")});
    T_name = named<QComboBox>(p, "T_name");
    T_name->addItems({QStringLiteral("分钟"), QStringLiteral("小时"), QStringLiteral("工作日")});
    T_count = named<QLineEdit>(p, "T_count");
    GroupBox3 = named<QGroupBox>(p, "GroupBox3");
    GroupBox3->setTitle(QStringLiteral("舍入控制"));
    T_sr1 = captioned<QRadioButton>(GroupBox3, "T_sr1", QStringLiteral("向下舍弃"));
    T_sr2 = captioned<QRadioButton>(GroupBox3, "T_sr2", QStringLiteral("向上进位"));
    T_sr3 = captioned<QRadioButton>(GroupBox3, "T_sr3", QStringLiteral("四舍五入"));
    T_sr3->setChecked(true);
    auto* rounding = new QVBoxLayout(GroupBox3);
    rounding->addWidget(T_sr1);
    rounding->addWidget(T_sr2);
    rounding->addWidget(T_sr3);
    T_lj = captioned<QCheckBox>(p, "T_lj", QStringLiteral("累计后进行舍入"));
    T_ac = captioned<QCheckBox>(p, "T_ac", QStringLiteral("按次数进行计算"));

    auto* settings = new QGridLayout;
    settings->addWidget(captioned<QLabel>(p, "Label12", QStringLiteral("统计单位:")), 0, 0);
    settings->addWidget(T_name, 0, 1);
    settings->addWidget(captioned<QLabel>(p, "Label13", QStringLiteral("最小单位数:")), 1, 0);
    settings->addWidget(T_count, 1, 1);
    settings->addWidget(GroupBox3, 2, 0, 1, 2);
    settings->addWidget(T_lj, 3, 0, 1, 2);
    settings->addWidget(T_ac, 4, 0, 1, 2);
    settings->setRowStretch(5, 1);
    auto* items = new QVBoxLayout;
    items->addWidget(captioned<QLabel>(p, "Label11", QStringLiteral("统计项目:")));
    items->addWidget(T_xm);
    auto* layout = new QHBoxLayout(p);
    layout->addLayout(items);
    layout->addLayout(settings, 1);

    connect(T_xm, &QListWidget::currentRowChanged, this, &TFrmSet::T_xmClick);
    connect(T_ac, &QCheckBox::toggled, this, &TFrmSet::T_acClick);
}

void TFrmSet::T_xmClick()
{
    const int chosen = T_xm->currentRow();
    if (chosen == shownItem_)
        return;
    if (!storeItem()) {   // the shown item stays chosen
        const QSignalBlocker block(T_xm);
        T_xm->setCurrentRow(shownItem_);
        return;
    }
    showItem(chosen);
}

void TFrmSet::showItem(int index)
{
    shownItem_ = index;
    if (index < 0 || index >= int(engine::StatItemCount))
        return;
    const engine::TStatItem& item = params_.items[std::size_t(index)];
    T_name->setCurrentIndex(item.Units >= 0 && item.Units < T_name->count() ? item.Units : -1);
    T_count->setText(QString::asprintf("%.1f", item.MinUnit));
    (item.SRControl == 0 ? T_sr1 : item.SRControl == 1 ? T_sr2 : T_sr3)->setChecked(true);
    T_lj->setChecked(item.Isaddup);
    const QSignalBlocker block(T_ac);
    T_ac->setChecked(item.Istimes);
    applyCountMode();
}

bool TFrmSet::storeItem()
{
    if (shownItem_ < 0 || shownItem_ >= int(engine::StatItemCount))
        return true;
    if (T_count->text() == QLatin1String("0"))
        T_count->setText(QStringLiteral("1"));
    double minUnit = 0;
    if (!readNumber(T_count->text(), minUnit)) {
        ui::showWarning(this, notANumber(T_count->text()));
        return false;
    }
    if (!(minUnit > 0)) {   // figures are multiples of it: it cannot be 0 or less
        ui::showWarning(this, texts::resource(QStringLiteral("MinUnitNotPositive"),
                                              QStringLiteral("最小单位数必须大于0，请重新输入！")));
        return false;
    }
    engine::TStatItem item = params_.items[std::size_t(shownItem_)];
    item.Itemname = engine::kStatItemNames[std::size_t(shownItem_)];
    item.Units = T_name->currentIndex();
    item.MinUnit = minUnit;
    item.SRControl = T_sr1->isChecked() ? 0 : T_sr2->isChecked() ? 1 : 2;
    item.Isaddup = T_lj->isChecked();
    item.Istimes = T_ac->isChecked();
    if (DbStatus st = writeStatItem(db_, item); !st.ok()) {
        ui::showWarning(this, st.message());
        return false;
    }
    params_.items[std::size_t(shownItem_)] = item;
    return true;
}

void TFrmSet::T_acClick()
{
    applyCountMode();
}

void TFrmSet::applyCountMode()
{
    // An item counted by occurrences has no unit, minimum or rounding.
    const bool counted = T_ac->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{T_name, T_count, T_sr1, T_sr2, T_sr3, T_lj})
        w->setEnabled(!counted);
    if (counted)
        T_lj->setChecked(false);
}

// ---------------------------------------------------------------------------------------------
// TabSheet3: leave classes

void TFrmSet::buildLeaveTab()
{
    TabSheet3 = named<QWidget>(this, "TabSheet3");
    PageControl1->addTab(TabSheet3, QStringLiteral(" 假类设置 "));
    QWidget* p = TabSheet3;

    ToolBar1 = named<QToolBar>(p, "ToolBar1");
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    T_Insert = action(this, "T_Insert", QStringLiteral("增加(&A)"));
    T_Del = action(this, "T_Del", QStringLiteral("删除(&D)"));
    T_Edit = action(this, "T_Edit", QStringLiteral("修改(&E)"));
    T_Save = action(this, "T_Save", QStringLiteral("保存(&S)"));
    T_Cancel = action(this, "T_Cancel", QStringLiteral("取消(&C)"));
    ToolBar1->addActions({T_Insert, T_Del, T_Edit, T_Save, T_Cancel});

    leaveModel_ = new QStandardItemModel(0, 2, this);
    leaveModel_->setHorizontalHeaderLabels({QStringLiteral("名称"), QStringLiteral("颜色")});
    DB_Leave = named<QTableView>(p, "DB_Leave");
    DB_Leave->setModel(leaveModel_);
    DB_Leave->setProperty(texts::kColumnNamesProperty,
                          QStringList{QStringLiteral("DB_LeaveColumn1"), QStringLiteral("DB_LeaveColumn2")});
    DB_Leave->setSelectionBehavior(QAbstractItemView::SelectRows);
    DB_Leave->setSelectionMode(QAbstractItemView::SingleSelection);
    DB_Leave->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DB_Leave->verticalHeader()->hide();
    DB_Leave->setColumnWidth(0, 110);
    DB_Leave->setColumnWidth(1, 73);

    L_name = named<QLineEdit>(p, "L_name");
    L_name->setMaxLength(50);
    L_Color = named<QComboBox>(p, "L_Color");
    L_Color->setProperty(texts::kNoTextsProperty, true);   // colour swatches, no texts
    L_Color->setIconSize(QSize(40, 14));
    for (int c : kColors)
        L_Color->addItem(swatch(c), QString(), c);
    L_Show = named<QLineEdit>(p, "L_Show");
    L_Show->setMaxLength(2);

    auto* entry = new QGridLayout;
    entry->addWidget(captioned<QLabel>(p, "Label14", QStringLiteral("假类名称:")), 0, 0);
    entry->addWidget(L_name, 0, 1);
    entry->addWidget(captioned<QLabel>(p, "Label15", QStringLiteral("表示颜色:")), 1, 0);
    entry->addWidget(L_Color, 1, 1);
    entry->addWidget(captioned<QLabel>(p, "Label16", QStringLiteral("表示字符:")), 2, 0);
    entry->addWidget(L_Show, 2, 1);
    entry->setRowStretch(3, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(DB_Leave, 1);
    body->addLayout(entry);
    auto* layout = new QVBoxLayout(p);
    layout->addWidget(ToolBar1);
    layout->addLayout(body, 1);

    connect(T_Insert, &QAction::triggered, this, &TFrmSet::T_InsertClick);
    connect(T_Del, &QAction::triggered, this, &TFrmSet::T_DelClick);
    connect(T_Edit, &QAction::triggered, this, &TFrmSet::T_EditClick);
    connect(T_Save, &QAction::triggered, this, &TFrmSet::T_SaveClick);
    connect(T_Cancel, &QAction::triggered, this, &TFrmSet::T_CancelClick);
    connect(DB_Leave->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (leaveMode_ != 1)
            showLeaveClass();
    });
    setLeaveEntry(false);
}

void TFrmSet::reloadLeaveClasses(int selectClassid)
{
    if (DbStatus st = readLeaveClasses(db_, classes_); !st.ok())
        ui::showWarning(this, st.message());
    params_.leaveClasses = classes_;   // the calculation's leave classes follow the table
    leaveModel_->setRowCount(0);
    int selectRow = classes_.empty() ? -1 : 0;
    for (std::size_t i = 0; i < classes_.size(); ++i) {
        auto* name = new QStandardItem(QString::fromStdString(classes_[i].Classname));
        auto* color = new QStandardItem;
        color->setBackground(colorOfViewColor(classes_[i].ViewColor));
        color->setFlags(Qt::ItemIsEnabled);   // not highlighted with the row: the colour shows
        leaveModel_->appendRow({name, color});
        if (classes_[i].Classid == selectClassid)
            selectRow = int(i);
    }
    if (selectRow >= 0)
        DB_Leave->setCurrentIndex(leaveModel_->index(selectRow, 0));
    showLeaveClass();
}

int TFrmSet::selectedLeaveRow() const
{
    const int row = DB_Leave->currentIndex().row();
    return row >= 0 && row < int(classes_.size()) ? row : -1;
}

void TFrmSet::showLeaveClass()
{
    const int row = selectedLeaveRow();
    if (row < 0)
        return;
    const engine::TLeaveClass& c = classes_[std::size_t(row)];
    L_name->setText(QString::fromStdString(c.Classname));
    selectColor(c.ViewColor);
    L_Show->setText(QString::fromStdString(c.Showas));
}

void TFrmSet::selectColor(int viewColor)
{
    int index = L_Color->findData(viewColor);
    if (index < 0) {   // a colour from elsewhere keeps its place in the list
        L_Color->addItem(swatch(viewColor), QString(), viewColor);
        index = L_Color->count() - 1;
    }
    L_Color->setCurrentIndex(index);
}

int TFrmSet::chosenViewColor() const
{
    return L_Color->currentData().toInt();
}

void TFrmSet::setLeaveEntry(bool entry)
{
    L_name->setReadOnly(!entry);
    L_Show->setReadOnly(!entry);
    L_Color->setEnabled(entry);
    T_Insert->setEnabled(!entry);
    T_Del->setEnabled(!entry);
    T_Edit->setEnabled(!entry);
    DB_Leave->setEnabled(!entry);
    T_Save->setEnabled(entry);
    T_Cancel->setEnabled(entry);
}

void TFrmSet::T_InsertClick()
{
    leaveMode_ = 1;
    L_name->clear();
    L_Show->clear();
    setLeaveEntry(true);
    L_name->setFocus();
}

void TFrmSet::T_EditClick()
{
    if (selectedLeaveRow() < 0)
        return;
    leaveMode_ = 2;
    setLeaveEntry(true);
    L_name->setFocus();
}

void TFrmSet::T_SaveClick()
{
    const int row = selectedLeaveRow();
    if (leaveMode_ != 1 && row < 0)
        return;
    engine::TLeaveClass c;
    if (leaveMode_ != 1)
        c = classes_[std::size_t(row)];
    const QString name = L_name->text().trimmed();
    switch (checkLeaveClassName(classes_, c.Classid, name)) {
    case LeaveNameProblem::None:
        break;
    case LeaveNameProblem::Empty:
        ui::showWarning(this, texts::resource(QStringLiteral("LeaveNameEmpty"), QStringLiteral("请输入假类名称！")));
        L_name->setFocus();
        return;
    case LeaveNameProblem::SameAsClass:
        ui::showWarning(this, texts::resource(QStringLiteral("LeaveNameExists"),
                                              QStringLiteral("该假类名称已经存在，请重新输入！")));
        L_name->setFocus();
        return;
    case LeaveNameProblem::FixedField:
        ui::showWarning(this, texts::resource(QStringLiteral("LeaveNameReserved"),
                                              QStringLiteral("假类名称“%s”是统计表的固定字段名，请重新输入！"))
                                  .replace(QStringLiteral("%s"), name));
        L_name->setFocus();
        return;
    }
    c.Classname = name.toStdString();
    c.ViewColor = chosenViewColor();
    c.Showas = L_Show->text().toStdString();
    const DbStatus st = leaveMode_ == 1 ? addLeaveClass(db_, c) : updateLeaveClass(db_, c);
    if (!st.ok()) {   // the entry stays open with what was typed
        ui::showWarning(this, st.message());
        return;
    }
    leaveMode_ = 2;
    setLeaveEntry(false);
    reloadLeaveClasses(c.Classid);
}

void TFrmSet::T_CancelClick()
{
    leaveMode_ = 2;
    setLeaveEntry(false);
    showLeaveClass();
}

void TFrmSet::T_DelClick()
{
    const int row = selectedLeaveRow();
    if (row < 0)
        return;
    if (!ui::confirm(this, texts::resource(QStringLiteral("DeleteHDtype"), QStringLiteral("确定要删除选中的假类吗？"))))
        return;
    if (DbStatus st = deleteLeaveClass(db_, classes_[std::size_t(row)].Classid); !st.ok()) {
        ui::showWarning(this, st.message());
        return;
    }
    const int next = row + 1 < int(classes_.size()) ? classes_[std::size_t(row) + 1].Classid
                     : row > 0                      ? classes_[std::size_t(row) - 1].Classid
                                                    : 0;
    reloadLeaveClasses(next);
    if (classes_.empty()) {
        L_name->clear();
        L_Show->clear();
    }
}

// ---------------------------------------------------------------------------------------------
// TabSheet4: field values

void TFrmSet::buildFieldTab()
{
    TabSheet4 = named<QWidget>(this, "TabSheet4");
    PageControl1->addTab(TabSheet4, QStringLiteral(" 字段定义 "));
    QWidget* p = TabSheet4;

    Z_type = named<QComboBox>(p, "Z_type");
    Z_type->addItems({QStringLiteral("职务"), QStringLiteral("学历"), QStringLiteral("专业"), QStringLiteral("民族")});
    Z_List = named<QListWidget>(p, "Z_List");
    Z_List->setProperty(texts::kNoTextsProperty, true);   // values from the database
    Z_Text = named<QLineEdit>(p, "Z_Text");
    Z_Text->setMaxLength(50);
    Z_Add = captioned<QPushButton>(p, "Z_Add", QStringLiteral("增加(&A)"));
    Z_Del = captioned<QPushButton>(p, "Z_Del", QStringLiteral("删除(&D)"));

    auto* grid = new QGridLayout(p);
    grid->addWidget(captioned<QLabel>(p, "Label17", QStringLiteral("字段名称:")), 0, 0);
    grid->addWidget(Z_type, 0, 1);
    grid->addWidget(Z_List, 1, 0, 1, 2);
    grid->addWidget(captioned<QLabel>(p, "Label18", QStringLiteral("输入新的字段值:")), 2, 0, 1, 2);
    grid->addWidget(Z_Text, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Z_Add);
    buttons->addWidget(Z_Del);
    grid->addLayout(buttons, 4, 0, 1, 2);

    connect(Z_type, &QComboBox::currentIndexChanged, this, &TFrmSet::Z_typeChange);
    connect(Z_Add, &QPushButton::clicked, this, &TFrmSet::Z_AddClick);
    connect(Z_Del, &QPushButton::clicked, this, &TFrmSet::Z_DelClick);
}

void TFrmSet::Z_typeChange()
{
    Z_Text->clear();
    Z_List->clear();
    if (Z_type->currentIndex() < 0)
        return;
    QStringList values;
    if (DbStatus st = readFieldValues(db_, fieldNameOfType(Z_type->currentIndex()), values); !st.ok())
        ui::showWarning(this, st.message());
    Z_List->addItems(values);
}

void TFrmSet::Z_AddClick()
{
    const QString value = Z_Text->text();
    if (value.isEmpty() || Z_type->currentIndex() < 0) {
        Z_Text->setFocus();
        return;
    }
    if (!Z_List->findItems(value, Qt::MatchExactly).isEmpty()) {
        ui::showWarning(this, texts::resource(QStringLiteral("SameValue"),
                                              QStringLiteral("输入的字段值已经存在，请重新输入！")));
        Z_Text->clear();
        return;
    }
    if (DbStatus st = addFieldValue(db_, fieldNameOfType(Z_type->currentIndex()), value); !st.ok()) {
        ui::showWarning(this, st.message());
        return;
    }
    Z_List->addItem(value);
    Z_Text->clear();
    Z_Text->setFocus();
}

void TFrmSet::Z_DelClick()
{
    const QList<QListWidgetItem*> selected = Z_List->selectedItems();
    if (selected.isEmpty() || Z_type->currentIndex() < 0)
        return;
    if (!ui::confirm(this, texts::resource(QStringLiteral("DeleteValue"), QStringLiteral("您确定要删除该字段值吗？"))))
        return;
    QListWidgetItem* item = selected.first();
    if (DbStatus st = deleteFieldValue(db_, fieldNameOfType(Z_type->currentIndex()), item->text()); !st.ok()) {
        ui::showWarning(this, st.message());
        return;
    }
    delete item;
}

} // namespace kelvork::params
