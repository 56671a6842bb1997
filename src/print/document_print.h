#pragma once
// Printing a document as its view's Print and Print Preview commands do.

class LinesDoc;
class QFont;
class QWidget;

// Prints a document on the frame's printer with the page header, the
// view's font scaled to the printer: the print dialog first, then the pages
// with a cancellable progress dialog. A page too small for one body line
// and a printer that cannot be used are reported in a message box.
void Print(const LinesDoc& document, const QWidget* view, const QFont& font);
// The same pages in a print preview.
void PrintPreview(const LinesDoc& document, const QWidget* view, const QFont& font);
