// A server connection: compaction, backup and initialisation leave the menu, and come back when
// the operator connects to a database file again.
#include "data_module.h"
#include "frmmain.h"
#include "message_box.h"
#include "sys_config.h"
#include "test_database.h"

#include <QAction>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kelvork;

TEST(FrmmainServer, ServerConnectionHidesTheFileDatabaseItems)
{
    testdb::TestDatabase server(Engine::PostgreSQL);
    if (!server.available())
        GTEST_SKIP() << server.skipReason().toStdString();
    ASSERT_TRUE(server.ok()) << server.error().toStdString();

    QTemporaryDir home;
    config::setProgramFolder(home.path() + u'/');
    QStringList messages;
    ui::ScopedMessageBoxHook hook([&](ui::MessageKind, const QString&, const QString& t) { messages << t; return true; });
    TDM dm;
    {
        shell::Frmmain w(dm);
        ASSERT_TRUE(w.FormCreate());
        EXPECT_TRUE(w.findChild<QAction*>("Y1")->isVisible());

        w.changeConnection(server.connectionString());
        ASSERT_TRUE(w.isConnected()) << messages.join(' ').toStdString();
        for (const char* name : {"Y1", "B3", "X2"})
            EXPECT_FALSE(w.findChild<QAction*>(name)->isVisible()) << name;
        EXPECT_TRUE(w.findChild<QAction*>("C3")->isVisible());
        EXPECT_EQ(config::readSysConfig(home.path() + u'/').dbConnection, server.connectionString());

        w.changeConnection(config::defaultConnectionString(home.path() + u'/'));
        ASSERT_TRUE(w.isConnected());
        for (const char* name : {"Y1", "B3", "X2"})
            EXPECT_TRUE(w.findChild<QAction*>(name)->isVisible()) << name;
    }
    dm.close();
    EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
}
