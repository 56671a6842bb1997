#pragma once
// How the frame makes the windows that the layers above it supply. The
// frame only knows these factories and runners; the application installs
// them once, at start-up (InstallWindowFactories in app/install_windows.h).
// Until one is installed the frame makes no window of that kind and runs
// no dialog.

#include "framework/document_view.h"

#include <functional>
#include <string>

class QWidget;

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

// What the frame uses: the installed factory's window (null when none is
// installed), the runner's answer (false when none is installed).
QWidget* MakeView(ViewKind kind, const std::string& path);
QWidget* MakeSearchWindow(SearchWindowKind kind);
bool RunPreferences(QWidget* parent);
void RunExtensions(QWidget* parent);
