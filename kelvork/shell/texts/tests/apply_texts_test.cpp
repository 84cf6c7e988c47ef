#include "apply_texts.h"
#include "texts.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

namespace texts = kelvork::texts;

namespace {

template <class T>
T* named(QWidget* parent, const char* name)
{
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// A screen with one control of every kind the helper knows, each with a built-in text.
struct Screen {
    QDialog dialog;
    QLabel* label;
    QLabel* picture;
    QToolButton* speed;
    QGroupBox* group;
    QLabel* inGroup;
    QComboBox* combo;
    QComboBox* fromDatabase;
    QListWidget* checks;
    QTableView* grid;
    QStandardItemModel model{0, 2};
    QTabWidget* tabs;
    QAction* save;
    QAction* own;
    QMenu* menu;

    Screen()
    {
        dialog.setObjectName("FrmDemo");
        dialog.setWindowTitle("演示");
        label = named<QLabel>(&dialog, "Label1");
        label->setText("姓名:");
        picture = named<QLabel>(&dialog, "Image1");
        picture->setPixmap(QPixmap(4, 4));
        speed = named<QToolButton>(&dialog, "SP_OK");
        speed->setText("确定(&O)");
        group = named<QGroupBox>(&dialog, "G_Attset");
        group->setTitle("考勤");
        inGroup = named<QLabel>(group, "L_kq");
        inGroup->setText("考勤号");
        combo = named<QComboBox>(&dialog, "L_xb");
        combo->addItems({"男", "女"});
        fromDatabase = named<QComboBox>(&dialog, "U_name_cmb");
        fromDatabase->addItems({"Admin", "王五"});
        fromDatabase->setProperty(texts::kNoTextsProperty, true);
        checks = named<QListWidget>(&dialog, "C_limit");
        checks->addItems({"一", "二", "三"});
        grid = named<QTableView>(&dialog, "DB_OP");
        model.setHorizontalHeaderLabels({"姓名", "编号"});
        grid->setModel(&model);
        tabs = named<QTabWidget>(&dialog, "Tabs");
        tabs->addTab(named<QWidget>(nullptr, "Tabsheet1"), "基本");
        save = new QAction("保存(&S)", &dialog);
        save->setObjectName("T_Save");
        own = new QAction("打印", &dialog);
        own->setObjectName("T_Print");
        own->setToolTip("打印列表");
        auto* bar = new QMenuBar(&dialog);
        menu = bar->addMenu("系统(&S)");
        menu->setObjectName("S1");
        menu->addAction(own);
        menu->addAction("关于(&A)...")->setObjectName("A1");  // no tip of its own
    }
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

TEST(ApplyTexts, EveryKindOfControlTakesItsKey)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("Kelvork.en"),
              "[FrmDemo]\n"
              "FrmDemo.Caption=Demo\n"
              "Label1.Caption=Name:\n"
              "Image1.Caption=should not replace the picture\n"
              "SP_OK.Caption=&OK\n"
              "SP_OK.Hint=Log in\n"
              "G_Attset.Caption=Attendance\n"
              "L_kq.Caption=Attendance no.\n"
              "L_xb.Items.Text=Male\\r\\nFemale\\r\\n\n"
              "U_name_cmb.Items.Text=Nobody\n"
              "C_limit.Items.Text=One\\r\\nTwo\n"
              "DB_OPColumn1.Caption=Name\n"
              "Tabsheet1.Caption=Basic\n"
              "T_Save.Caption=wrong section\n"
              "T_Print.Caption=&Print\n"
              "T_Print.Hint=Print the list\n"
              "S1.Caption=&System\n"
              "[FrmUser]\n"
              "T_Save.Caption=&Save\n"
              "[LanguageOptions]\nFontName=DejaVu Sans\nFontSize=11\n");
    texts::configure(dir.path(), 2);
    Screen s;
    texts::applyToScreen(&s.dialog, "FrmDemo");

    EXPECT_EQ(s.dialog.windowTitle(), "Demo");
    EXPECT_EQ(s.dialog.font().family(), "DejaVu Sans");
    EXPECT_EQ(s.dialog.font().pointSize(), 11);
    EXPECT_EQ(s.inGroup->font().family(), "DejaVu Sans");  // children inherit the screen's font
    EXPECT_EQ(s.label->text(), "Name:");
    EXPECT_TRUE(s.picture->text().isEmpty());
    EXPECT_FALSE(s.picture->pixmap().isNull());
    EXPECT_EQ(s.speed->text(), "&OK");
    EXPECT_EQ(s.speed->toolTip(), "Log in");
    EXPECT_EQ(s.group->title(), "Attendance");
    EXPECT_EQ(s.inGroup->text(), "Attendance no.");
    ASSERT_EQ(s.combo->count(), 2);  // the closing line break makes no third item
    EXPECT_EQ(s.combo->itemText(0), "Male");
    EXPECT_EQ(s.combo->itemText(1), "Female");
    EXPECT_EQ(s.fromDatabase->itemText(0), "Admin");
    ASSERT_EQ(s.checks->count(), 3);  // renamed in order, the third keeps its text
    EXPECT_EQ(s.checks->item(0)->text(), "One");
    EXPECT_EQ(s.checks->item(1)->text(), "Two");
    EXPECT_EQ(s.checks->item(2)->text(), "三");
    EXPECT_EQ(s.model.headerData(0, Qt::Horizontal).toString(), "Name");
    EXPECT_EQ(s.model.headerData(1, Qt::Horizontal).toString(), "编号");
    EXPECT_EQ(s.tabs->tabText(0), "Basic");
    EXPECT_EQ(s.save->text(), "&Save");
    EXPECT_EQ(s.own->text(), "&Print");
    EXPECT_EQ(s.own->toolTip(), "Print the list");
    EXPECT_EQ(s.menu->title(), "&System");
}

TEST(ApplyTexts, MissingFileKeepsBuiltInTextsAndRecordsTheKeysWithTheirDefaults)
{
    QTemporaryDir dir;
    texts::configure(dir.path(), 1);
    Screen s;
    s.grid->setProperty(texts::kColumnNamesProperty, QStringList{"DB_OPName", "DB_OPId"});
    texts::KeyRecorder recorder;
    texts::applyToScreen(&s.dialog, "FrmDemo");

    EXPECT_EQ(s.dialog.windowTitle(), "演示");
    EXPECT_EQ(s.label->text(), "姓名:");
    EXPECT_EQ(s.combo->itemText(1), "女");
    EXPECT_EQ(s.save->text(), "保存(&S)");
    EXPECT_EQ(s.own->toolTip(), "打印列表");
    EXPECT_EQ(s.menu->title(), "系统(&S)");

    QStringList withText;
    for (const auto& e : recorder.entries())
        if (!e.defaultText.isEmpty())
            withText << e.section + "/" + e.key + "=" + e.defaultText;
    withText.sort();
    QStringList expected{
        "FrmDemo/A1.Caption=关于(&A)...", "FrmDemo/C_limit.Items.Text=一\n二\n三", "FrmDemo/DB_OPId.Caption=编号",
        "FrmDemo/DB_OPName.Caption=姓名", "FrmDemo/FrmDemo.Caption=演示",
        "FrmDemo/G_Attset.Caption=考勤", "FrmDemo/L_kq.Caption=考勤号", "FrmDemo/L_xb.Items.Text=男\n女",
        "FrmDemo/Label1.Caption=姓名:", "FrmDemo/S1.Caption=系统(&S)", "FrmDemo/SP_OK.Caption=确定(&O)",
        "FrmDemo/T_Print.Caption=打印", "FrmDemo/T_Print.Hint=打印列表",
        "FrmDemo/Tabsheet1.Caption=基本", "FrmUser/T_Save.Caption=保存(&S)"};
    expected.sort();
    EXPECT_EQ(withText, expected);  // the picture and the database-filled list are not asked for
}
