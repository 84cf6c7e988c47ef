// The main window: start-up on an empty folder, the menu table, the resize rule, the picture
// buttons and their rights, the connection-failure path, the connection change, the about box and
// the shutdown with its OPTIONS write.
#include "button_layout.h"
#include "data_module.h"
#include "frm_about.h"
#include "frmmain.h"
#include "ini_file.h"
#include "message_box.h"
#include "picture_button.h"
#include "sys_config.h"
#include "texts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kelvork;
using kelvork::shell::Frmmain;
using kelvork::ui::MessageKind;

namespace {

struct Message { MessageKind kind; QString text; };

// A program folder of its own, the data module, and every message answered by `answer`.
struct Fixture {
    QTemporaryDir home;
    TDM dm;
    QList<Message> messages;
    bool answer = true;
    ui::ScopedMessageBoxHook hook{[this](MessageKind k, const QString&, const QString& t) {
        messages.push_back({k, t});
        return answer;
    }};
    Fixture() { config::setProgramFolder(folder()); }
    ~Fixture() { dm.close(); }
    QString folder() const { return home.path() + u'/'; }
    void writeConfig(const QByteArray& text) const
    {
        QFile f(config::configFilePath(folder()));
        f.open(QIODevice::WriteOnly);
        f.write(text);
    }
    void writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile f(folder() + name);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    bool saw(const QString& text) const
    {
        for (const Message& m : messages)
            if (m.text == text)
                return true;
        return false;
    }
};

const QString kLinkDBError = QStringLiteral("数据库连接失败，请重新配置数据库！");

} // namespace

TEST(ButtonLayout, ResizeRule)
{
    struct Case { QSize outer; QPoint user; QPoint shift; };
    const Case cases[] = {
        {{1024, 738}, {132, 84}, {188 - 132, 141 - 84}},   // the designed size
        {{1024, 455}, {188, 141}, {0, 0}},                  // exactly 455 high: vertical place kept
        {{646, 600}, {188, 141}, {0, 72 - 141}},            // 646 wide or less: horizontal kept
        {{500, 455}, {10, 20}, {0, 0}},
        {{647, 454}, {30, 40}, {0 - 30, 0 - 40}},           // (454 - 455) div 2 is 0
        {{648, 452}, {0, 0}, {0, -1}},                      // (452 - 455) div 2 is -1
        {{1280, 800}, {188, 141}, {316 - 188, 172 - 141}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shell::buttonShift(c.outer, c.user), c.shift) << c.outer.width() << "x" << c.outer.height();
}

TEST(Frmmain, StartsOnAnEmptyFolderWithTheWholeMenu)
{
    Fixture f;
    Frmmain w(f.dm);
    int logins = 0;
    ui::OperatorSeams seams;
    seams.login = [&](QWidget*) { ++logins; return true; };
    seams.operatorName = [] { return QStringLiteral("Admin"); };
    w.setOperatorSeams(seams);
    ASSERT_TRUE(w.FormCreate());
    EXPECT_TRUE(w.isConnected());
    EXPECT_EQ(logins, 1);
    EXPECT_TRUE(QFile::exists(f.folder() + "Rud2003.db"));
    EXPECT_TRUE(QDir(f.folder() + "Template").exists());
    EXPECT_FALSE(QFile::exists(config::configFilePath(f.folder()))) << "start-up writes no configuration";
    EXPECT_TRUE(f.messages.isEmpty());

    auto* bar = w.findChild<QMenuBar*>("MainMenu1");
    ASSERT_NE(bar, nullptr);
    QStringList menus;
    for (QAction* a : bar->actions())
        menus << a->menu()->objectName();
    EXPECT_EQ(menus, (QStringList{"S1", "R3", "C2", "N3", "W2", "O1", "N5"}));
    QStringList system;
    for (QAction* a : w.findChild<QMenu*>("S1")->actions())
        system << a->objectName();
    EXPECT_EQ(system, (QStringList{"C1", "N1", "G1", "B1", "N15", "L2", "N11", "N14", "L1", "N2", "X1"}));
    struct Item { const char* name; const char* caption; const char* shortcut; };
    for (const Item& i : {Item{"X1", "退出系统", "Ctrl+X"}, Item{"K1", "考勤统计报表", "Ctrl+R"},
                          Item{"M2", "导入人员名单", "Ctrl+Y"}, Item{"A1", "关于(&A)...", ""},
                          Item{"T1", "集体签到/签退处理(&T)", ""}, Item{"L1", "设置数据库连接(&L)", ""}}) {
        auto* a = w.findChild<QAction*>(i.name);
        ASSERT_NE(a, nullptr) << i.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(i.caption));
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(i.shortcut)));
    }
    int separators = 0;
    for (const char* n : {"N1", "N15", "N14", "N2", "N7", "N6", "N4", "N12", "N13", "N8"})
        separators += w.findChild<QAction*>(n) && w.findChild<QAction*>(n)->isSeparator();
    EXPECT_EQ(separators, 10);
    // Screens of later modules: present, disabled, harmless.
    EXPECT_FALSE(w.findChild<QAction*>("K1")->isEnabled());
    w.findChild<QAction*>("K1")->trigger();
    EXPECT_TRUE(w.findChild<QAction*>("L1")->isEnabled());
    EXPECT_TRUE(w.findChild<QAction*>("Y1")->isVisible()) << "a database file keeps compaction";
    EXPECT_TRUE(w.findChild<QAction*>("L4")->isVisible());

    w.show();
    EXPECT_EQ(w.panelText(1), "  Admin");
    EXPECT_TRUE(QDateTime::fromString(w.panelText(0).mid(2), "yyyy-MM-dd HH:mm:ss").isValid()) << w.panelText(0).toStdString();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("指纹考勤管理系统 V4.4.5"));
    EXPECT_EQ(w.findChild<QLabel*>("S_Report")->text(), QStringLiteral("统计报表"));
    EXPECT_EQ(w.findChildren<shell::PictureButton*>().size(), 10);
}

