#include "app/caret_position.h"

#include <cstdio>

std::string CaretPositionText(long line, long line_count, int column)
{
    if (line <= 0 || line_count <= 0 || column <= 0) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%ld/%ld:%d", line, line_count, column);
    return text;
}
