#pragma once
// Every allocation the documents and the undo list make asks this gate
// first, so that tests can make a chosen allocation fail and check that the
// right error code comes back and nothing was changed. Real allocation
// failures (std::bad_alloc) are handled exactly like a refusal here.

namespace docs {

enum class AllocSite {
    kLineTable,   // the line table of a load, a hex document's bytes
    kLineObject,  // one line made during a load
    kLineText,    // the text storage of a load
    kEdit,        // anything an editing operation allocates
    kUndoText,    // the copy of a text pushed on the undo list
};

namespace detail {
extern bool g_gate_armed;
bool ConsultGate(AllocSite site);
} // namespace detail

// True when an allocation at `site` may go ahead. Cheap when nothing is armed.
inline bool AllocationAllowed(AllocSite site)
{
    return !detail::g_gate_armed || detail::ConsultGate(site);
}

// Whether some allocation may be refused: a loop that asks for every item
// can ask only while this holds.
inline bool AnyAllocationGated()
{
    return detail::g_gate_armed;
}

// While it lives, allocations at `site` fail from the (skip + 1)-th on.
// One at a time; the documents run on one thread.
class ScopedAllocationFailure {
public:
    explicit ScopedAllocationFailure(AllocSite site, long skip = 0);
    ~ScopedAllocationFailure();
    ScopedAllocationFailure(const ScopedAllocationFailure&) = delete;
    ScopedAllocationFailure& operator=(const ScopedAllocationFailure&) = delete;
};

} // namespace docs
