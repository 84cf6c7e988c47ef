#include "oplog_wiring.h"

#include "data_module.h"
#include "frm_oplog.h"
#include "frmmain.h"
#include "message_box.h"
#include "operation_log.h"
#include "operation_log_point.h"

namespace kelvork::oplog {

namespace {
void writeOrWarn(TDM& dm, const QString& text)
{
    if (DbStatus status = write(dm.db(), text); !status.ok())
        ui::showWarning(nullptr, status.message());
}
} // namespace

void wire(shell::Frmmain& frmmain, TDM& dm)
{
    operators::setOperationLogWriter([&dm](const QString& text) { writeOrWarn(dm, text); });
    // Written before the connection changes, so it goes into the database being left.
    frmmain.setConnectionChangeLogger([&dm](const QString& newPath) { writeOrWarn(dm, WriteOPLog1(newPath)); });
    frmmain.registerScreen(QStringLiteral("N11"), [&dm](QWidget* parent) {
        TFrmOpLog screen(dm.db(), parent);
        screen.exec();
    });
}

} // namespace kelvork::oplog
