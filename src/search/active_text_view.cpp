#include "search/active_text_view.h"

#include "base/same_file.h"
#include "framework/document_view.h"
#include "framework/frame_services.h"
#include "framework/grep_hit_view.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include <filesystem>
#include <sys/stat.h>

namespace active_text_view {
namespace {

// The path as the frame gives it to the view it makes: absolute and
// lexically normal.
std::string AsOpened(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

// A text view showing a file: the document side and the Grep side of one
// widget.
struct TextWindow {
    const DocumentView* document = nullptr;
    GrepHitView* hits = nullptr;
};

TextWindow TextWindowOf(QWidget* widget)
{
    const auto* document = dynamic_cast<const DocumentView*>(widget);
    auto* hits = dynamic_cast<GrepHitView*>(widget);
    if (!document || !hits || document->Kind() != ViewKind::Text) return {};
    return {document, hits};
}

// The active child's text view when it shows exactly `path`.
GrepHitView* TextViewOn(const std::string& path)
{
    const TextWindow window = TextWindowOf(ActiveView());
    if (!window.hits || window.document->DocumentPath() != AsOpened(path)) return nullptr;
    return window.hits;
}

} // namespace

void ShowHit(const std::string& path, const std::string& pattern, const std::string& replacement, long line)
{
    if (GrepHitView* view = TextViewOn(path)) view->ShowHit(pattern, replacement, static_cast<int>(line));
}

void PrepareFind(const std::string& path, const std::string& pattern, const std::string& replacement)
{
    if (GrepHitView* view = TextViewOn(path)) view->PrepareFind(pattern, replacement);
}

bool HasUnsavedWindow(const std::string& path)
{
    struct stat file;
    if (::stat(path.c_str(), &file) != 0) return false;
    QWidget* frame = FrameWindow();
    if (!frame) return false;
    for (QWidget* widget : frame->findChildren<QWidget*>()) {
        const TextWindow window = TextWindowOf(widget);
        if (!window.hits || !window.hits->HasUnsavedChanges()) continue;
        const std::string shown_path = window.document->DocumentPath();
        if (shown_path.empty()) continue;
        struct stat shown;
        if (::stat(shown_path.c_str(), &shown) == 0 && SameFile(shown, file)) return true;
    }
    return false;
}

ReplaceOutcome GrepReplaceAndClose(const std::string& path, const GrepOptions& options, bool replace_all)
{
    GrepHitView* view = TextViewOn(path);
    if (!view) return ReplaceOutcome::kNotShown;
    const bool found = view->GrepReplace(options, replace_all);
    // A document still modified here could not be saved: its window stays
    // open with the replacements rather than stopping the run with a prompt.
    if (view->HasUnsavedChanges()) return ReplaceOutcome::kNotSaved;
    // Closed in a later pump, while the run goes on with the next file.
    QPointer<QMdiSubWindow> child = ActiveChild();
    QTimer::singleShot(0, child, [child] {
        if (child) child->close();
    });
    return found ? ReplaceOutcome::kReplaced : ReplaceOutcome::kNotFound;
}

} // namespace active_text_view
