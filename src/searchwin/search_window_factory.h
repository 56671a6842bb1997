#pragma once
// Makes the Grep (cmd::kFileGrep) and Line Count (cmd::kFileLineCount)
// windows: the frame's search-window factory.

class QWidget;
enum class SearchWindowKind;

QWidget* MakeSearchWindowClient(SearchWindowKind kind);
