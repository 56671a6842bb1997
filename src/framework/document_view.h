#pragma once
// What the frame knows of a view that shows a file (the text and hex
// views): its kind and path, so that OpenText and OpenHex can find it
// again, and a way to reload its display settings after Preferences. A view
// that may refuse to close also derives from fw::CloseQuery
// (framework/mdi_child.h); its commands come from its fw::CommandTable
// (framework/command_table.h). The frame's actions carry the keys of the
// menu (Ctrl+Z, Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+Del, F3, Ctrl+S, Ctrl+F, ...)
// and route them to the active view's table, so a view needs no shortcuts
// of its own for them.

#include <string>

enum class ViewKind { Text, Hex };

class DocumentView {
public:
    virtual ~DocumentView() = default;
    virtual ViewKind Kind() const = 0;
    // The document's file name as it was given when the view was made.
    virtual std::string DocumentPath() const = 0;
    // Reads font, colours, tab width (and the text view's editing
    // options) from the settings file again and repaints.
    virtual void ReloadSettings() = 0;
};
