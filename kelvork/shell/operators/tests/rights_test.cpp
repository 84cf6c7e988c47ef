#include "message_box.h"
#include "rights.h"
#include "texts.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kelvork;
using namespace kelvork::operators;

TEST(Rights, DepartmentRightsAndThePermittedList)
{
    EXPECT_TRUE(deptPermitted("A1ZA11Z", 1));
    EXPECT_TRUE(deptPermitted("A1ZA11Z", 11));
    EXPECT_FALSE(deptPermitted("A1ZA11Z", 2));
    EXPECT_FALSE(deptPermitted("A1ZA11Z", 111));
    EXPECT_EQ(deptRightsOf({1, 3, 12}), "A1ZA3ZA12Z");

    const struct { const char* rights; const char* list; } cases[] = {
        {"A1ZA11Z", "1,11"}, {"A1ZA3ZA12Z", "1,3,12"}, {"", "-1"}, {"   ", "-1"},
        {" A7Z ", "7"}, {"A5ZA6", "5"},          // an unfinished entry is not a department
        {"A1ZAxZA2Z", "1,2"},                     // a damaged entry never reaches the SQL text
        {"A1) or (1=1Z", "-1"}, {"ZA4Z", "4"}};
    for (const auto& c : cases)
        EXPECT_EQ(permittedDeptList(c.rights), c.list) << '"' << c.rights << '"';

    TCZY record;
    record.setDeptRights("A2ZA20Z");
    EXPECT_EQ(record.deptList, "2,20");
}

TEST(Rights, PositionsBeyondTheStringAreGranted)
{
    const QString sixteen = "YNYYYYYYYYYYYYYN";
    EXPECT_TRUE(rightGranted(sixteen, 1));
    EXPECT_FALSE(rightGranted(sixteen, 2));
    EXPECT_FALSE(rightGranted(sixteen, 16));
    for (int p = 17; p <= 32; ++p)
        EXPECT_TRUE(rightGranted(sixteen, p)) << p;
    EXPECT_TRUE(rightGranted("", 5));
}

TEST(Rights, MenuEnablingFollowsTheLoggedInRights)
{
    QMainWindow window;
    QMenu* menu = window.menuBar()->addMenu("S1");
    QStringList all;
    for (int p = 1; p <= 16; ++p)
        all << menuItemsOfRight(p);
    ASSERT_EQ(all.size(), 19);
    for (const QString& name : all)
        menu->addAction(name)->setObjectName(name);
    auto* password = menu->addAction("B1");  // no right needed: never touched
    password->setObjectName("B1");
    password->setEnabled(false);
    auto item = [&](const char* name) { return window.findChild<QAction*>(name); };

    CZY() = {};
    item("K1")->setEnabled(false);
    applyMenuRights(&window);  // nobody logged in: nothing changes
    EXPECT_FALSE(item("K1")->isEnabled());

    CZY().loggedIn = true;
    CZY().rights = "NYYYYYNYYYNYYYYY";  // 16 characters: 1, 7 and 11 refused
    applyMenuRights(&window);
    for (const char* refused : {"G1", "N11", "R2", "L2", "W1", "T1"})
        EXPECT_FALSE(item(refused)->isEnabled()) << refused;
    for (const char* granted : {"C1", "M1", "G2", "K1", "J1", "X2"})
        EXPECT_TRUE(item(granted)->isEnabled()) << granted;
    EXPECT_FALSE(password->isEnabled());

    CZY().rights = kAllRights;
    applyMenuRights(&window);
    EXPECT_TRUE(item("G1")->isEnabled());
}

TEST(Rights, RefusedButtonShowsNoRight)
{
    QTemporaryDir dir;
    texts::configure(dir.path(), 1);
    QStringList shown;
    ui::ScopedMessageBoxHook hook([&](ui::MessageKind kind, const QString&, const QString& text) {
        EXPECT_EQ(kind, ui::MessageKind::Notice);
        shown << text;
        return true;
    });
    CZY() = {};
    EXPECT_TRUE(checkRight(nullptr, 4));  // no login: the program runs with every right
    CZY().loggedIn = true;
    CZY().rights = "YYYNYYYYYYYYYYYY";
    EXPECT_FALSE(checkRight(nullptr, 4));
    EXPECT_TRUE(checkRight(nullptr, 5));
    EXPECT_TRUE(checkRight(nullptr, 20));
    EXPECT_EQ(shown, QStringList{"您没有该功能的使用权限，请与管理员联系！"});
    CZY() = {};
}
