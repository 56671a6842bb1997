#pragma once
// The Save As dialog of the document windows: the file types of the
// settings file as its filters, ".TXT" added to a name without one. It
// starts in the folder of the last File Open (Extensions/Path).

#include <optional>
#include <string>

class QWidget;

// The name chosen, or none when the dialog was cancelled.
std::optional<std::string> AskSaveAsName(QWidget* parent);
