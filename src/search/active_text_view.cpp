#include "search/active_text_view.h"

#include "app/frame_services.h"
#include "docs/text_doc.h"
#include "views/text_view.h"

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

// The active child's text view when it shows exactly `path`.
TextView* TextViewOn(const std::string& path)
{
    auto* view = qobject_cast<TextView*>(ActiveView());
    if (!view || view->DocumentPath() != AsOpened(path)) return nullptr;
    return view;
}

} // namespace

void ShowHit(const std::string& path, const std::string& pattern, const std::string& replacement, long line)
{
    if (TextView* view = TextViewOn(path)) view->ShowHit(pattern, replacement, static_cast<int>(line));
}

void PrepareFind(const std::string& path, const std::string& pattern, const std::string& replacement)
{
    if (TextView* view = TextViewOn(path)) view->PrepareFind(pattern, replacement);
}

bool HasUnsavedWindow(const std::string& path)
{
    struct stat file;
    if (::stat(path.c_str(), &file) != 0) return false;
    QWidget* frame = FrameWindow();
    if (!frame) return false;
    for (TextView* view : frame->findChildren<TextView*>()) {
        if (!view->Doc()->Modified() || view->DocumentPath().empty()) continue;
        struct stat shown;
        if (::stat(view->DocumentPath().c_str(), &shown) == 0 && shown.st_dev == file.st_dev &&
            shown.st_ino == file.st_ino)
            return true;
    }
    return false;
}

ReplaceOutcome GrepReplaceAndClose(const std::string& path, const GrepEngine::Options_t& options, bool replace_all)
{
    TextView* view = TextViewOn(path);
    if (!view) return ReplaceOutcome::kNotShown;
    GrepEngine::Options_t copy = options;
    copy.show_lines = replace_all;
    const bool found = view->GrepReplace(copy);
    // A document still modified here could not be saved: its window stays
    // open with the replacements rather than stopping the run with a prompt.
    if (view->Doc()->Modified()) return ReplaceOutcome::kNotSaved;
    // Closed in a later pump, while the run goes on with the next file.
    QPointer<QMdiSubWindow> child = ActiveChild();
    QTimer::singleShot(0, child, [child] {
        if (child) child->close();
    });
    return found ? ReplaceOutcome::kReplaced : ReplaceOutcome::kNotFound;
}

} // namespace active_text_view
