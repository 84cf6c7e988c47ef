// Grid column layouts: a column is visible unless its stored value is exactly "0"; the toggle
// flips the check mark and the column together.
#include "column_visibility.h"

#include <QAction>
#include <QSettings>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kelvork::ui;

TEST(ColumnVisibility, StoredZeroHidesEverythingElseShows)
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    EXPECT_EQ(gridLayoutKey("Software\\QueltFingerPrint\\UserInfo\\Columns\\DB_UserColumn1"),
              "UserInfo/Columns/DB_UserColumn1");
    EXPECT_EQ(gridLayoutKey("\\Software\\QueltFingerPrint\\SelRecord\\Columns\\C"), "SelRecord/Columns/C");
    const QString path = columnRegistryPath("UserInfo", "DB_UserColumn7");
    EXPECT_EQ(path, "Software\\QueltFingerPrint\\UserInfo\\Columns\\DB_UserColumn7");
    QSettings& s = gridLayoutSettings();
    s.remove("UserInfo");
    EXPECT_TRUE(columnVisible(path)) << "a missing value counts as visible";
    struct Case { const char* stored; bool visible; };
    for (const Case& c : {Case{"0", false}, Case{"1", true}, Case{"", true}, Case{"00", true}, Case{"False", true}}) {
        s.setValue("UserInfo/Columns/DB_UserColumn7/Visible", QString::fromLatin1(c.stored));
        EXPECT_EQ(columnVisible(path), c.visible) << c.stored;
    }
    setColumnVisible(path, false);
    EXPECT_FALSE(columnVisible(path));
    s.remove("UserInfo");
}

TEST(ColumnVisibility, ToggleFlipsItemAndColumn)
{
    QStandardItemModel model(1, 3);
    QTableView grid;
    grid.setModel(&model);
    QAction item;
    item.setCheckable(true);
    item.setChecked(true);
    toggleColumn(&item, &grid, 1);
    EXPECT_FALSE(item.isChecked());
    EXPECT_TRUE(grid.isColumnHidden(1));
    toggleColumn(&item, &grid, 1);
    EXPECT_TRUE(item.isChecked());
    EXPECT_FALSE(grid.isColumnHidden(1));
    EXPECT_FALSE(grid.isColumnHidden(0));
}
