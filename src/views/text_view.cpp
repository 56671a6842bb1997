#include "views/text_view.h"

#include "framework/frame_services.h"
#include "docs/lines_doc.h"
#include "docs/text_doc.h"
#include "docs/undo_list.h"
#include "framework/byte_text.h"
#include "framework/clipboard_state.h"
#include "framework/input_dialog.h"
#include "framework/message_box.h"
#include "framework/message_pump.h"
#include "resources/command_ids.h"
#include "resources/strings.h"
#include "settings/profile.h"
#include "settings/profile_snapshot.h"
#include "settings/settings_path.h"
#include "views/find_start.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// How often a long replace-all shows its progress and lets events in: no
// more often than a screen refresh.
constexpr int kProgressIntervalMs = 30;

std::string Format(int id, long a, long b)
{
    char text[512];
    std::snprintf(text, sizeof text, strings::Text(id), a, b);
    return text;
}

} // namespace

TextView::TextView(const std::string& fileName, QWidget* parent)
    : EditView(parent), doc_(std::make_unique<TextDoc>(fileName))
{
    setObjectName("Edit_View 1.0");
    SetDocument(doc_.get());
    if (!fileName.empty()) {
        PostLoadWhenShown();
    } else {
        doc_->InsertLine(0, "");
        MarkLoaded();
    }
    doc_->SetModified(false);
    SetTitle();
    LoadSettings();
}

TextView::~TextView() = default;

const fw::CommandTable& TextView::Commands()
{
    static const fw::CommandTable table(&EditView::Commands(), {
        fw::On(cmd::kEditUndo, &TextView::CmUndo, &TextView::CanUndo),
        fw::On(cmd::kEditCut, &TextView::CmCut, &TextView::CanCopy),
        fw::On(cmd::kEditCopy, &TextView::CmCopy, &TextView::CanCopy),
        fw::On(cmd::kEditPaste, &TextView::CmPaste, &TextView::CanPaste),
        fw::On(cmd::kEditDelete, &TextView::CmDelete),
        fw::On(cmd::kEditClearAll, &TextView::CmClearAll, &TextView::HasLines),
        fw::On(cmd::kEditSelectAll, &TextView::CmSelectAll, &TextView::HasLines),
        fw::On(cmd::kSearchGoTo, &TextView::CmGoTo),
    });
    return table;
}

// --- settings and loading ---

void TextView::LoadSettings()
{
    const profile::Snapshot settings(SettingsPath());  // one read for every key
    LoadDisplaySettings(settings);
    auto_indent_ = settings.ReadInt("Options", "auto_indent", 1) != 0;
    const int limit = std::clamp(settings.ReadInt("Options", "undo_limit", kDefaultUndoLimit),
                                 CUndoList::kMinLimit, CUndoList::kMaxLimit);
    if (!undo_) undo_ = std::make_unique<CUndoList>(limit);
    else undo_->SetLimit(limit);
    RecomputeMetrics();
}

bool TextView::CanClose()
{
    if (replacing_all_) {
        SetStopRequest(true);
        return false;
    }
    if (doc_->Modified()) {
        std::string name = doc_->FileName().empty() ? windowTitle().toUpper().toStdString() : doc_->GetTitle();
        const int answer = ShowMessage(strings::kSaveChangesQuery, fw::kMbYesNoCancel | fw::kMbIconQuestion, name.c_str());
        if (answer == fw::kIdCancel) return false;
        if (answer == fw::kIdYes) {
            CmSave();
            if (doc_->Modified()) return false;
        }
    }
    doc_->Options().Save(SettingsPath());
    return EditView::CanClose();
}

// --- keys ---

bool TextView::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride) {
        // Keys with a meaning of their own in the text stay with the view,
        // even when a menu item carries the same key.
        auto* key = static_cast<QKeyEvent*>(e);
        const bool control = key->modifiers() & Qt::ControlModifier;
        switch (key->key()) {
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
        case Qt::Key_Insert:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
            if (!control) {
                e->accept();
                return true;
            }
            break;
        default:
            if (!control && !(key->modifiers() & Qt::AltModifier) && !key->text().isEmpty()) {
                e->accept();
                return true;
            }
        }
    }
    return EditView::event(e);
}

