#include "search/search_path_rule.h"

#include <sys/stat.h>

std::string SearchPathFromFile(std::string_view chosen)
{
    const auto slash = chosen.rfind('/');
    const std::size_t name_start = slash == std::string_view::npos ? 0 : slash + 1;
    const auto dot = chosen.find('.', name_start);
    const std::string extension = dot == std::string_view::npos ? std::string(".*") : std::string(chosen.substr(dot));
    if (slash == std::string_view::npos) return "*" + extension;
    return std::string(chosen.substr(0, slash)) + "/*" + extension;
}

std::string SearchPathArgument(std::string_view typed)
{
    std::string path(typed);
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return path;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path != "/") path += '/';
    return path + "*.*";
}
