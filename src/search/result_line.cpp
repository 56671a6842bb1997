#include "search/result_line.h"

#include <cstdlib>

ResultLine ParseResultLine(std::string_view line)
{
    ResultLine r;
    const auto tab = line.rfind('\t');
    if (tab == std::string_view::npos) return r;
    r.valid = true;
    r.path = std::string(line.substr(0, tab));
    const std::string digits(line.substr(tab + 1));
    r.number = std::strtol(digits.c_str(), nullptr, 10);
    return r;
}
