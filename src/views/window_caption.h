#pragma once
// The caption of a document window and the MDI child that holds it.

#include <QString>

class LinesDoc;
class QWidget;

// The file's title (its name in upper case), or "untitledN" for a window
// without a file; every untitled caption takes the next number. A file
// that is gone from the disk says so: "NAME.TXT (deleted)".
QString DocumentCaption(const LinesDoc* doc, bool deleted = false);
// The number the next "untitledN" caption takes (shared by all windows).
int NextUntitledNumber();
// Sets the caption of the view and of the MDI child that holds it.
void SetCaption(QWidget* view, const QString& caption);
// Closes the MDI child that holds the view (or the view itself) once the
// events now waiting have run.
void CloseHoldingWindowLater(QWidget* view);
