#include "search/search_path_rule.h"

std::string SearchPathFromFile(std::string_view chosen)
{
    const auto slash = chosen.rfind('/');
    const std::size_t name_start = slash == std::string_view::npos ? 0 : slash + 1;
    const auto dot = chosen.find('.', name_start);
    const std::string extension = dot == std::string_view::npos ? std::string(".*") : std::string(chosen.substr(dot));
    if (slash == std::string_view::npos) return "*" + extension;
    return std::string(chosen.substr(0, slash)) + "/*" + extension;
}

