#include "search/search_window_factory.h"

#include "framework/window_factories.h"
#include "search/count_dlog.h"
#include "search/grep_dlog.h"

QWidget* MakeSearchWindowClient(SearchWindowKind kind)
{
    if (kind == SearchWindowKind::Grep) return new GrepDlog;
    return new CountDlog;
}
