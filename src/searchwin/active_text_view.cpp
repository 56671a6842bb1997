#include "searchwin/active_text_view.h"

#include "base/same_file.h"
#include "framework/document_view.h"
#include "framework/frame_services.h"
#include "framework/grep_hit_view.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <sys/stat.h>

namespace active_text_view {
namespace {

// A text view showing a file: the document side and the Grep side of one
// widget.
struct TextWindow {
    const DocumentView* document = nullptr;
    GrepHitView* hits = nullptr;
    QWidget* widget = nullptr;
};

TextWindow TextWindowOf(QWidget* widget)
{
    const auto* document = dynamic_cast<const DocumentView*>(widget);
    auto* hits = dynamic_cast<GrepHitView*>(widget);
    if (!document || !hits || document->Kind() != ViewKind::Text) return {};
    return {document, hits, widget};
}

// Calls `visit` for every text window of the frame that shows the file at
// `path` under that name or any other (the same device and inode).
void ForEachWindowOf(const std::string& path, const std::function<void(const TextWindow&)>& visit)
{
    struct stat file;
    if (::stat(path.c_str(), &file) != 0) return;
    QWidget* frame = FrameWindow();
    if (!frame) return;
    for (QWidget* widget : frame->findChildren<QWidget*>()) {
        const TextWindow window = TextWindowOf(widget);
        if (!window.hits) continue;
        const std::string shown_path = window.document->DocumentPath();
        struct stat shown;
        if (!shown_path.empty() && ::stat(shown_path.c_str(), &shown) == 0 && SameFile(shown, file)) visit(window);
    }
}

} // namespace

bool HasUnsavedWindow(const std::string& path)
{
    bool unsaved = false;
    ForEachWindowOf(path, [&](const TextWindow& window) { unsaved = unsaved || window.hits->HasUnsavedChanges(); });
    return unsaved;
}

void CloseSavedWindowsOf(const std::string& path)
{
    ForEachWindowOf(path, [](const TextWindow& window) {
        if (window.hits->HasUnsavedChanges()) return;
        QWidget* widget = window.widget;
        while (widget && !qobject_cast<QMdiSubWindow*>(widget)) widget = widget->parentWidget();
        QPointer<QWidget> child = widget;
        if (!child) return;
        QTimer::singleShot(0, child, [child] {
            if (child) child->close();
        });
    });
}

} // namespace active_text_view
