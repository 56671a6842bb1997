#pragma once
// The filter of a results list: the rows whose path or line text holds a
// text, ASCII letters of either case. A path is tested once for all the
// rows of its file. The line texts are read from the files the first time
// a filter needs them and kept, one after the other, until the filter is
// cleared, so that each key typed costs one pass over them.

#include "search/result_store.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ResultFilter {
public:
    // Forgets the texts read (a new run, or no filter any more).
    void Clear();
    // The rows from `from` on that pass, ascending.
    std::vector<std::uint32_t> Rows(const ResultStore& store, std::string_view text, std::size_t from = 0);

    // Reads the texts of the rows not read yet, ahead of the first key.
    void ReadTexts(const ResultStore& store);

    std::size_t BytesHeld() const { return texts_.capacity() + starts_.capacity() * sizeof(starts_[0]); }

private:
    // The rows' texts, each followed by a line feed; row i's starts at
    // starts_[i].
    std::string texts_;
    std::vector<std::size_t> starts_;
};
