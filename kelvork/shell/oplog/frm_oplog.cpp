#include "frm_oplog.h"

#include "apply_texts.h"
#include "message_box.h"
#include "oplog_model.h"
#include "texts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTimeEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelvork::oplog {

namespace {

template <class T>
T* named(QWidget* parent, const char* name)
{
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = named<QLabel>(parent, name);
    l->setText(text);
    return l;
}

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text)
{
    auto* b = named<QToolButton>(parent, name);
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

const QString kMomentFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

} // namespace

TFrmOpLog::TFrmOpLog(Database& db, QWidget* parent) : QDialog(parent), db_(db)
{
    setObjectName(QStringLiteral("FrmOpLog"));
    setWindowTitle(QStringLiteral("管理员操作日志"));
    resize(703, 480);
    setWindowState(Qt::WindowMaximized);

    ToolBar1 = named<QToolBar>(this, "ToolBar1");
    S_Search = toolButton(this, "S_Search", QStringLiteral("开始查找"));
    S_Close = toolButton(this, "S_Close", QStringLiteral(" 关 闭 "));
    ToolBar1->addWidget(S_Search);
    ToolBar1->addWidget(S_Close);

    Label1 = label(this, "Label1", QStringLiteral("管理员:"));
    U_Code = named<QComboBox>(this, "U_Code");
    U_Code->setMaxVisibleItems(10);
    U_Code->setMinimumContentsLength(12);
    U_Code->setProperty(texts::kNoTextsProperty, true);   // operator names from the database

    GroupBox1 = named<QGroupBox>(this, "GroupBox1");
    GroupBox1->setTitle(QStringLiteral("起止时间"));
    Label2 = label(GroupBox1, "Label2", QStringLiteral("从"));
    S_Date = named<QDateEdit>(GroupBox1, "S_Date");
    S_Time = named<QTimeEdit>(GroupBox1, "S_Time");
    Label3 = label(GroupBox1, "Label3", QStringLiteral("到"));
    E_Date = named<QDateEdit>(GroupBox1, "E_Date");
    E_Time = named<QTimeEdit>(GroupBox1, "E_Time");
    for (QDateEdit* d : {S_Date, E_Date}) {
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setCalendarPopup(true);
    }
    for (QTimeEdit* t : {S_Time, E_Time})
        t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    const QDate today = QDate::currentDate();
    S_Date->setDate(today.addDays(-30));
    E_Date->setDate(today);
    S_Time->setTime(QTime(0, 0, 1));
    E_Time->setTime(QTime(23, 59, 59));

    auto* span = new QHBoxLayout(GroupBox1);
    span->addWidget(Label2);
    span->addWidget(S_Date);
    span->addWidget(S_Time);
    span->addSpacing(12);
    span->addWidget(Label3);
    span->addWidget(E_Date);
    span->addWidget(E_Time);

    model_ = new OpLogModel(this);
    DB_Oplog = named<QTableView>(this, "DB_Oplog");
    DB_Oplog->setModel(model_);
    DB_Oplog->setProperty(texts::kColumnNamesProperty,
                          QStringList{QStringLiteral("DB_OplogColumn1"), QStringLiteral("DB_OplogColumn2"),
                                      QStringLiteral("DB_OplogColumn3"), QStringLiteral("DB_OplogColumn4")});
    DB_Oplog->setSelectionBehavior(QAbstractItemView::SelectRows);
    DB_Oplog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DB_Oplog->verticalHeader()->hide();
    DB_Oplog->horizontalHeader()->setStretchLastSection(true);
    const int widths[OpLogModel::ColumnCount] = {84, 120, 149, 317};
    for (int c = 0; c < OpLogModel::ColumnCount; ++c)
        DB_Oplog->setColumnWidth(c, widths[c]);
    // Rows 0, 2, 4 ... in the tooltip background, rows 1, 3, 5 ... aqua.
    DB_Oplog->setAlternatingRowColors(true);
    QPalette palette = DB_Oplog->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::AlternateBase, QColor(0, 255, 255));
    DB_Oplog->setPalette(palette);

    auto* choice = new QHBoxLayout;
    choice->addWidget(Label1);
    choice->addWidget(U_Code);
    choice->addSpacing(12);
    choice->addWidget(GroupBox1);
    choice->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ToolBar1);
    layout->addLayout(choice);
    layout->addWidget(DB_Oplog, 1);

    // U_Code: everybody, then every operator in table order.
    allText_ = texts::resource(QStringLiteral("SelAll"), QStringLiteral("全部"));
    DbStatus status;
    operators_ = readOperators(db_, &status);
    if (!status.ok())
        ui::showWarning(this, status.message());
    U_Code->addItem(allText_);
    for (const OperatorChoice& op : operators_)
        U_Code->addItem(op.Name);
    U_Code->setCurrentIndex(0);

    connect(S_Search, &QToolButton::clicked, this, &TFrmOpLog::S_SearchClick);
    connect(S_Close, &QToolButton::clicked, this, &QDialog::accept);
}

void TFrmOpLog::showEvent(QShowEvent* event)
{
    if (!textsApplied_) {
        texts::applyToScreen(this, QStringLiteral("FrmOpLog"));
        textsApplied_ = true;
    }
    QDialog::showEvent(event);
}

void TFrmOpLog::S_SearchClick()
{
    const QString from = S_Date->date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ')
        + S_Time->time().toString(QStringLiteral("HH:mm:ss"));
    const QString to = E_Date->date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ')
        + E_Time->time().toString(QStringLiteral("HH:mm:ss"));
    if (QDateTime::fromString(from, kMomentFormat) > QDateTime::fromString(to, kMomentFormat))
        return;

    std::optional<int> opid;
    if (U_Code->currentText() != allText_) {
        opid = firstOperatorBeginningWith(operators_, U_Code->currentText());
        if (!opid)
            opid = -1;   // a name nobody has: no entries
    }
    std::vector<LogEntry> entries;
    if (DbStatus status = searchLog(db_, from, to, opid, entries); !status.ok()) {
        ui::showWarning(this, status.message());
        return;
    }
    model_->setEntries(std::move(entries));
}

} // namespace kelvork::oplog
