#pragma once
// The unit texts of the statistics (TSyshint) from section "Resource" of the language file.

#include "parameters.h"

namespace kelvork::params {

// Hour "小时", Minute "分钟", Day "工作日", Times "次".
engine::TSyshint readUnitTexts();

} // namespace kelvork::params
