#pragma once
// What one line shows in a window: the character cells of the display
// columns [first, first + count), tabs expanded to the next multiple of the
// tab width. Only the columns asked for are built, however long the line.
// A byte that is no printable character (NUL and the other control codes)
// shows as one blank cell, so every byte keeps its one cell.

#include <QString>

#include <string_view>

QString VisibleCells(std::string_view text, int tabSize, int first, int count);
