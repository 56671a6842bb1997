#include "search/result_line.h"

#include <charconv>
#include <cstdlib>

void AppendResultLine(std::string& out, std::string_view path, std::uint64_t number)
{
    out.append(path);
    out += '\t';
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, number);
    out.append(digits, written.ptr);
}

std::string ResultLineText(std::string_view path, std::uint64_t number)
{
    std::string line;
    AppendResultLine(line, path, number);
    return line;
}

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
