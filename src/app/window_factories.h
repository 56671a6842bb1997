#pragma once
// How the frame makes the windows that other parts of the program supply.
// The frame only knows these factories; until one is installed it makes a
// small placeholder. Install them once, at start-up, in
// InstallWindowFactories() (src/app/window_factories.cpp): the views add
// their SetViewFactory call there, the search windows their
// SetSearchWindowFactory call, the settings dialogs their runners.
//
// A view that shows a file (the text and hex views) also derives from
// DocumentView so that the frame can find it again (reuse of OpenText and
// OpenHex) and ask it to reload its display settings after Preferences. A
// view that may refuse to close derives from fw::CloseQuery
// (framework/mdi_child.h); its commands come from its fw::CommandTable
// (framework/command_table.h). The frame's actions carry the keys of the
// menu (Ctrl+Z, Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+Del, F3, Ctrl+S, Ctrl+F, ...)
// and route them to the active view's table, so a view needs no shortcuts
// of its own for them.

#include <functional>
#include <string>

class QWidget;

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

// Makes the view that becomes the client of a new MDI child; the frame
// wraps it at once. `path` is as the caller gave it (empty: untitled).
using ViewFactory = std::function<QWidget*(ViewKind kind, const std::string& path)>;
void SetViewFactory(ViewFactory factory);

enum class SearchWindowKind { Grep, LineCount };
// Makes the client of a new "Grep Options" / "Line Count Options" child.
using SearchWindowFactory = std::function<QWidget*(SearchWindowKind kind)>;
void SetSearchWindowFactory(SearchWindowFactory factory);

// Runs a modal settings dialog with `parent`; the preferences runner
// returns true when OK was pressed with something changed.
using PreferencesRunner = std::function<bool(QWidget* parent)>;
void SetPreferencesRunner(PreferencesRunner runner);
using ExtensionsRunner = std::function<void(QWidget* parent)>;
void SetExtensionsRunner(ExtensionsRunner runner);

// Sets every factory and runner the program has; called by the start
// function before the frame is built.
void InstallWindowFactories();

// What the frame uses (the installed factory or the placeholder).
QWidget* MakeView(ViewKind kind, const std::string& path);
QWidget* MakeSearchWindow(SearchWindowKind kind);
bool RunPreferences(QWidget* parent);
void RunExtensions(QWidget* parent);
