// The operation log and the parameters inside the running main window: the start-up load, the
// connection change's entry in the database being left, and the screens on their menu items.
#include "data_module.h"
#include "frmmain.h"
#include "message_box.h"
#include "oplog_wiring.h"
#include "operation_log_point.h"
#include "parameter_store.h"
#include "params_wiring.h"
#include "rights.h"
#include "sys_config.h"
#include "test_database.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kelvork;

namespace {

TEST(Wiring, StartUpLoadsTheParametersAndAConnectionChangeIsLoggedInTheDatabaseLeft)
{
    testdb::TestDatabase first(Engine::SQLite);
    testdb::TestDatabase second(Engine::SQLite);
    ASSERT_TRUE(first.ok() && second.ok());
    QTemporaryDir home;
    {
        QFile pendrix(home.filePath("Pendrix.dat"));
        ASSERT_TRUE(pendrix.open(QIODevice::WriteOnly));
        pendrix.write(("[SYSCONTROL]\nDBConnection=" + first.connectionString() + "\n").toUtf8());
    }
    config::setProgramFolder(home.path() + "/");
    operators::CZY() = {};
    QStringList messages;
    ui::ScopedMessageBoxHook hook([&](ui::MessageKind, const QString&, const QString& text) {
        messages << text;
        return true;
    });

    TDM dm;
    {
        shell::Frmmain frmmain(dm);
        oplog::wire(frmmain, dm);
        params::wire(frmmain, dm);
        ASSERT_TRUE(frmmain.FormCreate());
        EXPECT_TRUE(messages.isEmpty()) << messages.join("; ").toStdString();
        EXPECT_EQ(first.db().scalar("select Company from BasePara").toString(), "总公司");
        EXPECT_EQ(params::programParameters().basePar.Company, "总公司");
        EXPECT_EQ(params::programParameters().syshint.Times, "次");
        for (const char* item : {"C1", "N11"}) {
            auto* a = frmmain.findChild<QAction*>(item);
            ASSERT_NE(a, nullptr) << item;
            EXPECT_TRUE(a->isEnabled()) << item;
        }

        operators::writeOperationLog("增加管理员 Li");   // what the operator screen hands over
        frmmain.changeConnection(second.connectionString());
        EXPECT_TRUE(messages.isEmpty()) << messages.join("; ").toStdString();
    }
    dm.close();
    Query q = first.db().query("select OPid, OPlog from OPLog order by Logid");
    QStringList entries;
    while (q.next()) entries << QString::number(q.integer("OPid")) + " " + q.text("OPlog");
    EXPECT_EQ(entries, QStringList({"0 增加管理员 Li", "0 将数据库连接到：" + second.db().filePath()}));
    EXPECT_EQ(second.db().scalar("select count(*) from OPLog").toInt(), 0);
    EXPECT_EQ(second.db().scalar("select count(*) from Statitems").toInt(), 9);
    operators::setOperationLogWriter({});
}

} // namespace
