#pragma once
// The operators module as the main window sees it: fills the seams of ui/operator_seams.h.

#include "data_module.h"
#include "operator_seams.h"

#include <QString>

namespace kelvork::operators {

// The seams over `dm` (which must outlive them) and the LoginType of Pendrix.dat:
// - bootstrap: the built-in operator Admin (errors are reported on standard error; start goes on);
// - login: the login dialog; with the environment value KELVORK_AUTOLOGIN set, that operator is
//   logged in without a dialog, with the password of KELVORK_AUTOLOGIN_PASSWORD (empty when unset)
//   checked as the dialog would (demonstrations and screenshots);
// - applyMenuRights, hasRight, operatorName: the logged-in operator's rights and name;
// - openOperators (G1): Frmop, which applies the menu rights again when the operator edits himself;
//   the caller shows operatorName() again afterwards;
// - openPassword (B1): FrmPass.
ui::OperatorSeams makeOperatorSeams(TDM& dm, const QString& loginType);

} // namespace kelvork::operators
