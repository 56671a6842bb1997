#include "app/install_windows.h"

#include "dialogs/ext_dialog.h"
#include "dialogs/pref_dlog.h"
#include "framework/window_factories.h"
#include "searchwin/search_window_factory.h"
#include "views/view_factory.h"

void InstallWindowFactories()
{
    SetViewFactory(MakeDocumentView);
    SetSearchWindowFactory(MakeSearchWindowClient);
    SetPreferencesRunner(PrefDlog::Run);
    SetExtensionsRunner(ExtDialog::Run);
}