TEST(Frmmain, ButtonGroupFollowsTheResizeRule)
{
    Fixture f;
    Frmmain w(f.dm);
    ASSERT_TRUE(w.FormCreate());
    w.show();
    auto* user = w.pictureButton("PNG_User");
    auto* report = w.pictureButton("PNG_Report");
    auto* label = w.findChild<QLabel*>("S_Report");
    const QPoint reportOffset = report->pos() - user->pos();
    const QPoint labelOffset = label->pos() - user->pos();

    w.resize(1000, 700);
    QApplication::processEvents();
    const QSize outer = w.frameGeometry().size();
    EXPECT_EQ(user->pos(), QPoint((outer.width() - 647) / 2, (outer.height() - 455) / 2));
    EXPECT_EQ(report->pos() - user->pos(), reportOffset) << "the group keeps its shape";
    EXPECT_EQ(label->pos() - user->pos(), labelOffset);

    const QPoint before = user->pos();
    w.resize(900, 455 - (outer.height() - 700));   // outer height exactly 455
    QApplication::processEvents();
    ASSERT_EQ(w.frameGeometry().height(), 455);
    EXPECT_EQ(user->pos().y(), before.y());
    EXPECT_EQ(user->pos().x(), (w.frameGeometry().width() - 647) / 2);

    const QPoint at = user->pos();
    w.resize(646 - (outer.width() - 1000), 600);    // outer width exactly 646
    QApplication::processEvents();
    ASSERT_EQ(w.frameGeometry().width(), 646);
    EXPECT_EQ(user->pos().x(), at.x());
}

TEST(Frmmain, PictureButtonsCheckTheirRight)
{
    Fixture f;
    Frmmain w(f.dm);
    QList<int> asked;
    bool granted = false;
    ui::OperatorSeams seams;
    seams.hasRight = [&](int p) { asked << p; return granted; };
    w.setOperatorSeams(seams);
    int opened = 0;
    w.registerScreen("K1", [&](QWidget* parent) { EXPECT_EQ(parent, &w); ++opened; });
    ASSERT_TRUE(w.FormCreate());
    EXPECT_TRUE(w.findChild<QAction*>("K1")->isEnabled());
    w.show();

    w.pictureButton("PNG_Report")->click();
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(asked, QList<int>{8});
    ASSERT_EQ(f.messages.size(), 1);
    EXPECT_EQ(f.messages[0].kind, MessageKind::Notice);
    EXPECT_EQ(f.messages[0].text, QStringLiteral("您没有该功能的使用权限，请与管理员联系！"));
    granted = true;
    w.pictureButton("PNG_Report")->click();
    EXPECT_EQ(opened, 1);
    w.findChild<QAction*>("K1")->trigger();
    EXPECT_EQ(opened, 2);
    w.pictureButton("PNG_ShrinkData")->click();   // a screen of a later module: nothing happens
    EXPECT_EQ(asked.size(), 2) << "compaction checks no right";
}

