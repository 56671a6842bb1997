#pragma once
// Runs a printout on a printer: the page loop, and around it the print
// dialog with a cancellable progress dialog, or the print preview.

#include <functional>
#include <string>

class Printout;
class QPrinter;
class QString;
class QWidget;

enum class PrintResult {
    kPrinted,
    kNoPage,      // the printout has no first page: nothing was printed
    kCancelled,   // stopped by the user, in the print dialog or between pages
    kFailed,      // the printer (or the output file) could not be used
};

// One print job: BeginPrinting once, then the pages chosen in the print
// dialog (the printer's page range; every page when none is chosen) that
// exist, in order; where the printer makes no copies itself (a PDF file),
// as many copies as chosen, collated or not, last page first if chosen.
// `goOn(n)` is asked before page n is drawn (it shows the
// progress); false stops the job there, so a cancel takes effect after the
// page in hand. Nothing reaches the printer when no chosen page exists.
//
// A PDF goes to its file through a writer of the job's own, so a failed job
// leaves nothing behind for the next one. A file that cannot be opened or
// written to the end fails with the reason in `failure`; a plain file left
// cut off is removed.
PrintResult PrintPages(QPrinter& printer, Printout& printout, const std::function<bool(int page)>& goOn = {},
                       QString* failure = nullptr);

// Readies the frame's printer for a printout of `fileName`: the job takes
// the document's name and starts with every page chosen, and where no
// printer is set up the output becomes a PDF file named after the
// document, in the directory the last PDF went to (the home directory at
// first).
void PreparePrinter(QPrinter& printer, const std::string& fileName);

// The print dialog first (it offers every page or a range of them), then
// the job with a "Printing" progress dialog that shows the title, the page
// and the printer and can cancel.
PrintResult PrintWithDialog(QPrinter& printer, Printout& printout, QWidget* parent, QString* failure = nullptr);

// The print preview: every page drawn into Qt's preview dialog, from which
// they can be printed too (as a job of PrintPages). kNoPage when the
// printout has no page with the printer's current page set-up (no dialog
// is shown then); kFailed when a print from the preview failed.
PrintResult PreviewWithDialog(QPrinter& printer, Printout& printout, QWidget* parent, QString* failure = nullptr);
