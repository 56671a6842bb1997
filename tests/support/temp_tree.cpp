#include "support/temp_tree.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

TempTree::TempTree()
{
    std::string pattern = (fs::temp_directory_path() / "tarnwick-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
}

TempTree::~TempTree()
{
    std::error_code ec;
    // Tests may leave read-only directories behind; make them writable first.
    for (auto it = fs::recursive_directory_iterator(root_, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
}

std::string TempTree::Path(std::string_view relative) const
{
    return root_ + "/" + std::string(relative);
}

std::string TempTree::Write(std::string_view relative, std::string_view bytes) const
{
    const std::string path = Path(relative);
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string TempTree::MakeDir(std::string_view relative) const
{
    const std::string path = Path(relative);
    fs::create_directories(path);
    return path;
}

std::string TempTree::Read(std::string_view relative) const
{
    std::ifstream in(Path(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ScopedSettingsFile::ScopedSettingsFile(std::string_view initial_contents)
{
    path_ = tree_.Path("TARNWICK.INI");
    if (!initial_contents.empty()) tree_.Write("TARNWICK.INI", initial_contents);
    if (const char* prev = std::getenv("TARNWICK_INI")) {
        previous_ = prev;
        had_previous_ = true;
    }
    ::setenv("TARNWICK_INI", path_.c_str(), 1);
}

ScopedSettingsFile::~ScopedSettingsFile()
{
    if (had_previous_)
        ::setenv("TARNWICK_INI", previous_.c_str(), 1);
    else
        ::unsetenv("TARNWICK_INI");
}

std::string ScopedSettingsFile::Contents() const
{
    return tree_.Read("TARNWICK.INI");
}

ScopedStateHome::ScopedStateHome(const std::string& dir)
{
    if (const char* old = std::getenv("XDG_STATE_HOME")) {
        previous_ = old;
        had_previous_ = true;
    }
    ::setenv("XDG_STATE_HOME", dir.c_str(), 1);
}

ScopedStateHome::~ScopedStateHome()
{
    if (had_previous_)
        ::setenv("XDG_STATE_HOME", previous_.c_str(), 1);
    else
        ::unsetenv("XDG_STATE_HOME");
}
