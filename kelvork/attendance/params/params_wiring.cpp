#include "params_wiring.h"

#include "data_module.h"
#include "frm_set.h"
#include "frmmain.h"
#include "message_box.h"
#include "parameter_store.h"
#include "texts.h"
#include "unit_texts.h"

namespace kelvork::params {

void wire(shell::Frmmain& frmmain, TDM& dm)
{
    frmmain.setParameterLoader([&dm] {
        programParameters().syshint = readUnitTexts();
        const QString company = texts::resource(QStringLiteral("Company"), QStringLiteral("总公司"));
        if (DbStatus st = loadAtStart(dm.db(), company, programParameters()); !st.ok())
            ui::showWarning(nullptr, st.message());
    });
    frmmain.registerScreen(QStringLiteral("C1"), [&dm](QWidget* parent) {
        TFrmSet screen(dm.db(), programParameters(), parent);
        screen.exec();
    });
}

} // namespace kelvork::params
