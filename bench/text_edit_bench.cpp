// The cost of single editing steps in a text document, made through the
// same document calls the text window makes, in a large file next to a
// 1,000-line file; and on one very long line. Run by bench-text-edits.sh.
//   text_edit_bench steps BIG SMALL   per-step costs and their ratios
//   text_edit_bench longline MEGABYTES [FILE]  typing, Enter, Backspace and their undo on one
//                                              line, loaded from FILE (written first) if given
//   text_edit_bench steps-load PATH     a load in steps: the first screen, the longest step
//   text_edit_bench firstkey MEGABYTES FILE [TIMES]  the first keystroke on one line
//                                                    fresh from FILE (written first)
//   text_edit_bench utf8end MEGABYTES FILE  keystrokes and what a repaint converts at the
//                                           end of one UTF-8 line loaded from FILE

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/display_columns.h"
#include "docs/text_doc.h"
#include "edit/caret_model.h"
#include "edit/text_editor.h"

namespace {

double MicrosecondsPerStep(int steps, const std::function<void(int)>& step)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < steps; ++i) step(i);
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / steps;
}

// A document with its caret and editor, driven through the same calls the
// text window makes on a key; the caret is put in place untimed.
struct Session {
    explicit Session(TextDoc& doc) : caret(&doc), editor(doc, caret) {}
    void At(TextPosition at) { caret.Select(at, at); }
    CaretModel caret;
    TextEditor editor;
};

struct Costs {
    double first, type, enter, backspace, paste, undo;
};

