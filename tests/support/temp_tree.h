#pragma once
// A temporary directory for one test, removed with everything in it when
// the test ends. Files are written byte for byte.

#include <string>
#include <string_view>

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& root() const { return root_; }
    // root + "/" + relative
    std::string Path(std::string_view relative) const;
    // Writes a file (making its directories); returns its full path.
    std::string Write(std::string_view relative, std::string_view bytes) const;
    std::string MakeDir(std::string_view relative) const;
    std::string Read(std::string_view relative) const;

private:
    std::string root_;
};

// Points TARNWICK_INI at a settings file inside a temporary tree for the
// lifetime of the object, and restores the previous value afterwards.
class ScopedSettingsFile {
public:
    explicit ScopedSettingsFile(std::string_view initial_contents = {});
    ~ScopedSettingsFile();
    const std::string& path() const { return path_; }
    std::string Contents() const;

private:
    TempTree tree_;
    std::string path_;
    std::string previous_;
    bool had_previous_ = false;
};

// Points XDG_STATE_HOME (the program's private state) at `dir` for the
// lifetime of the object, and restores the previous value afterwards.
class ScopedStateHome {
public:
    explicit ScopedStateHome(const std::string& dir);
    ~ScopedStateHome();
    ScopedStateHome(const ScopedStateHome&) = delete;
    ScopedStateHome& operator=(const ScopedStateHome&) = delete;

private:
    std::string previous_;
    bool had_previous_ = false;
};
