#pragma once
// Puts the operation log into the running program: the writer behind the operator screens'
// entries (WriteOPLog3/4), the connection dialog's entry (WriteOPLog1) and the viewer on menu N11.

namespace kelvork {
class TDM;
namespace shell {
class Frmmain;
}
} // namespace kelvork

namespace kelvork::oplog {

// Call before frmmain.FormCreate(); `dm` and `frmmain` must outlive the run. A database error
// while writing an entry is shown in a warning box (the action itself has already happened).
void wire(shell::Frmmain& frmmain, TDM& dm);

} // namespace kelvork::oplog
