#pragma once
// What the page loop prints: a titled printout that is told once that
// printing begins, then asked page by page whether the page exists and to
// draw it. The printer's page size and resolution are those of the paint
// device handed to BeginPrinting.

#include <string>
#include <utility>

class QPaintDevice;
class QPainter;

class Printout {
public:
    explicit Printout(std::string title) : title_(std::move(title)) {}
    virtual ~Printout() = default;
    Printout(const Printout&) = delete;
    Printout& operator=(const Printout&) = delete;

    const std::string& Title() const { return title_; }

    // Called once per job before the first page (and again before each
    // fresh rendering of a preview).
    virtual void BeginPrinting(const QPaintDevice& printer) = 0;
    // True when page `page` (1-based) exists.
    virtual bool HasPage(int page) const = 0;
    // Draws page `page` with `painter`, which is active on the printer.
    virtual void PrintPage(int page, QPainter& painter) = 0;
    virtual void EndPrinting() {}

private:
    std::string title_;
};
