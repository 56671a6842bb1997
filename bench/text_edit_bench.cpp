// The cost of single editing steps in a text document, made through the
// same document calls the text window makes, in a large file next to a
// 1,000-line file; and on one very long line. Run by bench-text-edits.sh.
//   text_edit_bench steps BIG SMALL   per-step costs and their ratios
//   text_edit_bench longline MEGABYTES  typing, Enter and Backspace on one line
//   text_edit_bench steps-load PATH     a load in steps: the first screen, the longest step

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "docs/text_doc.h"

namespace {

double MicrosecondsPerStep(int steps, const std::function<void(int)>& step)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < steps; ++i) step(i);
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / steps;
}

// Enter as the window makes it: the tail of the line moves to a new line.
void Enter(LinesDoc& doc, int line, int index)
{
    const std::string tail(doc.GetLine(line)->View().substr(static_cast<std::size_t>(index)));
    doc.DeleteChars(line, index, static_cast<int>(tail.size()));
    doc.InsertLine(line + 1, tail);
}

// Backspace at the start of line + 1: it joins the line above.
void JoinNext(LinesDoc& doc, int line)
{
    const std::string next(doc.GetLine(line + 1)->View());
    doc.InsertChars(line, next, -1);
    doc.DeleteLines(line + 1, 1);
}

// Removing a range of lines as undoing a paste does.
void DeleteRange(LinesDoc& doc, TextPosition from, TextPosition to)
{
    const int index = doc.ColumnToIndex(doc.GetLine(from.line), from.column);
    const TextLine* last = doc.GetLine(to.line);
    const std::string tail(last->View().substr(static_cast<std::size_t>(doc.ColumnToIndex(last, to.column))));
    const int firstLength = doc.GetLine(from.line)->Length();
    doc.DeleteChars(from.line, index, firstLength - index);
    doc.InsertChars(from.line, tail, -1);
    doc.DeleteLines(from.line + 1, to.line - from.line);
}

struct Costs {
    double first, type, enter, backspace, paste, undo;
};

Costs Steps(const char* path)
{
    TextDoc doc(path);
    doc.Load();
    const int mid = doc.LineCount() / 2;
    Costs c{};
    // The first change of the number of lines moves the table's gap from
    // the end of the load to the middle, once.
    c.first = MicrosecondsPerStep(1, [&](int) {
        doc.InsertLine(mid, "x");
        doc.DeleteLines(mid, 1);
    });
    c.type = MicrosecondsPerStep(20000, [&](int) { doc.InsertChars(mid, "a", 3); });
    // Enter and Backspace in turn on the same place, timed apart.
    double enter = 0;
    double backspace = 0;
    for (int i = 0; i < 2000; ++i) {
        enter += MicrosecondsPerStep(1, [&](int) { Enter(doc, mid, 5); });
        backspace += MicrosecondsPerStep(1, [&](int) { JoinNext(doc, mid); });
    }
    c.enter = enter / 2000;
    c.backspace = backspace / 2000;
    std::string ten;
    for (int i = 0; i < 10; ++i) ten += "a pasted line of text, " + std::to_string(i) + "\r\n";
    double paste = 0;
    double undo = 0;
    for (int i = 0; i < 2000; ++i) {
        TextPosition end;
        paste += MicrosecondsPerStep(1, [&](int) { end = doc.InsertText(ten, {mid, 4}); });
        undo += MicrosecondsPerStep(1, [&](int) { DeleteRange(doc, {mid, 4}, end); });
    }
    c.paste = paste / 2000;
    c.undo = undo / 2000;
    return c;
}

int CompareSteps(const char* big, const char* small)
{
    const Costs large = Steps(big);
    const Costs few = Steps(small);
    std::printf("per step (microseconds): large file vs 1,000-line file, ratio (target <= 1.5)\n");
    const auto row = [](const char* what, double a, double b) {
        std::printf("  %-22s %9.2f vs %7.2f   %.2fx\n", what, a, b, a / b);
    };
    row("first line edit (once)", large.first, few.first);
    row("type a character", large.type, few.type);
    row("Enter", large.enter, few.enter);
    row("Backspace at line start", large.backspace, few.backspace);
    row("paste 10 lines", large.paste, few.paste);
    row("undo the paste", large.undo, few.undo);
    return 0;
}

int LongLine(long megabytes)
{
    LinesDoc doc;
    doc.InsertLine(0, std::string(static_cast<std::size_t>(megabytes) << 20, 'x'));
    const int middle = doc.GetLine(0)->Length() / 2;
    const int end = doc.GetLine(0)->Length();
    std::printf("one line of %ld MB (milliseconds per step; targets: type < 5, Enter/Backspace < 20)\n", megabytes);
    std::printf("  type at the end        %.3f\n", MicrosecondsPerStep(200, [&](int i) { doc.InsertChars(0, "a", end + i); }) / 1000);
    std::printf("  type in the middle     %.3f\n", MicrosecondsPerStep(200, [&](int) { doc.InsertChars(0, "a", middle); }) / 1000);
    std::printf("  type at the start      %.3f\n", MicrosecondsPerStep(200, [&](int) { doc.InsertChars(0, "a", 0); }) / 1000);
    double enter = 0;
    double join = 0;
    for (int i = 0; i < 20; ++i) {
        enter += MicrosecondsPerStep(1, [&](int) { Enter(doc, 0, middle); });
        join += MicrosecondsPerStep(1, [&](int) { JoinNext(doc, 0); });
    }
    std::printf("  Enter in the middle    %.3f\n", enter / 20 / 1000);
    std::printf("  Backspace joining      %.3f\n", join / 20 / 1000);
    return 0;
}

// A load in steps as a window drives it: how soon the first screenful is
// there, how long the window waits at most between two events, and the
// whole load.
int LoadInSteps(const char* path)
{
    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    TextDoc doc(path);
    const auto start = Clock::now();
    doc.BeginLoad();
    TextDoc::LoadState state = doc.LoadStep();
    const auto first = Clock::now();
    std::printf("first step: %.1f ms, %d lines there (of %.0f MB)\n", ms(first - start), doc.LineCount(),
                doc.FileBytes() / 1048576.0);
    double longest = ms(first - start);
    int steps = 1;
    while (state == TextDoc::LoadState::kMore) {
        const auto before = Clock::now();
        state = doc.LoadStep();
        longest = std::max(longest, ms(Clock::now() - before));
        ++steps;
    }
    std::printf("whole load: %.1f ms in %d steps, the longest %.1f ms; %d lines\n", ms(Clock::now() - start), steps,
                longest, doc.LineCount());
    return state == TextDoc::LoadState::kDone ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "steps") == 0) return CompareSteps(argv[2], argv[3]);
    if (argc >= 3 && std::strcmp(argv[1], "longline") == 0) return LongLine(std::atol(argv[2]));
    if (argc >= 3 && std::strcmp(argv[1], "steps-load") == 0) return LoadInSteps(argv[2]);
    std::fprintf(stderr, "usage: text_edit_bench steps BIG SMALL | longline MEGABYTES | steps-load PATH\n");
    return 2;
}
