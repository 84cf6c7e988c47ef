#include "calc_input.h"

namespace kelvork::engine {

Moment PunchLoadFrom(DayNumber s) { return MomentOf(s - 1, 0); }

Moment PunchLoadTo(DayNumber e) { return MomentOf(e + 1, static_cast<int>(kSecondsPerDay) - 1); }

}  // namespace kelvork::engine
