#include "search/active_text_view.h"

#include "app/frame_services.h"
#include "app/window_factories.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

namespace active_text_view {
namespace {

// The active child's client when it is a text view of exactly `path`.
QWidget* TextViewOn(const std::string& path)
{
    QWidget* view = ActiveView();
    const auto* doc = dynamic_cast<const DocumentView*>(view);
    if (!doc || doc->Kind() != ViewKind::Text || doc->DocumentPath() != path) return nullptr;
    return view;
}

} // namespace

void ShowHit(const std::string& path, const std::string& pattern, const std::string& replacement, long line)
{
    QWidget* view = TextViewOn(path);
    if (!view) return;
    (void)pattern, (void)replacement, (void)line;
}

void PrepareFind(const std::string& path, const std::string& pattern, const std::string& replacement)
{
    QWidget* view = TextViewOn(path);
    if (!view) return;
    (void)pattern, (void)replacement;
}

void GrepReplaceAndClose(const std::string& path, const GrepEngine::Options_t& options, bool replace_all)
{
    QWidget* view = TextViewOn(path);
    if (!view) return;
    (void)options, (void)replace_all;
    // Closed in a later pump, while the run goes on with the next file.
    QPointer<QMdiSubWindow> child = ActiveChild();
    QTimer::singleShot(0, child, [child] { if (child) child->close(); });
}

} // namespace active_text_view
