#pragma once
// The one place where the operator screens hand an entry to the operation log (OPLog). The log
// writer belongs to the operation-log module, which installs itself here at start; until it does,
// entries go nowhere. The text is final: already looked up and completed by the caller.

#include <QString>

#include <functional>

namespace kelvork::operators {

using OperationLogWriter = std::function<void(const QString& text)>;

// Installs the writer (an empty function removes it); returns the one it replaced.
OperationLogWriter setOperationLogWriter(OperationLogWriter writer);

// Hands `text` to the installed writer (nothing happens while none is installed).
void writeOperationLog(const QString& text);

} // namespace kelvork::operators
