#pragma once
// Services of the application and its frame that views and search windows
// call. Every function works without a running frame too (tests of a single
// view): it then does nothing and returns false, empty or null, except
// ShowMessage, which still shows (or hands to the message hook) its box, and
// BuildFilter, which only needs the settings file.

#include "framework/message_box.h"  // fw::kMbOk..., fw::kIdYes...

#include <QStringList>

#include <string>

class LinesDoc;
class QFont;
class QMdiSubWindow;
class QPrinter;
class QWidget;

// Loads string `id`, formats it with the arguments (printf rules; pass
// const char*, int, long; at most 511 characters), beeps and shows a message
// box owned by the frame, captioned "Tarnwick", with `style` (fw::kMb...).
// Returns the answer (fw::kIdOk, fw::kIdYes, ...).
int ShowMessage(int id, unsigned style, ...);

// Shows `path` in a text (hex) view in a new MDI child; with `reuse` an
// existing child with a view of the same kind on exactly that path is
// activated (and restored) instead. The path enters the recent-file list.
// An empty path makes an untitled text window. False without a frame.
bool OpenText(const std::string& path, bool reuse);
bool OpenHex(const std::string& path, bool reuse);

// The file-type filter in the stored form "Desc (*.ext)|*.ext|..." built
// from the Extensions section (string 32554 when it holds no entry). Makes
// Extensions/Path the current directory when it names one.
std::string BuildFilter();
// The same filter in the form QFileDialog takes: one "Desc (*.ext)" per
// pair; "*.*" matches every name and letters match either case.
QStringList QtFileFilters(const std::string& filter);

// Puts `path` at the top of the recent-file list of the File menu.
void AddRecentFile(const std::string& path);

// Status-bar caret field: "%ld/%ld:%d" of the three numbers when all are
// greater than 0, otherwise empty.
void SetCaretPosition(long line, long line_count, int column);
// The OVR indicator of the status bar (the focused view's overtype mode).
void SetOvertypeIndicator(bool overtype);

// The frame (parent of modal dialogs), its active MDI child and that
// child's client widget (a view or a search window); null when none.
QWidget* FrameWindow();
QMdiSubWindow* ActiveChild();
QWidget* ActiveView();

// The printer kept for the whole run, so the printer chosen in the print
// dialog stays chosen.
QPrinter& FramePrinter();

// Prints a document on the frame's printer with the page header, the
// view's font scaled to the printer: the print dialog first, then the pages
// with a cancellable progress dialog. A page too small for one body line
// and a printer that cannot be used are reported in a message box.
void Print(const LinesDoc& document, const QWidget* view, const QFont& font);
// The same pages in a print preview.
void PrintPreview(const LinesDoc& document, const QWidget* view, const QFont& font);
