#include "docs/alloc_gate.h"

namespace docs {
namespace {

struct Gate {
    AllocSite site = AllocSite::kEdit;
    long skip = 0;
};

Gate g_gate;

} // namespace

namespace detail {

bool g_gate_armed = false;

bool ConsultGate(AllocSite site)
{
    if (g_gate.site != site) return true;
    if (g_gate.skip > 0) {
        --g_gate.skip;
        return true;
    }
    return false;
}

} // namespace detail

ScopedAllocationFailure::ScopedAllocationFailure(AllocSite site, long skip)
{
    g_gate = Gate{site, skip};
    detail::g_gate_armed = true;
}

ScopedAllocationFailure::~ScopedAllocationFailure()
{
    detail::g_gate_armed = false;
    g_gate = Gate{};
}

} // namespace docs
