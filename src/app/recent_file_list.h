#pragma once
// The recent-file list: at most eight paths, the most recent first. Paths
// keep their case and compare exactly (file names here are case-sensitive).

#include <array>
#include <string>
#include <string_view>

class RecentFileList {
public:
    static constexpr int kMaxEntries = 8;

    // Puts `path` at position 0: an entry equal to it moves up, a new one
    // pushes the others down and the oldest drops out of a full list. An
    // empty path changes nothing; returns false then.
    bool Add(std::string_view path);

    int Count() const { return count_; }
    const std::string& At(int position) const { return entries_[position]; }

private:
    std::array<std::string, kMaxEntries> entries_;
    int count_ = 0;
};
