#include "searchwin/search_window_factory.h"

#include "framework/window_factories.h"
#include "searchwin/count_dlog.h"
#include "searchwin/grep_dlog.h"

QWidget* MakeSearchWindowClient(SearchWindowKind kind)
{
    if (kind == SearchWindowKind::Grep) return new GrepDlog;
    return new CountDlog;
}