Costs Steps(const char* path)
{
    TextDoc doc(path);
    doc.Load();
    Session s(doc);
    const int mid = doc.LineCount() / 2;
    Costs c{};
    // The first change of the number of lines moves the table's gap from
    // the end of the load to the middle, once.
    c.first = MicrosecondsPerStep(1, [&](int) {
        doc.InsertLine(mid, "x");
        doc.DeleteLines(mid, 1);
    });
    double type = 0;
    for (int i = 0; i < 20000; ++i) {
        s.At({mid, 3});
        type += MicrosecondsPerStep(1, [&](int) { s.editor.Type("a"); });
    }
    c.type = type / 20000;
    // Enter and Backspace at the start of the new line in turn, timed apart.
    double enter = 0;
    double backspace = 0;
    for (int i = 0; i < 2000; ++i) {
        s.At({mid, 5});
        enter += MicrosecondsPerStep(1, [&](int) { s.editor.SplitLine(true); });
        s.At({mid + 1, 0});
        backspace += MicrosecondsPerStep(1, [&](int) { s.editor.Backspace(); });
    }
    c.enter = enter / 2000;
    c.backspace = backspace / 2000;
    std::string ten;
    for (int i = 0; i < 10; ++i) ten += "a pasted line of text, " + std::to_string(i) + "\r\n";
    double paste = 0;
    double undo = 0;
    for (int i = 0; i < 2000; ++i) {
        s.At({mid, 4});
        paste += MicrosecondsPerStep(1, [&](int) { s.editor.Paste(ten); });
        undo += MicrosecondsPerStep(1, [&](int) { s.editor.Undo(); });
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

// The smallest, the middle and the largest of a step's timings, in
// milliseconds.
void PrintSpread(const char* what, std::vector<double> micros)
{
    std::sort(micros.begin(), micros.end());
    std::printf("  %-24s min %8.4f  median %8.4f  max %8.4f\n", what, micros.front() / 1000,
                micros[micros.size() / 2] / 1000, micros.back() / 1000);
}

// With a path, the line is loaded from a file there, as a window opens it;
// else the document makes it.
int LongLine(long megabytes, const char* path)
{
    const std::string bytes(static_cast<std::size_t>(megabytes) << 20, 'x');
    TextDoc doc(path ? path : "");
    if (path) {
        std::FILE* file = std::fopen(path, "wb");
        if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) return 1;
        if (!doc.Load()) return 1;
    } else {
        doc.InsertLine(0, bytes);
    }
    Session s(doc);
    const int middle = doc.GetLine(0)->Length() / 2;
    const int end = doc.GetLine(0)->Length();
    std::printf("one line of %ld MB, %s (milliseconds per step; targets: type < 5, Enter/Backspace < 20)\n", megabytes,
                path ? "loaded from a file" : "made in the document");
    if (path) {
        // The first steps on a line a load left in its chunk.
        std::vector<double> first, firstJoin;
        s.At({0, middle});
        first.push_back(MicrosecondsPerStep(1, [&](int) { s.editor.SplitLine(true); }));
        s.At({1, 0});
        firstJoin.push_back(MicrosecondsPerStep(1, [&](int) { s.editor.Backspace(); }));
        PrintSpread("first Enter after load", first);
        PrintSpread("first join after load", firstJoin);
    }
    std::printf("  type at the end        %.3f\n", MicrosecondsPerStep(200, [&](int i) { doc.InsertChars(0, "a", end + i); }) / 1000);
    std::printf("  type in the middle     %.3f\n", MicrosecondsPerStep(200, [&](int) { doc.InsertChars(0, "a", middle); }) / 1000);
    std::printf("  type at the start      %.3f\n", MicrosecondsPerStep(200, [&](int) { doc.InsertChars(0, "a", 0); }) / 1000);
    // Each step as the window makes it, 20 times: Enter in the middle and
    // Backspace at the start of the new line in turn, then each followed by
    // its undo, then Enter near either end with a Backspace after it.
    constexpr int kTimes = 20;
    std::vector<double> enter, join, undoEnter, undoJoin, enterNearStart, enterNearEnd, typeAfterEnter, joinAfterTyping;
    const auto time = [](std::vector<double>& into, const std::function<void()>& step) {
        into.push_back(MicrosecondsPerStep(1, [&](int) { step(); }));
    };
    for (int i = 0; i < kTimes; ++i) {
        s.At({0, middle});
        time(enter, [&] { s.editor.SplitLine(true); });
        s.At({1, 0});
        time(join, [&] { s.editor.Backspace(); });
    }
    for (int i = 0; i < kTimes; ++i) {
        s.At({0, middle});
        s.editor.SplitLine(true);
        time(undoEnter, [&] { s.editor.Undo(); });
        s.At({0, middle});
        s.editor.SplitLine(true);
        s.At({1, 0});
        s.editor.Backspace();
        time(undoJoin, [&] { s.editor.Undo(); });
        s.At({1, 0});
        s.editor.Backspace();
    }
    for (int i = 0; i < kTimes; ++i) {
        s.At({0, 10});
        time(enterNearStart, [&] { s.editor.SplitLine(true); });
        if (doc.LineCount() != 2 || doc.GetLine(0)->Length() != 10) return 1;
        s.At({1, 0});
        s.editor.Backspace();
        s.At({0, doc.GetLine(0)->Length() - 10});
        time(enterNearEnd, [&] { s.editor.SplitLine(true); });
        s.At({1, 0});
        s.editor.Backspace();
    }
    // Typing into the half that was split off, then joining it back.
    for (int i = 0; i < kTimes; ++i) {
        s.At({0, middle});
        s.editor.SplitLine(true);
        s.At({1, 0});
        time(typeAfterEnter, [&] { s.editor.Type("a"); });
        s.At({1, 0});
        time(joinAfterTyping, [&] { s.editor.Backspace(); });
    }
    PrintSpread("Enter in the middle", enter);
    PrintSpread("Backspace joining", join);
    PrintSpread("undo of Enter", undoEnter);
    PrintSpread("undo of the join", undoJoin);
    PrintSpread("Enter 10 from the start", enterNearStart);
    PrintSpread("Enter 10 from the end", enterNearEnd);
    PrintSpread("type after Enter", typeAfterEnter);
    PrintSpread("join after typing", joinAfterTyping);
    return 0;
}

// The first keystroke on a long line fresh from a file, each kind of step
// on a load of its own, `times` loads each; then the keystrokes after it.
// One line of accented letters, wide characters and a tab now and then,
// loaded from a file, with the caret at its end as the user leaves it
// there: each keystroke turns the caret's column into a byte and back, and
// each repaint looks for the first byte shown at the left column.
int Utf8LineEnd(long megabytes, const char* path)
{
    const std::string piece = "h\xC3\xA9llo w\xC3\xB6rld \xE4\xB8\xAD\xE6\x96\x87 ";
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(megabytes) << 20);
    for (int i = 0; bytes.size() + piece.size() < (static_cast<std::size_t>(megabytes) << 20); ++i)
        bytes += i % 1000 == 999 ? std::string("\t") : piece;
    std::FILE* file = std::fopen(path, "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) return 1;
    TextDoc doc(path);
    if (!doc.Load()) return 1;
    Session s(doc);
    const int width = doc.LineWidth(doc.GetLine(0));
    s.caret.MoveTo({0, width});
    std::printf("one UTF-8 line of %ld MB loaded from a file, the caret at its end (milliseconds)\n", megabytes);
    std::vector<double> keys, repaints, fromStart;
    for (int i = 0; i < 20; ++i) {
        keys.push_back(MicrosecondsPerStep(1, [&](int) {
            s.editor.Type("\xC3\xA9");
            s.caret.SnapCaret();
        }));
        const int left = std::max(0, s.caret.Caret().column - 80);
        repaints.push_back(MicrosecondsPerStep(1, [&](int) {
            volatile auto from = doc.CharacterStartBefore(doc.GetLine(0), left).byte;
            (void)from;
        }));
        fromStart.push_back(MicrosecondsPerStep(1, [&](int) {
            volatile auto from = text::ColumnToIndex(doc.GetLine(0)->View(), doc.TabSize(), left);
            (void)from;
        }));
    }
    PrintSpread("keystroke at the end", keys);
    PrintSpread("repaint: first byte shown", repaints);
    PrintSpread("the same from the start", fromStart);
    return 0;
}

int FirstKey(long megabytes, const char* path, int times)
{
    {
        const std::string bytes(static_cast<std::size_t>(megabytes) << 20, 'x');
        std::FILE* file = std::fopen(path, "wb");
        if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) return 1;
    }
    struct Kind {
        const char* what;
        std::function<void(Session&, int middle)> step;
    };
    const Kind kinds[] = {
        {"type in the middle", [](Session& s, int middle) { s.At({0, middle}); s.editor.Type("a"); }},
        {"type at the end", [](Session& s, int middle) { s.At({0, 2 * middle}); s.editor.Type("a"); }},
        {"type at the start", [](Session& s, int) { s.At({0, 0}); s.editor.Type("a"); }},
        {"Delete in the middle", [](Session& s, int middle) { s.At({0, middle}); s.editor.DeleteForward(); }},
        {"Backspace in the middle", [](Session& s, int middle) { s.At({0, middle}); s.editor.Backspace(); }},
        {"paste a word", [](Session& s, int middle) { s.At({0, middle}); s.editor.Paste("pasted"); }},
    };
    std::printf("one line of %ld MB loaded from a file, %d loads a step (milliseconds; target < 5)\n", megabytes, times);
    std::vector<double> later;
    for (const Kind& kind : kinds) {
        std::vector<double> first;
        for (int i = 0; i < times; ++i) {
            TextDoc doc(path);
            if (!doc.Load()) return 1;
            Session s(doc);
            const int middle = doc.GetLine(0)->Length() / 2;
            first.push_back(MicrosecondsPerStep(1, [&](int) { kind.step(s, middle); }));
            for (int k = 0; k < 10; ++k) later.push_back(MicrosecondsPerStep(1, [&](int) { kind.step(s, middle); }));
            if (doc.LineCount() != 1) return 1;
        }
        PrintSpread((std::string("first: ") + kind.what).c_str(), first);
    }
    PrintSpread("the ten keystrokes after", later);
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
    if (argc >= 3 && std::strcmp(argv[1], "longline") == 0) return LongLine(std::atol(argv[2]), argc >= 4 ? argv[3] : nullptr);
    if (argc >= 3 && std::strcmp(argv[1], "steps-load") == 0) return LoadInSteps(argv[2]);
    if (argc >= 4 && std::strcmp(argv[1], "utf8end") == 0) return Utf8LineEnd(std::atol(argv[2]), argv[3]);
    if (argc >= 4 && std::strcmp(argv[1], "firstkey") == 0)
        return FirstKey(std::atol(argv[2]), argv[3], argc >= 5 ? std::atoi(argv[4]) : 5);
    std::fprintf(stderr, "usage: text_edit_bench steps BIG SMALL | longline MEGABYTES [FILE] | steps-load PATH | "
                         "firstkey MEGABYTES FILE [TIMES] | utf8end MEGABYTES FILE\n");
    return 2;
}
