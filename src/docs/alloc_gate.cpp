#include "docs/alloc_gate.h"

namespace docs {
namespace {

struct Gate {
    bool armed = false;
    AllocSite site = AllocSite::kEdit;
    long skip = 0;
};

Gate g_gate;

} // namespace

bool AllocationAllowed(AllocSite site)
{
    if (!g_gate.armed || g_gate.site != site) return true;
    if (g_gate.skip > 0) {
        --g_gate.skip;
        return true;
    }
    return false;
}

ScopedAllocationFailure::ScopedAllocationFailure(AllocSite site, long skip)
{
    g_gate = Gate{true, site, skip};
}

ScopedAllocationFailure::~ScopedAllocationFailure()
{
    g_gate = Gate{};
}

} // namespace docs