TEST(Frmmain, BadDatabaseGivesLinkDBErrorAndTheProgramRunsOn)
{
    struct Case { const char* what; std::function<void(const Fixture&)> make; };
    const Case cases[] = {
        {"garbage file", [](const Fixture& f) { f.writeFile("Rud2003.db", QByteArray(4096, 'x')); }},
        {"damaged database", [](const Fixture& f) {
             QByteArray b("SQLite format 3\0", 16);
             b += QByteArray(2000, '\xff');
             f.writeFile("Rud2003.db", b); }},
        {"a folder in its place", [](const Fixture& f) { QDir(f.folder()).mkdir("Rud2003.db"); }},
        {"missing folder", [](const Fixture& f) {
             f.writeConfig("[SYSCONTROL]\nDBConnection=Provider=SQLite;Data Source=" +
                           f.folder().toUtf8() + "no/such/dir/x.db\n"); }},
    };
    for (const Case& c : cases) {
        Fixture f;
        c.make(f);
        Frmmain w(f.dm);
        int logins = 0, bootstraps = 0;
        ui::OperatorSeams seams;
        seams.bootstrap = [&] { ++bootstraps; };
        seams.login = [&](QWidget*) { ++logins; return true; };
        w.setOperatorSeams(seams);
        ASSERT_TRUE(w.FormCreate()) << c.what;
        EXPECT_FALSE(w.isConnected()) << c.what;
        ASSERT_EQ(f.messages.size(), 1) << c.what;
        EXPECT_EQ(f.messages[0].kind, MessageKind::Warning);
        EXPECT_EQ(f.messages[0].text, kLinkDBError);
        EXPECT_EQ(logins + bootstraps, 0) << "no login without a database: " << c.what;
        EXPECT_TRUE(w.findChild<QAction*>("L1")->isEnabled());
        w.show();
        EXPECT_TRUE(w.isVisible());
    }
}

TEST(Frmmain, ConnectionChangeReconnectsWithoutLogin)
{
    Fixture f;
    Frmmain w(f.dm);
    int logins = 0, rights = 0, loads = 0;
    ui::OperatorSeams seams;
    seams.login = [&](QWidget*) { ++logins; return true; };
    seams.applyMenuRights = [&](QWidget*) { ++rights; };
    w.setOperatorSeams(seams);
    w.setParameterLoader([&] { ++loads; });
    QStringList logged;
    w.setConnectionChangeLogger([&](const QString& path) { logged << path; });
    ASSERT_TRUE(w.FormCreate());
    EXPECT_EQ(logins, 1);
    EXPECT_EQ(rights, 1);
    EXPECT_EQ(loads, 1);

    w.changeConnection(w.connectionString());   // unchanged: nothing at all
    EXPECT_FALSE(QFile::exists(config::configFilePath(f.folder())));

    const QString other = "Provider=SQLite;Data Source=" + f.folder() + "Other's 100% \"db\".db";
    w.changeConnection(other);
    EXPECT_TRUE(w.isConnected());
    EXPECT_TRUE(QFile::exists(f.folder() + "Other's 100% \"db\".db"));
    EXPECT_EQ(config::readSysConfig(f.folder()).dbConnection, other);
    EXPECT_EQ(logged, QStringList{f.folder() + "Other's 100% \"db\".db"});
    EXPECT_EQ(logins, 1) << "a new connection shows no login";
    EXPECT_EQ(rights, 2);
    EXPECT_EQ(loads, 2);

    f.writeFile("bad.db", QByteArray(100, 'z'));
    w.changeConnection("Provider=SQLite;Data Source=" + f.folder() + "bad.db");
    EXPECT_FALSE(w.isConnected());
    EXPECT_TRUE(f.saw(kLinkDBError));
    EXPECT_EQ(loads, 2);
}

