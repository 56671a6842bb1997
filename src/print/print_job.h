#pragma once
// Runs a printout on a printer: the page loop, and around it the print
// dialog with a cancellable progress dialog, or the print preview.

#include <functional>
#include <string>

class Printout;
class QPrinter;
class QWidget;

enum class PrintResult {
    kPrinted,
    kNoPage,      // the printout has no first page: nothing was printed
    kCancelled,   // stopped by the user, in the print dialog or between pages
    kFailed,      // the printer (or the output file) could not be used
};

// The page loop: BeginPrinting once, then pages 1, 2, ... while HasPage.
// `goOn(n)` is asked before page n is drawn (it shows the progress); false
// stops the job there, so a cancel takes effect after the page in hand.
// Nothing reaches the printer when the printout has no first page.
PrintResult PrintPages(QPrinter& printer, Printout& printout,
                       const std::function<bool(int page)>& goOn = {});

// Readies the frame's printer for a printout of `fileName`: the job takes
// the document's name, and where no printer is set up the output becomes a
// PDF file named after the document, in the directory the last PDF went to
// (the home directory at first).
void PreparePrinter(QPrinter& printer, const std::string& fileName);

// The print dialog first, then the page loop with a "Printing" progress
// dialog that shows the title, the page and the printer and can cancel.
PrintResult PrintWithDialog(QPrinter& printer, Printout& printout, QWidget* parent);

// The print preview: the same pages drawn into Qt's preview dialog, from
// which they can be printed too. kNoPage when the printout has no page
// with the printer's current page set-up (no dialog is shown then).
PrintResult PreviewWithDialog(QPrinter& printer, Printout& printout, QWidget* parent);
