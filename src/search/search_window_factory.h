#pragma once
// Hands the frame the makers of its Grep (command 104) and Line Count
// (command 106) windows.

class QWidget;
enum class SearchWindowKind;

QWidget* MakeSearchWindowClient(SearchWindowKind kind);
// Installs MakeSearchWindowClient as the frame's search-window factory.
void InstallSearchWindowFactory();
