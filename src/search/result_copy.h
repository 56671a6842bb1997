#pragma once
// Results as text for the clipboard and for Save Results: a line
// "path:number:text" a row (the form grep -n gives), the text read from
// the file as it is now. A row of a file changed since the run gets no
// text rather than another line's; a row without a line in a file (a line
// count) is "path:number"; a line kept as it came is written as it is.

#include "search/hit_texts.h"
#include "search/result_store.h"

#include <cstddef>
#include <string>
#include <vector>

// Appends the rows (ascending), each with a line feed.
void AppendCopyLines(const ResultStore& store, const HitTexts& texts, const std::vector<std::size_t>& rows,
                     std::string& out);