bool TextView::HandleAccelerator(QKeyEvent* e)
{
    const auto mods = e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    cmd::Command id = cmd::kNone;
    if (mods == Qt::ControlModifier) {
        switch (e->key()) {
        case Qt::Key_Z: id = cmd::kEditUndo; break;
        case Qt::Key_X: id = cmd::kEditCut; break;
        case Qt::Key_C: id = cmd::kEditCopy; break;
        case Qt::Key_V: id = cmd::kEditPaste; break;
        case Qt::Key_Delete: id = cmd::kEditClearAll; break;
        default: break;
        }
    } else if (mods == Qt::NoModifier && e->key() == Qt::Key_F3) {
        id = cmd::kSearchNext;
    }
    if (id == cmd::kNone) return false;
    if (CommandEnabled(id).value_or(false)) ExecuteCommand(id);
    return true;
}

void TextView::keyPressEvent(QKeyEvent* e)
{
    // A key that comes before the file is read is for the file's text: the
    // load runs first, or it would throw away what was typed.
    EnsureLoaded();
    // While a Replace All runs, only Escape means something: it stops it.
    if (replacing_all_) {
        if (e->key() == Qt::Key_Escape) SetStopRequest(true);
        return;
    }
    if (HandleAccelerator(e)) return;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const bool control = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_Backspace: Backspace(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: SplitLine(true, auto_indent_); return;
    case Qt::Key_Escape: SetStopRequest(true); return;
    case Qt::Key_Insert:
        if (shift) CmPaste();
        else if (control) CmCopy();
        else ToggleOverwrite();
        return;
    case Qt::Key_Delete:
        if (shift) CmCut();
        else DeleteKey();
        return;
    default: break;
    }
    if (HandleMovementKey(e->key(), shift, control)) return;
    if (control || (e->modifiers() & Qt::AltModifier)) return EditView::keyPressEvent(e);
    const QString text = e->text();
    if (text.isEmpty()) return EditView::keyPressEvent(e);
    std::string bytes;
    for (QChar c : text) {
        if (c == QLatin1Char('\t') || c.unicode() >= 0x20) bytes.push_back(bytetext::FromQChar(c));
    }
    if (bytes.empty()) return;
    std::string repeated;
    for (int i = 0; i < std::max(1, e->count()); ++i) repeated += bytes;
    Type(repeated);
}

// --- editing ---

void TextView::AfterEdit()
{
    UpdateCaret();
    UpdateSelection(false);
    SetScrollRanges();
    doc_->SetModified(true);
    Repaint();
    ReportDocError();
    emit commandStateChanged();
}

