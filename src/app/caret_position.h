#pragma once
#include <string>

// Text of the caret field: "line/count:column", empty when any number is
// not greater than 0 (the view has lost the focus).
std::string CaretPositionText(long line, long line_count, int column);
