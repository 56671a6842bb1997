#include "search/search_window_factory.h"

#include "app/window_factories.h"
#include "search/count_dlog.h"
#include "search/grep_dlog.h"

QWidget* MakeSearchWindowClient(SearchWindowKind kind)
{
    if (kind == SearchWindowKind::Grep) return new GrepDlog;
    return new CountDlog;
}

void InstallSearchWindowFactory()
{
    SetSearchWindowFactory(MakeSearchWindowClient);
}
