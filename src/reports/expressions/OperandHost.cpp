// The object that answers operand requests.
#include "reports/expressions/OperandHost.h"

namespace reports {
namespace {
OperandRequestHandler* host = nullptr;
}

OperandRequestHandler* OperandHost()
{
    return host;
}

void SetOperandHost(OperandRequestHandler* h)
{
    host = h;
}

void ReleaseOperandHost(const OperandRequestHandler* h)
{
    if (host == h)
        host = nullptr;
}

} // namespace reports
