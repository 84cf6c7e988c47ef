#include "frmmain.h"

#include "apply_texts.h"
#include "builtin_pictures.h"
#include "button_layout.h"
#include "connection_string.h"
#include "data_module.h"
#include "frm_about.h"
#include "frm_datalink.h"
#include "main_surface.h"
#include "message_box.h"
#include "picture_button.h"
#include "texts.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

namespace kelvork::shell {
namespace {

const QString kVersion = QStringLiteral(" V4.4.5");

// One row of the menu: an item, a separator (name only, no caption) or the start of a menu.
struct MenuRow {
    const char* name;
    const char* caption;   // nullptr: a separator
    const char* shortcut;
    bool topLevel;
};

const MenuRow kMenu[] = {
    {"S1", "系统(&S)", "", true},
    {"C1", "参数设定(&C)", "", false},
    {"N1", nullptr, "", false},
    {"G1", "管理员设置(&O)", "", false},
    {"B1", "管理员设置密码(&P)", "", false},
    {"N15", nullptr, "", false},
    {"L2", "记录修改日志(&M)", "", false},
    {"N11", "管理员操作日志(&Z)", "", false},
    {"N14", nullptr, "", false},
    {"L1", "设置数据库连接(&L)", "", false},
    {"N2", nullptr, "", false},
    {"X1", "退出系统", "Ctrl+X", false},
    {"R3", "人事管理(&R)", "", true},
    {"M1", "部门管理", "Ctrl+D", false},
    {"G2", "员工维护", "Ctrl+G", false},
    {"C2", "考勤管理(&C)", "", true},
    {"R1", "节假日设定(&H)", "", false},
    {"N7", nullptr, "", false},
    {"B2", "班次设定", "Ctrl+B", false},
    {"P1", "员工排班", "Ctrl+P", false},
    {"N6", nullptr, "", false},
    {"R2", "出勤记录(&R)", "", false},
    {"K1", "考勤统计报表", "Ctrl+R", false},
    {"N3", "异常处理(&Y)", "", true},
    {"Q1", "员工公出/请假", "Ctrl+L", false},
    {"N4", nullptr, "", false},
    {"W1", "忘记签到/签退处理", "Ctrl+W", false},
    {"T1", "集体签到/签退处理(&T)", "", false},
    {"J1", "集体迟到/早退处理(&J)", "", false},
    {"W2", "数据维护(&W)", "", true},
    {"M2", "导入人员名单", "Ctrl+Y", false},
    {"I1", "导入考勤记录", "Ctrl+I", false},
    {"N12", nullptr, "", false},
    {"C3", "清除过期数据(&C)", "", false},
    {"N13", nullptr, "", false},
    {"Y1", "压缩和修复数据库(&Y)", "", false},
    {"B3", "备份数据库(&B)", "", false},
    {"X2", "初始化系统(&X)", "", false},
    {"O1", "外接程序(&O)", "", true},
    {"S2", "外接程序管理(&S)", "", false},
    {"N8", nullptr, "", false},
    {"L4", "连接考勤机(&L)", "", false},
    {"N5", "帮助(&H)", "", true},
    {"A1", "关于(&A)...", "", false},
};

// The picture buttons: name, designed position, label, label text, the menu item it acts as
// (empty for PNG_Close), and the right checked on click (0: none).
struct ButtonRow {
    const char* name;
    int x, y;
    const char* label;
    const char* text;
    const char* item;
    int right;
};

const ButtonRow kButtons[] = {
    {"PNG_User", 132, 84, "S_User", "员工维护", "G2", 4},
    {"PNG_Class", 222, 84, "S_Class", "班次设定", "B2", 5},
    {"PNG_UClass", 313, 84, "S_UClass", "员工排班", "P1", 6},
    {"PNG_Record", 313, 252, "S_Record", "出勤记录", "R2", 7},
    {"PNG_Report", 405, 252, "S_Report", "统计报表", "K1", 8},
    {"PNG_ClearData", 575, 251, "S_ClearData", "清除数据", "C3", 15},
    {"PNG_NoIn", 224, 426, "S_NoIn", "忘记考勤", "W1", 11},
    {"PNG_Free", 313, 426, "S_Free", "员工请假", "Q1", 10},
    {"PNG_ShrinkData", 578, 364, "S_ShrinkData", "压缩数据库", "Y1", 0},
    {"PNG_Close", 671, 364, "S_Close", "退出系统", "", 0},
};

const ButtonRow* buttonRow(const QString& name)
{
    for (const ButtonRow& b : kButtons)
        if (name == QLatin1String(b.name))
            return &b;
    return nullptr;
}

// Items the main window handles itself; every other item needs a registered screen.
bool handledByMainWindow(const QString& item)
{
    static const QStringList own = {"L1", "X1", "A1"};
    return own.contains(item);
}

// A picture file of the skin: relative to the current directory as the skin always was, then
// beside the program.
QString skinFile(const QString& relative)
{
    if (QFileInfo::exists(relative))
        return QDir::current().absoluteFilePath(relative);
    const QString beside = config::programFolder() + relative;
    return QFileInfo::exists(beside) ? beside : QString();
}

QPixmap loadPicture(const QString& path)
{
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

} // namespace

Frmmain::Frmmain(TDM& dm, QWidget* parent)
    : QMainWindow(parent)
    , dm_(dm)
{
    setObjectName(QStringLiteral("Frmmain"));
    baseCaption_ = QStringLiteral("指纹考勤管理系统");
    setWindowTitle(baseCaption_ + kVersion);
    setWindowIcon(QIcon(ui::programIcon(64)));
    resize(1024, 738);
    buildMenu();
    buildButtons();
    buildStatusBar();
}

Frmmain::~Frmmain()
{
    // The remembered selection reaches the file only through the normal shutdown.
    if (created_ && shown_)
        config::writeSelinfo(config::programFolder(), config::selinfo());
}

void Frmmain::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* menu = nullptr;
    for (const MenuRow& row : kMenu) {
        const QString name = QString::fromLatin1(row.name);
        if (row.topLevel) {
            menu = bar->addMenu(QString::fromUtf8(row.caption));
            menu->setObjectName(name);
            continue;
        }
        QAction* a = row.caption ? menu->addAction(QString::fromUtf8(row.caption)) : menu->addSeparator();
        a->setObjectName(name);
        if (*row.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
        if (row.caption) {
            a->setEnabled(handledByMainWindow(name));
            connect(a, &QAction::triggered, this, [this, name] { runItem(name); });
        }
        items_.insert(name, a);
    }
}

void Frmmain::buildButtons()
{
    surface_ = new MainSurface(this);
    surface_->setObjectName(QStringLiteral("MainSurface"));
    setCentralWidget(surface_);
    Image1 = new QLabel(surface_);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    Image1->hide();
    for (const ButtonRow& row : kButtons) {
        const QString name = QString::fromLatin1(row.name);
        auto* b = new PictureButton(name, surface_);
        b->move(row.x, row.y);
        for (int state = 1; state <= 3; ++state)
            b->setPicture(state, ui::buttonPicture(name, state));
        connect(b, &QAbstractButton::clicked, this, [this, name] { pictureButtonClick(name); });
        auto* label = new QLabel(QString::fromUtf8(row.text), surface_);
        label->setObjectName(QString::fromLatin1(row.label));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setGeometry(row.x - 20, row.y + 80, 120, 22);
        buttons_ << b;
        labels_ << label;
    }
    surface_->setButtons(buttons_);
}

void Frmmain::buildStatusBar()
{
    QStatusBar* sb = statusBar();
    sb->setObjectName(QStringLiteral("SB_"));
    sb->setSizeGripEnabled(false);
    sb->setStyleSheet(QStringLiteral(
        "QStatusBar { background: #eef2f7; border-top: 1px solid #c9d4e0; }"
        "QStatusBar::item { border: none; }"
        "QStatusBar QLabel { padding: 2px 6px; color: #1f3a5f; border-right: 1px solid #c9d4e0; }"));
    const int widths[4] = {135, 150, 280, 50};
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel(sb);
        panels_[i]->setObjectName(QStringLiteral("SB_Panel%1").arg(i));
        panels_[i]->setMinimumWidth(widths[i]);
        panels_[i]->setProperty(texts::kNoTextsProperty, true);
        sb->addWidget(panels_[i], i == 3 ? 1 : 0);
    }
    panels_[2]->setText(QStringLiteral("Kelvork 指纹考勤管理系统"));
    panels_[3]->setText(QStringLiteral("技术支持：请联系系统管理员"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &Frmmain::Timer1Timer);
}

QString Frmmain::panelText(int panel) const
{
    return panel >= 0 && panel < 4 ? panels_[panel]->text() : QString();
}

QAction* Frmmain::item(const QString& name) const { return items_.value(name); }

PictureButton* Frmmain::pictureButton(const QString& name) const
{
    for (PictureButton* b : buttons_)
        if (b->objectName() == name)
            return b;
    return nullptr;
}

void Frmmain::registerScreen(const QString& itemName, std::function<void(QWidget*)> open)
{
    screens_.insert(itemName, std::move(open));
    if (QAction* a = item(itemName))
        a->setEnabled(true);
}

void Frmmain::setOperatorSeams(ui::OperatorSeams seams)
{
    seams_ = std::move(seams);
    if (seams_.openOperators)
        registerScreen(QStringLiteral("G1"), seams_.openOperators);
    if (seams_.openPassword)
        registerScreen(QStringLiteral("B1"), seams_.openPassword);
}

bool Frmmain::FormCreate()
{
    // Steps 1 to 3: the date formats are the program's constants (config::kDateFormat); the
    // program folder and the configuration were settled by the program entry.
    const QString folder = config::programFolder();
    config_ = config::readSysConfig(folder);
    config::selinfo() = config::readSelinfo(folder);
    texts::configure(folder, config_.language);
    // Step 4: the folder of the fingerprint template files.
    QDir().mkpath(folder + QStringLiteral("Template"));
    // Step 5: the application's title. Step 6, the language's font into TFontSet, was done by
    // texts::configure.
    baseCaption_ = texts::lookup("System", "Application.Title", "指纹考勤管理系统");
    setWindowTitle(baseCaption_ + kVersion);
    created_ = true;

    // Step 7: the connection. A failure ends the creation here: no upgrade, no login; the window
    // opens with its menu enabled and L1 is the way forward.
    connectionString_ = config_.dbConnection;
    const bool linked = openConnection();
    if (linked) {
        // Step 8, the upgrade, ran inside the data module's open. Steps 9 and 10: the operator
        // bootstrap. Step 11: the login.
        if (seams_.bootstrap)
            seams_.bootstrap();
        if (seams_.login && !seams_.login(this)) {
            created_ = false;
            return false;
        }
        // Step 12: the logged-in state.
        applyMenuRights();
        if (loadParameters_)
            loadParameters_();
    } else {
        ui::showWarning(this, texts::resource("LinkDBError", "数据库连接失败，请重新配置数据库！"));
    }
    // Steps 13 and 14 (the external-program items are added by their module's registration).
    if (QAction* l4 = item(QStringLiteral("L4")))
        l4->setVisible(config_.viewMenuConnDev == 1);
    return true;
}

bool Frmmain::openConnection()
{
    connected_ = false;
    const DbStatus st = dm_.open(connectionString_);
    if (!st.ok()) {
        qWarning("kelvork: %s", qPrintable(st.message()));
        return false;
    }
    connected_ = true;
    updateFileDatabaseItems();
    return true;
}

// Compaction, backup and initialisation apply to a database file only.
void Frmmain::updateFileDatabaseItems()
{
    const bool file = isFileConnection(connectionString_);
    for (const char* name : {"Y1", "B3", "X2"})
        if (QAction* a = item(QString::fromLatin1(name)))
            a->setVisible(file);
}

void Frmmain::applyMenuRights()
{
    if (seams_.applyMenuRights)
        seams_.applyMenuRights(this);
    for (auto it = items_.constBegin(); it != items_.constEnd(); ++it)
        if (!it.value()->isSeparator() && !handledByMainWindow(it.key()) && !screens_.contains(it.key()))
            it.value()->setEnabled(false);
}

void Frmmain::changeConnection(const QString& newConnection)
{
    if (newConnection == connectionString_)
        return;
    QString error;
    if (!config::writeDbConnection(config::programFolder(), newConnection, &error))
        qWarning("kelvork: Pendrix.dat not written: %s", qPrintable(error));
    if (connected_ && logConnectionChange_)
        logConnectionChange_(databaseFilePath(newConnection));
    connectionString_ = newConnection;
    if (!openConnection()) {
        ui::showWarning(this, texts::resource("LinkDBError", "数据库连接失败，请重新配置数据库！"));
        return;
    }
    applyMenuRights();
    if (loadParameters_)
        loadParameters_();
}

void Frmmain::runItem(const QString& name)
{
    if (name == QLatin1String("X1")) {
        close();
    } else if (name == QLatin1String("L1")) {
        L1Click();
    } else if (name == QLatin1String("A1")) {
        A1Click();
    } else if (auto it = screens_.constFind(name); it != screens_.constEnd()) {
        it.value()(this);
        if (name == QLatin1String("G1"))   // the operator may have renamed himself
            panels_[1]->setText(QStringLiteral("  ") + (seams_.operatorName ? seams_.operatorName() : QString()));
    }
}

void Frmmain::pictureButtonClick(const QString& buttonName)
{
    const ButtonRow* row = buttonRow(buttonName);
    if (!row)
        return;
    if (!*row->item) {
        close();
        return;
    }
    if (row->right > 0 && seams_.hasRight && !seams_.hasRight(row->right)) {
        ui::showNotice(this, texts::resource("NoRight", "您没有该功能的使用权限，请与管理员联系！"));
        return;
    }
    // A button acts as its menu item even when that item is hidden or disabled by the rights.
    const QString name = QString::fromLatin1(row->item);
    if (auto it = screens_.constFind(name); it != screens_.constEnd())
        it.value()(this);
}

void Frmmain::L1Click()
{
    const QString chosen = TFrmDataLink::getConnectionString(this, connectionString_);
    changeConnection(chosen);
}

void Frmmain::A1Click()
{
    TFrmAbout about(this);
    about.exec();
}

void Frmmain::showEvent(QShowEvent* event)
{
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
    QMainWindow::showEvent(event);
}

void Frmmain::FormShow()
{
    loadPictures();
    panels_[1]->setText(QStringLiteral("  ") + (seams_.operatorName ? seams_.operatorName() : QString()));
    // Caption, labels, buttons and menu items from section "Frmmain" (the caption's key lives in
    // section "FrmMain", the same section to the profile rules); the current texts are defaults.
    setWindowTitle(baseCaption_);
    texts::applyToScreen(this, QStringLiteral("Frmmain"));
    setWindowTitle(windowTitle() + kVersion);
    QFont labelFont = texts::screenFont();
    for (QLabel* l : labels_)
        l->setFont(labelFont);
    panels_[2]->setText(texts::lookup("Frmmain", "SB_.Panels[2].Text", panels_[2]->text()));
    panels_[3]->setText(texts::lookup("Frmmain", "SB_.Panels[3].Text", panels_[3]->text()));
    Timer1Timer();
    Timer1->start();
    layoutButtons();
}

void Frmmain::loadPictures()
{
    surface_->setLayers(loadPicture(skinFile(QStringLiteral("pngbmp/back.png"))),
                        loadPicture(skinFile(QStringLiteral("pngbmp/backleft.png"))),
                        loadPicture(skinFile(QStringLiteral("pngbmp/backright.png"))),
                        baseCaption_);
    for (PictureButton* b : buttons_) {
        for (int state = 1; state <= 3; ++state) {
            const QPixmap pm = loadPicture(skinFile(QStringLiteral("pngbmp/%1%2.png").arg(b->objectName()).arg(state)));
            if (!pm.isNull())
                b->setPicture(state, pm);
        }
    }
    const QPixmap main = loadPicture(QFileInfo::exists(config::programFolder() + QStringLiteral("main.jpg"))
                                         ? config::programFolder() + QStringLiteral("main.jpg") : QString());
    if (!main.isNull()) {
        Image1->setPixmap(main);
        Image1->setGeometry(surface_->rect());
        Image1->show();
        Image1->lower();
    }
}

void Frmmain::Timer1Timer()
{
    panels_[0]->setText(QStringLiteral("  ") +
                        QDateTime::currentDateTime().toString(QString::fromLatin1(config::kDateTimeFormat)));
}

void Frmmain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (Image1)
        Image1->setGeometry(surface_->rect());
    layoutButtons();
}

void Frmmain::layoutButtons()
{
    PictureButton* user = pictureButton(QStringLiteral("PNG_User"));
    if (!user)
        return;
    const QRect frame = frameGeometry();
    const QSize outer = frame.isValid() && frame.width() >= width() ? frame.size() : size();
    const QPoint shift = buttonShift(outer, user->pos());
    if (shift.isNull())
        return;
    for (PictureButton* b : buttons_)
        b->move(b->pos() + shift);
    for (QLabel* l : labels_)
        l->move(l->pos() + shift);
    surface_->update();
}

void Frmmain::closeEvent(QCloseEvent* event)
{
    if (!ui::confirm(this, texts::resource("ExitSystem", "确定要退出考勤管理系统吗？   "))) {
        event->ignore();
        return;
    }
    Timer1->stop();
    event->accept();
}

} // namespace kelvork::shell
