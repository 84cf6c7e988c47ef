#pragma once
// Puts the attendance parameters into the running program: the load at start (and after a new
// connection) into programParameters(), with the unit texts, and the parameter screen on menu C1.

namespace kelvork {
class TDM;
namespace shell {
class Frmmain;
}
} // namespace kelvork

namespace kelvork::params {

// Call before frmmain.FormCreate(); `dm` and `frmmain` must outlive the run. A load that fails is
// reported in a warning box and leaves the records as they were.
void wire(shell::Frmmain& frmmain, TDM& dm);

} // namespace kelvork::params
