#include "operator_seams_impl.h"

#include "frm_login.h"
#include "frm_op.h"
#include "frm_pass.h"
#include "login.h"
#include "operator_store.h"
#include "rights.h"

#include <QtGlobal>

#include <cstdio>

namespace kelvork::operators {

ui::OperatorSeams makeOperatorSeams(TDM& dm, const QString& loginType)
{
    ui::OperatorSeams seams;
    seams.bootstrap = [&dm] {
        if (DbStatus status = bootstrapAdmin(dm.db()); !status.ok())
            std::fprintf(stderr, "kelvork: the built-in operator Admin could not be set up: %s\n",
                         qPrintable(status.message()));
    };
    seams.login = [&dm, loginType](QWidget*) {
        if (qEnvironmentVariableIsSet("KELVORK_AUTOLOGIN")) {
            QString why;
            const bool ok = loginWithoutDialog(dm.db(), qEnvironmentVariable("KELVORK_AUTOLOGIN"),
                                               qEnvironmentVariable("KELVORK_AUTOLOGIN_PASSWORD"),
                                               loginType, &why);
            if (!ok)
                std::fprintf(stderr, "kelvork: KELVORK_AUTOLOGIN: %s\n", qPrintable(why));
            return ok;
        }
        TFrmLogin dialog(dm.db(), loginType);
        dialog.exec();
        return dialog.loggedIn();
    };
    seams.applyMenuRights = [](QWidget* mainWindow) { applyMenuRights(mainWindow); };
    seams.hasRight = [](int position) { return hasRight(position); };
    seams.operatorName = [] { return CZY().name; };
    seams.openOperators = [&dm](QWidget* mainWindow) {
        TFrmop screen(dm, mainWindow);
        QObject::connect(&screen, &TFrmop::loggedInOperatorChanged, mainWindow,
                         [mainWindow] { applyMenuRights(mainWindow); });
        screen.exec();
    };
    seams.openPassword = [&dm](QWidget* mainWindow) {
        TFrmPass dialog(dm.db(), mainWindow);
        dialog.exec();
    };
    return seams;
}

} // namespace kelvork::operators
