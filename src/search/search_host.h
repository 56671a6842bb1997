#pragma once
// What a directory run (grep or line count) needs of the window or tool
// that shows it. The run calls these on its own thread, in run order.

#include "search/result_line.h"

#include <string_view>

class SearchHost {
public:
    virtual ~SearchHost() = default;

    // Empty the results list.
    virtual void ClearResults() = 0;
    // Add one result at the end of the list: a matching line of a grep
    // run, the count of one file of a line count run.
    virtual void AppendHit(const GrepHit& hit) = 0;
    virtual void AppendCount(const CountResult& count) = 0;
    // Put a text into the status line.
    virtual void SetStatusText(std::string_view text) = 0;
    // Process every waiting event and return; called after each file and
    // each sub-directory. A Stop button handled here sets the run's `stop`.
    virtual void PumpWaitingEvents() = 0;
};
