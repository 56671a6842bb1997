#include "base/full_path.h"

#include <filesystem>

std::string FullPath(const std::string& path, const std::string& current_directory)
{
    if (path.empty()) return path;
    return (std::filesystem::path(current_directory) / path).lexically_normal().string();
}

std::string FullPath(const std::string& path)
{
    if (path.empty()) return path;
    if (std::filesystem::path(path).is_absolute()) return FullPath(path, "/");
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return error ? path : FullPath(path, current.string());
}
