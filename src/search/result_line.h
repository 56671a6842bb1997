#pragma once
// A line of the Grep and Line Count lists, "path<TAB>number", taken apart
// at its last TAB when a hit is opened: the number holds none, while a file
// name may.

#include <string>
#include <string_view>

// Without a TAB there is no path; a missing or malformed number
// reads as 0.
struct ResultLine {
    bool valid = false;
    std::string path;
    long number = 0;
};
ResultLine ParseResultLine(std::string_view line);
