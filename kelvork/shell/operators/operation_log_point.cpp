#include "operation_log_point.h"

#include <utility>

namespace kelvork::operators {

namespace {
OperationLogWriter& installed()
{
    static OperationLogWriter writer;
    return writer;
}
} // namespace

OperationLogWriter setOperationLogWriter(OperationLogWriter writer)
{
    return std::exchange(installed(), std::move(writer));
}

void writeOperationLog(const QString& text)
{
    if (installed())
        installed()(text);
}

} // namespace kelvork::operators