TEST(Frmmain, ViewMenuConnDevHidesTheTerminalItem)
{
    Fixture f;
    f.writeConfig("[SYSCONTROL]\nViewMenuConnDev=0\n");
    Frmmain w(f.dm);
    ASSERT_TRUE(w.FormCreate());
    EXPECT_FALSE(w.findChild<QAction*>("L4")->isVisible());
}

TEST(Frmmain, ShutdownAsksAndWritesTheSelectionOnlyThen)
{
    Fixture f;
    f.writeConfig("[SYSCONTROL]\nLanguage=1\n[OPTIONS]\nSelected_User=3\nSelected_FromDate=2024-01-01\n");
    {
        auto w = std::make_unique<Frmmain>(f.dm);
        ASSERT_TRUE(w->FormCreate());
        EXPECT_EQ(config::selinfo().userIndex, 3);
        EXPECT_EQ(config::selinfo().fromDate, QDate(2024, 1, 1));
        w->show();
        f.answer = false;
        w->close();
        EXPECT_TRUE(w->isVisible()) << "Cancel keeps the program running";
        EXPECT_TRUE(f.saw(QStringLiteral("确定要退出考勤管理系统吗？   ")));
        f.answer = true;
        config::selinfo().dept = QStringLiteral("生产部");
        config::selinfo().endDate = QDate(2024, 1, 31);
        w->pictureButton("PNG_Close")->click();
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(IniFile(config::configFilePath(f.folder())).value("OPTIONS", "Selected_Dept"), "")
            << "written on destruction, not before";
    }
    const IniFile ini(config::configFilePath(f.folder()));
    EXPECT_EQ(ini.value("OPTIONS", "Selected_Dept"), QStringLiteral("生产部"));
    EXPECT_EQ(ini.value("OPTIONS", "Selected_EndDate"), "2024-01-31");
    EXPECT_EQ(ini.value("OPTIONS", "Selected_User"), "3");
    EXPECT_EQ(ini.value("SYSCONTROL", "Language"), "1");
}

TEST(Frmmain, CancelledLoginEndsWithoutWritingTheSelection)
{
    Fixture f;
    {
        Frmmain w(f.dm);
        ui::OperatorSeams seams;
        seams.login = [](QWidget*) { return false; };
        w.setOperatorSeams(seams);
        EXPECT_FALSE(w.FormCreate());
    }
    EXPECT_FALSE(QFile::exists(config::configFilePath(f.folder())));
}

TEST(FrmAbout, PictureBoxClosesOnClick)
{
    Fixture f;
    texts::configure(f.folder(), 1);
    shell::TFrmAbout about;
    about.show();
    EXPECT_EQ(about.size(), QSize(400, 215));
    auto* picture = about.findChild<QLabel*>("Image1");
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(picture, &release);
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

TEST(Frmmain, PictureFilesReplaceTheBuiltInOnes)
{
    Fixture f;
    QDir(f.folder()).mkpath("pngbmp");
    QImage red(80, 79, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(f.folder() + "pngbmp/PNG_User2.png"));
    QImage main(64, 48, QImage::Format_RGB32);
    main.fill(Qt::blue);
    ASSERT_TRUE(main.save(f.folder() + "main.jpg"));
    Frmmain w(f.dm);
    ASSERT_TRUE(w.FormCreate());
    const QImage builtInHot = w.pictureButton("PNG_User")->picture(2).toImage();
    w.show();
    EXPECT_EQ(w.pictureButton("PNG_User")->picture(2).toImage().pixelColor(40, 40), QColor(Qt::red));
    EXPECT_NE(builtInHot.pixelColor(40, 40), QColor(Qt::red));
    EXPECT_FALSE(w.pictureButton("PNG_User")->picture(1).isNull()) << "a missing file keeps the built-in picture";
    auto* image = w.findChild<QLabel*>("Image1");
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->isVisible());
    EXPECT_EQ(image->size(), w.centralWidget()->size()) << "main.jpg is stretched over the window";
}
