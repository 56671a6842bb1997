#include "app/recent_file_list.h"

#include <algorithm>

bool RecentFileList::Add(std::string_view path)
{
    if (path.empty()) return false;
    const auto begin = entries_.begin();
    auto found = std::find(begin, begin + count_, path);
    if (found == begin + count_) {
        if (count_ < kMaxEntries) ++count_;
        found = begin + count_ - 1;  // the slot that is overwritten
    }
    std::rotate(begin, found, found + 1);
    entries_[0] = std::string(path);
    return true;
}
