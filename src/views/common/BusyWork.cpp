#include "BusyWork.h"

namespace tessary {

namespace {
int g_busyDepth = 0; // UI thread only
}

bool IsBusy()
{
    return g_busyDepth > 0;
}

namespace detail {

void EnterBusy()
{
    ++g_busyDepth;
}

void LeaveBusy()
{
    --g_busyDepth;
}

} // namespace detail

} // namespace tessary
