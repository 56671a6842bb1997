#pragma once
// Services of the frame that views and search windows call. The frame
// lives above them, so it implements fw::FrameServices and installs it
// while it runs. Every function here works without one (tests of a single
// view): it then does nothing and returns false, empty or null, except
// ShowMessage, which still shows (or hands to the message hook) its box.

#include "framework/message_box.h"  // fw::kMbOk..., fw::kIdYes...
#include "resources/format_text.h"

#include <string>

class GrepHitView;
class QMdiSubWindow;
class QPrinter;
class QWidget;

namespace fw {

class FrameServices {
public:
    virtual ~FrameServices() = default;

    // The frame window; null while it is being taken down.
    virtual QWidget* Window() = 0;
    // The view that shows `path` (new or reused); null when none does.
    virtual QWidget* OpenText(const std::string& path, bool reuse) = 0;
    virtual QWidget* OpenHex(const std::string& path, bool reuse) = 0;
    virtual void AddRecentFile(const std::string& path) = 0;
    virtual void SetCaretPosition(long line, long line_count, int column) = 0;
    virtual void SetOvertypeIndicator(bool overtype) = 0;
    virtual void SetLoadProgress(int percent) = 0;
    virtual QMdiSubWindow* ActiveChild() = 0;
    // The printer kept for the run; null without a frame.
    virtual QPrinter* Printer() = 0;
};

// Makes `services` the ones the functions below call (null: none). The
// caller keeps them alive until it installs null again.
void InstallFrameServices(FrameServices* services);

} // namespace fw

// Beeps and shows `text` in a message box owned by the frame, captioned
// "Tarnwick", with `style` (fw::kMb...). Returns the answer (fw::kIdOk,
// fw::kIdYes, ...).
int ShowMessageText(const std::string& text, unsigned style);

// ShowMessageText of string `id` formatted with `arguments`
// (resources/format_text.h says which directive takes which argument).
template <typename... Arguments>
int ShowMessage(int id, unsigned style, const Arguments&... arguments)
{
    return ShowMessageText(strings::Format(id, arguments...), style);
}

// Shows `path` in a text (hex) view in a new MDI child; with `reuse` an
// existing child with a view of the same kind on exactly that path is
// activated (and restored) instead. The path enters the recent-file list.
// An empty path makes an untitled text window. Returns the view shown, new
// or reused; null when the file could not be shown or there is no frame.
QWidget* OpenText(const std::string& path, bool reuse);
QWidget* OpenHex(const std::string& path, bool reuse);
// OpenText, answered with the Grep side of the text view it showed (null
// when none), so that a hit lands in exactly the window just opened.
GrepHitView* OpenHitView(const std::string& path, bool reuse);

// Puts `path` at the top of the recent-file list of the File menu.
void AddRecentFile(const std::string& path);

// Status-bar caret field: "%ld/%ld:%d" of the three numbers when all are
// greater than 0, otherwise empty.
void SetCaretPosition(long line, long line_count, int column);
// The OVR indicator of the status bar (the focused view's overtype mode).
void SetOvertypeIndicator(bool overtype);
// The status bar's load gauge: how much of the focused window's file has
// been read, 0 to 100; a negative `percent` hides it.
void SetLoadProgress(int percent);

// The frame (parent of modal dialogs), its active MDI child and that
// child's client widget (a view or a search window); null when none.
QWidget* FrameWindow();
QMdiSubWindow* ActiveChild();
QWidget* ActiveView();

// The printer kept for the whole run, so the printer chosen in the print
// dialog stays chosen; without a frame, one kept for the views on their own.
QPrinter& FramePrinter();