std::string TextView::RemovedText(TextPosition start, TextPosition end) const
{
    std::string text = doc_->CopyText(start, end).value_or(std::string());
    // The clipboard form ends a range over several lines that stops at the
    // end of its last line with a line break; putting the text back must
    // not add that break as a line of its own.
    if (start.line != end.line && end.column >= doc_->LineWidth(doc_->GetLine(end.line)) && text.size() >= 2 &&
        text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    return text;
}

void TextView::DeleteSelection()
{
    TextPosition start, end;
    if (!GetOrderedSelection(start, end)) return;
    undo_->PushBlock(RemovedText(start, end), undo_kind::kDeleted, start, start, end);
    EditView::DeleteSelection();
    SetScrollRanges();
    doc_->SetModified(true);
}

void TextView::Backspace()
{
    if (HasSelection()) {
        DeleteSelection();
        return AfterEdit();
    }
    const TextPosition old = Caret();
    const TextLine* line = doc_->GetLine(old.line);
    if (!line) return;
    const int index = doc_->ColumnToIndex(line, old.column);
    if (old.column > 0 && index > 0) {
        const TextPosition now{old.line, doc_->PrefixWidth(line, index, -1)};
        const std::string removed(1, line->View()[std::size_t(index - 1)]);
        if (!doc_->DeleteChars(old.line, index - 1, 1)) return ReportDocError();
        undo_->Push(removed, undo_kind::kDeleted, now, now, old);
        PlaceCaret(now);
    } else if (old.line > 0) {
        const TextPosition joint{old.line - 1, doc_->LineWidth(doc_->GetLine(old.line - 1))};
        const std::string text(line->View());
        if (!doc_->InsertChars(joint.line, text, -1)) return ReportDocError();
        doc_->DeleteLines(old.line, 1);
        undo_->Push("\n", undo_kind::kDeleted, old, joint, {old.line, 0});
        PlaceCaret(joint);
    } else {
        return;
    }
    AfterEdit();
}

void TextView::DeleteKey()
{
    if (HasSelection()) {
        DeleteSelection();
        return AfterEdit();
    }
    const TextPosition at = Caret();
    const TextLine* line = doc_->GetLine(at.line);
    if (!line) return;
    const int width = doc_->LineWidth(line);
    if (at.column < width) {
        const int index = doc_->ColumnToIndex(line, at.column);
        const std::string removed(1, line->View()[std::size_t(index)]);
        const TextPosition right{at.line, doc_->PrefixWidth(line, index, 1)};
        if (!doc_->DeleteChars(at.line, index, 1)) return ReportDocError();
        undo_->Push(removed, undo_kind::kDeleted, at, at, right);
    } else if (at.line + 1 < doc_->LineCount()) {
        const std::string next(doc_->GetLine(at.line + 1)->View());
        if (!doc_->InsertChars(at.line, next, -1)) return ReportDocError();
        doc_->DeleteLines(at.line + 1, 1);
        undo_->Push("\n", undo_kind::kDeleted, at, at, {at.line + 1, 0});
    } else {
        return;
    }
    AfterEdit();
}

void TextView::SplitLine(bool record, bool autoIndent)
{
    if (HasSelection()) DeleteSelection();
    const TextPosition old = Caret();
    const TextLine* line = doc_->GetLine(old.line);
    if (!line) return;
    const std::string text(line->View());
    const int index = doc_->ColumnToIndex(line, old.column);
    const std::string indent = autoIndent ? doc_->LeadingWhiteSpace(old.line) : std::string();
    std::string fresh;
    if (index < int(text.size())) {
        const std::string tail = text.substr(std::size_t(index));
        fresh = (old.column > 0 ? indent : std::string()) + tail;
        if (!doc_->DeleteChars(old.line, index, int(tail.size()))) return ReportDocError();
        if (!doc_->InsertLine(old.line + 1, fresh)) return ReportDocError();
        const TextLine* made = doc_->GetLine(old.line + 1);
        PlaceCaret({old.line + 1, doc_->PrefixWidth(made, old.column > 0 ? int(indent.size()) : 0)});
    } else {
        fresh = indent;
        if (!doc_->InsertLine(old.line + 1, fresh)) return ReportDocError();
        PlaceCaret({old.line + 1, doc_->LineWidth(doc_->GetLine(old.line + 1))});
    }
    if (record) undo_->Push("\n", undo_kind::kInserted, old, old, Caret());
    AfterEdit();
}

void TextView::Type(const std::string& bytes)
{
    if (HasSelection()) DeleteSelection();
    const TextPosition at = Caret();
    const TextLine* line = doc_->GetLine(at.line);
    if (!line) return;
    const int index = doc_->ColumnToIndex(line, at.column);
    const int length = line->Length();
    if (Overwrite() && index < length) {
        const std::string before(line->View().substr(std::size_t(index), bytes.size()));
        const TextPosition right{at.line, doc_->PrefixWidth(line, index, 1)};
        if (!doc_->OverwriteChars(at.line, bytes, index)) return ReportDocError();
        undo_->Push(before, undo_kind::kOverwritten, at, at, right);
    } else {
        if (!doc_->InsertChars(at.line, bytes, index)) return ReportDocError();
    }
    const TextPosition after{at.line, doc_->PrefixWidth(doc_->GetLine(at.line), index + int(bytes.size()))};
    if (!(Overwrite() && index < length)) undo_->Push(bytes, undo_kind::kInserted, at, at, after);
    PlaceCaret(after);
    AfterEdit();
}

// --- clipboard ---

void TextView::CmCopy()
{
    TextPosition start, end;
    if (!GetOrderedSelection(start, end)) return;
    const std::optional<std::string> text = doc_->CopyText(start, end);
    if (!text) return ReportDocError();
    QGuiApplication::clipboard()->setText(bytetext::ToQString(*text));
}

void TextView::CmCut()
{
    if (replacing_all_) return;
    if (!HasSelection()) return;
    CmCopy();
    DeleteSelection();
    if (doc_->LineCount() == 0) {
        doc_->InsertLine(0, "");
        PlaceCaret({0, 0});
        ScrollToTop();
    }
    AfterEdit();
}

bool TextView::CanPaste() const
{
    return fw::ClipboardHasText();
}

void TextView::CmPaste()
{
    if (replacing_all_) return;
    if (!CanPaste()) return;
    EnsureLoaded();
    const std::string text = bytetext::FromQString(QGuiApplication::clipboard()->text());
    if (HasSelection()) DeleteSelection();
    const TextPosition at = Caret();
    const TextPosition end = doc_->InsertText(text, at);
    if (end != at || !text.empty()) undo_->Push(" ", undo_kind::kInserted, at, at, end);
    PlaceCaret(end);
    AfterEdit();
}

void TextView::CmDelete()
{
    if (replacing_all_) return;
    DeleteKey();
}

bool TextView::HasLines() const
{
    return doc_->LineCount() > 0;
}

void TextView::CmSelectAll()
{
    const int last = doc_->LineCount() - 1;
    if (last < 0) return;
    SetSelection({0, 0}, {last, doc_->LineWidth(doc_->GetLine(last))});
    ScrollVertical(last - LinesPerPage() + 1 - TopLine());
    UpdateCaret();
}

void TextView::CmClearAll()
{
    if (replacing_all_) return;
    CmSelectAll();
    DeleteSelection();
    if (doc_->LineCount() == 0) doc_->InsertLine(0, "");
    PlaceCaret({0, 0});
    ScrollToTop();
    AfterEdit();
}

// --- undo ---

bool TextView::CanUndo() const
{
    return undo_ && !undo_->Empty();
}

void TextView::CmUndo()
{
    if (replacing_all_) return;
    const CUndo* newest = undo_ ? undo_->Newest() : nullptr;
    if (!newest || !newest->text) return;
    const CUndo record = *newest;
    const std::string& text = *record.text;
    switch (record.kind) {
    case undo_kind::kDeleted:
        if (text == "\n") {
            SetSelection(record.Start(), record.Start());
            SplitLine(false, false);
        } else {
            // The text is in the form CopyText made: lines joined by CR LF,
            // each of which may hold lone CR bytes that must stay in it.
            doc_->InsertText(text, record.Caret(), LineBreakRule::kLineFeed);
            SetSelection(record.Start(), record.End());
            PlaceCaret(record.End());
        }
        break;
    case undo_kind::kInserted:
        SetSelection(record.Start(), record.End());
        EditView::DeleteSelection();
        PlaceCaret(record.Caret());
        break;
    case undo_kind::kOverwritten: {
        const TextLine* line = doc_->GetLine(record.caret_line);
        doc_->OverwriteChars(record.caret_line, text, doc_->ColumnToIndex(line, record.caret_column));
        SetSelection(record.Caret(), record.Caret());
        break;
    }
    case undo_kind::kReplaced:
    case undo_kind::kReplacedAll:
        UndoReplacement(record);
        break;
    default:
        break;
    }
    undo_->Pop();
    UpdateCaret();
    SetScrollRanges();
    Repaint();
    // Modified exactly when the text differs from what the file holds.
    doc_->SetModified(!undo_->AtSavedState());
    ReportDocError();
    emit commandStateChanged();
}

void TextView::DocumentSaved()
{
    if (undo_) undo_->MarkSaved();
}

void TextView::UndoReplacement(const CUndo& record)
{
    // The replacement made sits at the record's caret; the bytes it
    // replaced go back in its place.
    const std::optional<ReplacementTexts> texts = ParseReplacementRecord(*record.text);
    if (!texts) return;
    const std::string& original = texts->replaced;
    const std::string& replacement = texts->replacement;
    const TextLine* line = doc_->GetLine(record.caret_line);
    if (!line) return;
    const int index = doc_->ColumnToIndex(line, record.caret_column);
    if (line->View().substr(std::size_t(index), replacement.size()) == replacement) {
        doc_->DeleteChars(record.caret_line, index, int(replacement.size()));
        doc_->InsertChars(record.caret_line, original, index);
    } else {
        // The text moved (the tab width changed since): look for the
        // replacement, exactly as it was put in, from the record's place.
        FindReplaceData& data = MutableFindData();
        const FindReplaceData saved = data;
        data.flags = (data.flags & ~(findflags::kReplaceAll | findflags::kWholeWord)) | findflags::kReplace |
                     findflags::kDown | findflags::kMatchCase;
        data.findWhat = replacement;
        data.replaceWith = original;
        SetOpenDialogKind(cmd::kSearchReplace);
        SetSelection(record.Caret(), record.Caret());
        record_replacements_ = false;
        PerformFindReplace();
        record_replacements_ = true;
        MutableFindData() = saved;
    }
    SetSelection(record.Caret(), record.Caret());
}

// --- Go to line ---

void TextView::CmGoTo()
{
    const long count = doc_->LineCount();
    const QString prompt = QString::fromStdString(Format(strings::kGoToLinePrompt, 1, count));
    const auto answer = InputDialog::Ask(this, tr("Go to line"), prompt, QString::number(Caret().line + 1), 128);
    if (!answer) return;
    const long number = std::strtol(answer->toLatin1().constData(), nullptr, 10);
    if (number < 1 || number > count) {
        ShowMessage(strings::kBadLineNumber, fw::kMbOk | fw::kMbIconExclamation, number);
        return;
    }
    MoveCaretTo({int(number - 1), Caret().column});
}

// --- find and replace ---

bool TextView::PerformFindReplace()
{
    if (replacing_all_) return false;
    SetFindSucceeded(false);
    const FindReplaceData data = FindData();
    SearchOptions& options = doc_->Options();
    options.search_patt = data.findWhat;
    bool replacing = false;
    const bool all = data.flags & findflags::kReplaceAll;
    if (OpenDialogKind() == cmd::kSearchReplace) {
        options.replace_patt = data.replaceWith;
        replacing = data.flags & (findflags::kReplace | findflags::kReplaceAll);
    }
    options.down = (data.flags & findflags::kDown) ? 1 : 0;
    options.case_sensitive = (data.flags & findflags::kMatchCase) ? 1 : 0;
    options.whole_words = (data.flags & findflags::kWholeWord) ? 1 : 0;
    const bool down = options.down != 0;
    const std::string& find = data.findWhat;
    const std::string& replace = data.replaceWith;

    TextPosition start, end;
    if (!GetOrderedSelection(start, end)) start = end = Caret();
    TextPosition from = FindStart(down, replacing, start, end);
    SetStopRequest(false);

    QPointer<TextView> alive(this);
    QElapsedTimer progress;
    progress.start();
    replacing_all_ = replacing && all;
    long found = 0;
    for (;;) {
        const std::optional<TextPosition> match = doc_->FindFrom(find, from, down);
        if (!match) break;
        ++found;
        TextPosition selEnd = *match;
        if (replacing) {
            const TextLine* line = doc_->GetLine(match->line);
            const int index = doc_->ColumnToIndex(line, match->column);
            const int matchEnd = doc_->MatchEnd(find, *match);
            const int stop = doc_->ColumnToIndex(line, matchEnd);
            if (record_replacements_) {
                const std::string_view matched = line->View().substr(std::size_t(index), std::size_t(stop - index));
                undo_->Push(ReplacementRecordText(matched, replace),
                            all ? undo_kind::kReplacedAll : undo_kind::kReplaced, *match, *match,
                            {match->line, matchEnd});
            }
            if (!doc_->DeleteChars(match->line, index, stop - index) ||
                !doc_->InsertChars(match->line, replace, index))
                break;
            doc_->SetModified(true);
            selEnd.column = doc_->PrefixWidth(doc_->GetLine(match->line), index + int(replace.size()));
        } else {
            selEnd.column = doc_->MatchEnd(find, *match);
        }
        if (down) {
            SetSelection(*match, selEnd);
            PlaceCaret(*match);
            from = selEnd;
        } else {
            SetSelection(*match, *match);
            from = *match;
        }
        if (!(replacing && all)) break;
        if (progress.elapsed() >= kProgressIntervalMs) {
            progress.restart();
            UpdateCaret();
            SetScrollRanges();
            PumpWaitingMessages();
            if (!alive) return found > 0;
        }
        if (StopRequested()) break;
    }
    replacing_all_ = false;
    UpdateCaret();
    SetScrollRanges();
    Repaint();
    ReportDocError();
    if (found == 0) {
        if (!grep_replacing_)
            ShowMessage(strings::kNoOccurrences, fw::kMbOk | fw::kMbIconInformation, find.c_str());
        SetFindSucceeded(false);
        return false;
    }
    SetFindSucceeded(true);
    emit commandStateChanged();
    return true;
}

// --- for the Grep window ---

bool TextView::ShowHit(const std::string& pattern, const std::string& replacement, int line)
{
    EnsureLoaded();
    if (line < 0 || line >= doc_->LineCount()) return false;
    TextDoc::FindRules rules;
    rules.case_sensitive = false;
    const std::optional<TextPosition> match = doc_->Find(pattern, {line, 0}, rules);
    if (!match || match->line != line) return false;
    const TextPosition end{line, doc_->MatchEnd(pattern, *match)};
    SetSelection(*match, end);
    // The whole hit comes into view, its start first when it is wider
    // than the window.
    PlaceCaret(end);
    UpdateCaret();
    PlaceCaret(*match);
    UpdateCaret();
    Repaint();
    SetFindSucceeded(true);
    PrepareFind(pattern, replacement);
    return true;
}

void TextView::PrepareFind(const std::string& pattern, const std::string& replacement)
{
    SearchOptions& options = doc_->Options();
    options.search_patt = pattern;
    options.replace_patt = replacement;
    FindReplaceData& data = MutableFindData();
    data.findWhat = pattern;
    data.replaceWith = replacement;
    if (!Dialog()) {
        data.flags &= ~(findflags::kMatchCase | findflags::kWholeWord | findflags::kDown);
        if (options.case_sensitive) data.flags |= findflags::kMatchCase;
        if (options.whole_words) data.flags |= findflags::kWholeWord;
        if (options.down) data.flags |= findflags::kDown;
    }
    EnsureDialogObject();
}

bool TextView::GrepReplace(const GrepOptions& options, bool replace_all)
{
    EnsureLoaded();
    SearchOptions& search = doc_->Options();
    search.search_patt = options.pattern;
    search.replace_patt = options.replacement;
    FindReplaceData& data = MutableFindData();
    data.findWhat = options.pattern;
    data.replaceWith = options.replacement;
    data.flags = findflags::kDown;
    if (options.case_sensitive) data.flags |= findflags::kMatchCase;
    if (options.whole_words) data.flags |= findflags::kWholeWord;
    EnsureDialogObject();
    if (options.replacement.empty()) return false;
    data.flags |= replace_all ? findflags::kReplaceAll : findflags::kReplace;
    SetOpenDialogKind(cmd::kSearchReplace);
    // The run replaces from the top of the file, whatever the caret.
    SetSelection({0, 0}, {0, 0});
    grep_replacing_ = true;
    const bool found = PerformFindReplace();
    grep_replacing_ = false;
    if (!found) return false;
    // The run reports a failed save in its summary; a message box here
    // would stop it at every file.
    if (doc_->Save()) DocumentSaved();
    doc_->SetError(0);
    SetTitle();
    emit commandStateChanged();
    return true;
}

bool TextView::HasUnsavedChanges() const
{
    return doc_->Modified();
}
