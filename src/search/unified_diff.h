#pragma once
// The change a replacement makes to one file as a unified diff (three
// lines of context) that `patch -p0` applies to give exactly the new
// bytes: a line's CR stays part of it, and a last line without a line
// feed is followed by "\ No newline at end of file".

#include "search/text_matcher.h"

#include <string>
#include <string_view>
#include <vector>

// The diff of `bytes` with the occurrences `spans` (file offsets, in order,
// none holding a line feed) replaced by `replacement`, both sides named
// `label`. Empty when nothing changes.
std::string UnifiedDiff(std::string_view label, std::string_view bytes, const std::vector<ByteSpan>& spans,
                        std::string_view replacement);

// `path` as a diff names it: relative when it lies below `current_directory`
// (both absolute and normal), else as it is.
std::string DiffLabel(const std::string& path, const std::string& current_directory);
