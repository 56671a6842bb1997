#include "app/window_factories.h"

#include "app/placeholder_windows.h"
#include "dialogs/ext_dialog.h"
#include "dialogs/pref_dlog.h"
#include "search/search_window_factory.h"
#include "views/view_factory.h"

namespace {

struct Factories {
    ViewFactory view;
    SearchWindowFactory search;
    PreferencesRunner preferences;
    ExtensionsRunner extensions;
};

Factories& Installed()
{
    static Factories factories;
    return factories;
}

} // namespace

void InstallWindowFactories()
{
    // The text and hex views:
    SetViewFactory(MakeDocumentView);

    // The Grep and Line Count windows:
    SetSearchWindowFactory(MakeSearchWindowClient);

    // The preferences and file-type dialogs:
    SetPreferencesRunner(PrefDlog::Run);
    SetExtensionsRunner(ExtDialog::Run);
}

void SetViewFactory(ViewFactory factory)
{
    Installed().view = std::move(factory);
}

void SetSearchWindowFactory(SearchWindowFactory factory)
{
    Installed().search = std::move(factory);
}

void SetPreferencesRunner(PreferencesRunner runner)
{
    Installed().preferences = std::move(runner);
}

void SetExtensionsRunner(ExtensionsRunner runner)
{
    Installed().extensions = std::move(runner);
}

QWidget* MakeView(ViewKind kind, const std::string& path)
{
    if (Installed().view) return Installed().view(kind, path);
    return new PlaceholderView(kind, path);
}

QWidget* MakeSearchWindow(SearchWindowKind kind)
{
    if (Installed().search) return Installed().search(kind);
    return MakePlaceholderSearchWindow(kind);
}

bool RunPreferences(QWidget* parent)
{
    return Installed().preferences ? Installed().preferences(parent) : false;
}

void RunExtensions(QWidget* parent)
{
    if (Installed().extensions) Installed().extensions(parent);
}
