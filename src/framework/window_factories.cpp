#include "framework/window_factories.h"

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
    return Installed().view ? Installed().view(kind, path) : nullptr;
}

QWidget* MakeSearchWindow(SearchWindowKind kind)
{
    return Installed().search ? Installed().search(kind) : nullptr;
}

bool RunPreferences(QWidget* parent)
{
    return Installed().preferences ? Installed().preferences(parent) : false;
}

void RunExtensions(QWidget* parent)
{
    if (Installed().extensions) Installed().extensions(parent);
}
