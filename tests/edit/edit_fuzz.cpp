#include "edit_fuzz.h"

#include "docs/text_doc.h"
#include "edit/caret_model.h"
#include "edit/find_replace_run.h"
#include "edit/text_editor.h"
#include "support/temp_tree.h"

#include <sstream>
#include <string_view>
#include <vector>

namespace {

// A small generator whose sequence is the same on every platform
// (splitmix64), unlike the standard distributions.
class Dice {
public:
    explicit Dice(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    bool OneIn(int n) { return Below(n) == 0; }
    template <std::size_t N>
    const char* Pick(const char* const (&items)[N])
    {
        return items[Below(static_cast<int>(N))];
    }

private:
    std::uint64_t state_;
};

// Characters of every kind the editor must keep byte for byte.
const char* const kPieces[] = {
    "a", "b", "Z", "7", " ", " ", "\t",
    "\xc3\xa9",          // é
    "\xe4\xb8\xad",      // a wide character
    "\xf0\x9f\x98\x80",  // four bytes, wide
    "\xcc\x81",          // a combining acute accent
    "\xe0\xb8\xb4",      // a Thai vowel sign (zero width)
    "\xe2\x80\x8b",      // a zero-width space
    "\xc3",              // a lead byte alone
    "\xa9",              // a continuation byte alone
    "\xe9",              // Latin-1 é
    "\xe4\xb8",          // a truncated sequence
};
const char* const kBreaks[] = {"\n", "\r\n", "\r", "\n\r"};

std::string RandomText(Dice& dice, int pieces, bool breaks)
{
    std::string text;
    for (int i = 0; i < pieces; ++i) {
        if (breaks && dice.OneIn(6)) text += dice.Pick(kBreaks);
        else text += dice.Pick(kPieces);
    }
    return text;
}

using Lines = std::vector<std::string>;

Lines TextLines(const TextDoc& doc)
{
    Lines lines;
    for (int i = 0; i < doc.LineCount(); ++i) lines.emplace_back(doc.GetLine(i)->View());
    return lines;
}

class Round {
public:
    Round(Dice& dice, std::ostringstream& log) : dice_(dice), log_(log)
    {
        file_ = RandomText(dice_, dice_.Below(40), true);
        path_ = tree_.Write("file.txt", file_);
        doc_.emplace(path_);
        caret_.SetDocument(&*doc_);
        editor_.emplace(*doc_, caret_, CUndoList::kMaxLimit);
        doc_->Load();
        loaded_ = saved_ = TextLines(*doc_);
    }

    // Plays one random step; false when a rule broke (said in the log).
    bool Step()
    {
        PlayRandomStep();
        return Check("after the step");
    }

    bool UndoEverything()
    {
        final_ = TextLines(*doc_);
        final_saved_ = editor_->Undos().AtSavedState();
        final_done_ = editor_->Undos().Count();
        for (int i = 0; editor_->CanUndo(); ++i) {
            if (i > 2 * CUndoList::kMaxLimit) return Fail("an undo record that never goes");
            log_ << "Undo; ";
            if (editor_->Undo() == EditOutcome::kFailed) return Fail("an undo failed");
            if (!Check("after an undo")) return false;
        }
        if (TextLines(*doc_) != loaded_) return Fail("undoing everything did not give back the loaded text");
        if (!saved_once_ && doc_->Modified()) return Fail("modified after undoing everything");
        return true;
    }

    // Applies the records that were done forward again from the loaded
    // text: the text must come out as it was before the undos, and the
    // list must know whether that is the saved text.
    bool ApplyEverythingForward()
    {
        CUndoList& undos = editor_->Undos();
        while (undos.Count() < final_done_) {
            const CUndo* record = undos.NextUndone();
            if (!record) return Fail("a done record went missing");
            log_ << "Forward; ";
            if (!editor_->Apply(*record, ApplyDirection::kForward)) return Fail("a record did not apply forward");
            undos.StepForward();
        }
        if (TextLines(*doc_) != final_) return Fail("applying forward did not give back the final text");
        if (undos.AtSavedState() != final_saved_) return Fail("the saved state moved applying forward");
        return true;
    }

    int Records() const { return editor_->Undos().Count(); }

private:
    bool Check(const char* when)
    {
        if (doc_->Error() != 0) return Fail(std::string("a document error ") + when);
        if (!doc_->Modified() && TextLines(*doc_) != saved_)
            return Fail(std::string("not modified but the text differs from the file ") + when);
        return true;
    }

    bool Fail(const std::string& what)
    {
        log_ << "\n  FAILED: " << what;
        failed_ = true;
        return false;
    }

    TextPosition RandomPosition()
    {
        const int line = dice_.Below(doc_->LineCount() + 1);
        return {line, dice_.Below(24)};
    }

