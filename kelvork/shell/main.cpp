// The program entry of Kelvork: one copy per user, the data module, the main window and its
// start-up, then the event loop until the main window closes.
#include "data_module.h"
#include "frmmain.h"
#include "single_instance.h"
#include "sys_config.h"

#include <QApplication>
#include <QDir>

#if __has_include("operator_seams_impl.h")
#include "operation_log_point.h"
#include "operator_seams_impl.h"
#include "texts.h"
#define KELVORK_HAVE_OPERATORS 1
#endif
#if __has_include("oplog_wiring.h")
#include "oplog_wiring.h"
#define KELVORK_HAVE_OPLOG 1
#endif
#if __has_include("params_wiring.h")
#include "params_wiring.h"
#define KELVORK_HAVE_PARAMS 1
#endif

int main(int argc, char** argv)
{
    // Before anything appears: a second copy ends silently.
    kelvork::shell::SingleInstanceLock lock;
    if (!lock.acquired())
        return 0;

    QApplication app(argc, argv);
    const QString folder = kelvork::config::resolveProgramFolder(
        app.arguments(), qEnvironmentVariable("KELVORK_HOME"), QCoreApplication::applicationDirPath());
    QDir().mkpath(folder);
    kelvork::config::setProgramFolder(folder);

    kelvork::TDM& dm = kelvork::DM();
    int rc = 0;
    {
        kelvork::shell::Frmmain frmmain(dm);
#ifdef KELVORK_HAVE_OPERATORS
        frmmain.setOperatorSeams(kelvork::operators::makeOperatorSeams(
            dm, kelvork::config::readSysConfig(folder).loginType));
        // The entry goes into the database being left, before the reconnect.
        frmmain.setConnectionChangeLogger([](const QString& newPath) {
            kelvork::operators::writeOperationLog(
                kelvork::texts::resource("WriteOPLog1", "将数据库连接到：") + newPath);
        });
#endif
#ifdef KELVORK_HAVE_OPLOG
        // The operators' entries, the connection change's entry, the viewer on N11.
        kelvork::oplog::wire(frmmain, dm);
#endif
#ifdef KELVORK_HAVE_PARAMS
        // The attendance parameters at start and after a new connection, the screen on C1.
        kelvork::params::wire(frmmain, dm);
#endif
        if (frmmain.FormCreate()) {
            frmmain.show();
            rc = app.exec();
        }
    }
    dm.close();
    return rc;
}