    void PlayRandomStep()
    {
        switch (dice_.Below(20)) {
        case 0:
        case 1:
        case 2: {
            const std::string typed = dice_.Pick(kPieces);
            log_ << "Type(" << Escaped(typed) << "); ";
            editor_->Type(typed);
            break;
        }
        case 3: {
            const bool indent = dice_.OneIn(2);
            log_ << (indent ? "Enter; " : "Enter(no indent); ");
            editor_->SplitLine(indent);
            break;
        }
        case 4: log_ << "Backspace; "; editor_->Backspace(); break;
        case 5: log_ << "Delete; "; editor_->DeleteForward(); break;
        case 6: log_ << "Insert key; "; caret_.ToggleOverwrite(); break;
        case 7: {
            const std::string text = RandomText(dice_, 1 + dice_.Below(8), true);
            log_ << "Paste(" << Escaped(text) << "); ";
            editor_->Paste(text);
            break;
        }
        case 8: log_ << "Cut; "; editor_->Cut(); break;
        case 9:
        case 10: {
            const TextPosition at = RandomPosition();
            const bool shift = dice_.OneIn(2);
            log_ << (shift ? "ShiftClick(" : "Click(") << at.line << ", " << at.column << "); ";
            caret_.PlaceCaret(at);
            caret_.SnapCaret();
            caret_.FollowCaret(shift);
            break;
        }
        case 11: {
            const auto move = static_cast<CaretMove>(dice_.Below(8));
            const bool shift = dice_.OneIn(2);
            log_ << "Move(" << static_cast<int>(move) << (shift ? ", shift); " : "); ");
            if (caret_.Move(move)) {
                caret_.SnapCaret();
                caret_.FollowCaret(shift);
            }
            break;
        }
        case 12: {
            static const int kWidths[] = {1, 2, 3, 4, 8};
            const int width = kWidths[dice_.Below(5)];
            log_ << "TabWidth(" << width << "); ";
            doc_->SetTabSize(width);
            break;
        }
        case 13: {
            const TextPosition at = RandomPosition();
            log_ << "SelectWord(" << at.line << ", " << at.column << "); ";
            caret_.SelectWordAt(at);
            break;
        }
        case 14:
            if (dice_.OneIn(4)) {
                log_ << "ClearAll; ";
                editor_->ClearAll();
            } else {
                log_ << "SelectAll; ";
                caret_.SelectAll();
            }
            break;
        case 15:
            log_ << "Undo; ";
            editor_->Undo();
            break;
        case 16: {
            FindRequest request;
            request.find = dice_.OneIn(2) ? "a" : "\xc3\xa9";
            request.replace = dice_.Pick(kPieces);
            request.replacing = true;
            request.all = dice_.OneIn(2);
            log_ << "Replace" << (request.all ? "All(" : "(") << Escaped(request.find) << " -> "
                 << Escaped(request.replace) << "); ";
            FindReplaceRun(*editor_, request).Run();
            break;
        }
        case 17:
            if (dice_.OneIn(8)) {
                log_ << "Save; ";
                if (doc_->Save()) {
                    editor_->Undos().MarkSaved();
                    doc_->SetModified(false);
                    saved_ = TextLines(*doc_);
                    saved_once_ = true;
                }
            }
            break;
        default: {
            const std::string typed = RandomText(dice_, 1 + dice_.Below(3), false);
            log_ << "Type(" << Escaped(typed) << "); ";
            editor_->Type(typed);
            break;
        }
        }
    }

    static std::string Escaped(std::string_view bytes)
    {
        static const char kHex[] = "0123456789abcdef";
        std::string out = "\"";
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            if (b >= 0x20 && b < 0x7f && c != '"' && c != '\\') {
                out += c;
            } else {
                out += "\\x";
                out += kHex[b >> 4];
                out += kHex[b & 15];
            }
        }
        return out + "\"";
    }

    Dice& dice_;
    std::ostringstream& log_;
    TempTree tree_;
    std::string file_;
    std::string path_;
    std::optional<TextDoc> doc_;
    CaretModel caret_;
    std::optional<TextEditor> editor_;
    Lines loaded_;
    Lines saved_;
    Lines final_;  // before undoing everything
    bool final_saved_ = false;
    int final_done_ = 0;
    bool saved_once_ = false;
    bool failed_ = false;
};

} // namespace

EditFuzzResult FuzzEditing(std::uint64_t seed, long steps)
{
    EditFuzzResult result;
    Dice dice(seed);
    while (result.steps < steps) {
        std::ostringstream log;
        log << "seed " << seed << ", round " << result.rounds << ": ";
        Round round(dice, log);
        // Few enough steps that no record is dropped at the limit.
        const int length = 1 + dice.Below(120);
        bool held = true;
        for (int i = 0; i < length && held && round.Records() < CUndoList::kMaxLimit - 8; ++i, ++result.steps)
            held = round.Step();
        held = held && round.UndoEverything() && round.ApplyEverythingForward();
        ++result.rounds;
        if (!held) {
            result.failure = log.str();
            return result;
        }
    }
    return result;
}
