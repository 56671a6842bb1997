#include "views/text_view.h"

#include "docs/doc_errors.h"
#include "docs/text_doc.h"
#include "edit/find_replace_run.h"
#include "edit/text_editor.h"
#include "framework/byte_text.h"
#include "framework/clipboard_state.h"
#include "framework/frame_services.h"
#include "framework/input_dialog.h"
#include "framework/message_box.h"
#include "framework/message_pump.h"
#include "resources/command_ids.h"
#include "resources/format_text.h"
#include "resources/strings.h"
#include "search/matcher_factory.h"
#include "settings/profile_snapshot.h"
#include "settings/setting_schema.h"
#include "settings/settings_path.h"
#include "views/find_requests.h"
#include "views/text_keys.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>

namespace {

// How often a long replace-all shows its progress and lets events in: no
// more often than a screen refresh.
constexpr int kProgressIntervalMs = 30;

} // namespace

TextView::TextView(const std::string& fileName, QWidget* parent)
    : EditView(parent), doc_(std::make_unique<TextDoc>(fileName)),
      editor_(std::make_unique<TextEditor>(*doc_, CaretsToChange()))
{
    setObjectName("Edit_View 1.0");
    SetDocument(doc_.get());
    if (!fileName.empty()) {
        LoadWhenFirstShown();
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

CUndoList* TextView::Undo() const
{
    return &editor_->Undos();
}

// --- settings and loading ---

void TextView::LoadSettings()
{
    const profile::Snapshot settings(SettingsPath());  // one read for every key
    LoadDisplaySettings(settings);
    auto_indent_ = setting::kAutoIndent.Read(settings);
    editor_->Undos().SetLimit(setting::kUndoLimit.Read(settings));
    RecomputeMetrics();
}

bool TextView::CanClose()
{
    if (replacing_all_) {
        SetStopRequest(true);
        return false;
    }
    if (doc_->Modified()) {
        std::string name = doc_->FileName().empty() ? bytetext::FromQString(windowTitle().toUpper()) : doc_->GetTitle();
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

// --- reading the file in steps ---

EditView::ReadState TextView::BeginRead()
{
    doc_->BeginLoad();
    return ReadMore();
}

EditView::ReadState TextView::ReadMore()
{
    return doc_->LoadStep();
}

EditView::ReadState TextView::ReadRest()
{
    doc_->FinishLoad();
    // A read that failed left the document empty, holding none of the file.
    return doc_->Unread() ? ReadState::kFailed : ReadState::kDone;
}

int TextView::ReadPercent() const
{
    const std::size_t size = doc_->FileBytes();
    if (size == 0) return -1;
    return static_cast<int>(std::min<std::size_t>(doc_->LoadedBytes(), size) * 100 / size);
}

// --- keys ---

bool TextView::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride && text_keys::OwnedByTheText(*static_cast<QKeyEvent*>(e))) {
        e->accept();
        return true;
    }
    return EditView::event(e);
}

void TextView::keyPressEvent(QKeyEvent* e)
{
    // A key that comes before the file is read is for the file's text: the
    // load runs first, or it would throw away what was typed.
    EnsureLoaded();
    // A window whose file could not be read takes no text: it is closing.
    if (LoadFailed()) return;
    // While a Replace All runs, only Escape means something: it stops it.
    if (replacing_all_) {
        if (e->key() == Qt::Key_Escape) SetStopRequest(true);
        return;
    }
    if (const cmd::Command id = text_keys::AcceleratorCommand(*e); id != cmd::kNone) {
        if (CommandEnabled(id).value_or(false)) ExecuteCommand(id);
        return;
    }
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const bool control = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_Backspace: return AfterEdit(editor_->Backspace());
    case Qt::Key_Return:
    case Qt::Key_Enter: return AfterEdit(editor_->SplitLine(auto_indent_));
    case Qt::Key_Escape: return SetStopRequest(true);
    case Qt::Key_Insert:
        if (shift) CmPaste();
        else if (control) CmCopy();
        else ToggleOverwrite();
        return;
    case Qt::Key_Delete:
        if (shift) CmCut();
        else AfterEdit(editor_->DeleteForward());
        return;
    default: break;
    }
    if (HandleMovementKey(e->key(), shift, control)) return;
    const std::string typed = text_keys::TypedBytes(*e);
    if (!typed.empty()) return AfterEdit(editor_->Type(typed));
    // A control character typed is swallowed; anything else goes on.
    if (control || (e->modifiers() & Qt::AltModifier) || e->text().isEmpty()) EditView::keyPressEvent(e);
}

// --- editing, through the editor ---

void TextView::AfterEdit(EditOutcome outcome)
{
    if (outcome == EditOutcome::kNothing) return;
    UpdateCaret();
    SetScrollRanges();
    ReportDocError();
    SelectionChanged();
}

namespace {

// The clipboard's conversions may run out of memory as any allocation
// may: that fails the command with the document's memory error, as the
// document's own allocations do, instead of ending the program.
template <class Step>
bool WithinMemory(LinesDoc& doc, Step&& step)
{
    try {
        step();
        return true;
    } catch (const std::bad_alloc&) {
        doc.SetError(doc_error::kMemory);
        return false;
    }
}

} // namespace

void TextView::CmCopy()
{
    CopySelection();
}

bool TextView::CopySelection()
{
    if (!HasSelection()) return false;
    const std::optional<std::string> text = editor_->SelectedText();
    if (!text || !WithinMemory(*doc_, [&] { QGuiApplication::clipboard()->setMimeData(bytetext::ToMimeData(*text)); })) {
        ReportDocError();
        return false;
    }
    return true;
}

void TextView::CmCut()
{
    if (replacing_all_ || !HasSelection()) return;
    EnsureLoaded();
    // Nothing goes that did not reach the clipboard.
    if (!CopySelection()) return;
    AfterEdit(editor_->Cut());
}

bool TextView::CanPaste() const
{
    return fw::ClipboardHasText();
}

void TextView::CmPaste()
{
    if (replacing_all_ || !CanPaste()) return;
    EnsureLoaded();
    if (LoadFailed()) return;
    std::string text;
    if (!WithinMemory(*doc_, [&] { text = bytetext::FromMimeData(QGuiApplication::clipboard()->mimeData()); }))
        return ReportDocError();
    AfterEdit(editor_->Paste(text));
}

void TextView::CmDelete()
{
    if (replacing_all_) return;
    EnsureLoaded();
    AfterEdit(editor_->DeleteForward());
}

bool TextView::HasLines() const
{
    return doc_->LineCount() > 0;
}

void TextView::CmSelectAll()
{
    if (!CaretsToChange().SelectAll()) return;
    ScrollVertical(doc_->LineCount() - LinesPerPage() - TopLine());
    UpdateCaret();
    SelectionChanged();
}

void TextView::CmClearAll()
{
    if (replacing_all_) return;
    EnsureLoaded();
    AfterEdit(editor_->ClearAll());
}

bool TextView::CanUndo() const
{
    return editor_->CanUndo();
}

void TextView::CmUndo()
{
    if (replacing_all_) return;
    // A reload still reading clears the records when it ends: it ends first.
    EnsureLoaded();
    AfterEdit(editor_->Undo());
}

void TextView::DocumentSaved()
{
    editor_->Undos().MarkSaved();
}

void TextView::DocumentReloaded()
{
    // The records describe edits of the text that was replaced.
    CUndoList& undos = editor_->Undos();
    while (!undos.Empty()) undos.Pop();
    undos.MarkSaved();
}

// --- Go to line ---

void TextView::CmGoTo()
{
    const long count = doc_->LineCount();
    const QString prompt = QString::fromStdString(strings::Format(strings::kGoToLinePrompt, 1L, count));
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
    const bool replaceDialog = OpenDialogKind() == cmd::kSearchReplace;
    return RunFind(RequestFromDialog(FindData(), replaceDialog, doc_->Options()), false) > 0;
}

long TextView::RunFind(const FindRequest& request, bool quiet)
{
    if (replacing_all_) return 0;
    EnsureLoaded();
    SetStopRequest(false);
    QPointer<TextView> alive(this);
    QElapsedTimer progress;
    progress.start();
    replacing_all_ = request.replacing && request.all;
    finding_ = true;
    FindReplaceRun run(*editor_, request);
    const long found = run.Run([&] {
        if (progress.elapsed() >= kProgressIntervalMs) {
            progress.restart();
            UpdateCaret();
            SetScrollRanges();
            PumpWaitingMessages();
            if (!alive) return RunVerdict::kAbandoned;
        }
        return StopRequested() ? RunVerdict::kStop : RunVerdict::kGoOn;
    });
    if (run.Abandoned()) return found;
    replacing_all_ = false;
    finding_ = false;
    BusyEnded();
    UpdateCaret();
    SetScrollRanges();
    ReportDocError();
    SelectionChanged();
    if (found == 0 && !quiet)
        ShowMessage(strings::kNoOccurrences, fw::kMbOk | fw::kMbIconInformation, request.find.c_str());
    SetFindSucceeded(found > 0);
    return found;
}

// --- for the Grep window ---

bool TextView::ShowHit(const std::string& pattern, const std::string& replacement, int line)
{
    EnsureLoaded();
    if (line < 0 || line >= doc_->LineCount()) return false;
    const std::unique_ptr<const Matcher> matcher = MakeMatcher({pattern}, TextMatcher::AfterRejected::kNextByte);
    const std::optional<TextDoc::Match> match = doc_->Find(*matcher, {line, 0}, true);
    if (!match || match->start.line != line) return false;
    // The whole hit comes into view, its start first when it is wider
    // than the window.
    CaretModel& carets = CaretsToChange();
    carets.Select(match->start, match->end);
    UpdateCaret();
    carets.PlaceCaret(match->start);
    UpdateCaret();
    SelectionChanged();
    SetFindSucceeded(true);
    PrepareFind(pattern, replacement);
    return true;
}

void TextView::PrepareFind(const std::string& pattern, const std::string& replacement)
{
    SearchOptions& options = doc_->Options();
    options.search_patt = pattern;
    options.replace_patt = replacement;
    FindReplaceData& data = Finder().MutableData();
    data.findWhat = pattern;
    data.replaceWith = replacement;
    if (!Dialog()) Finder().TakeFlagsFrom(options);
    Finder().EnsureDialogObject();
}

bool TextView::HasUnsavedChanges() const
{
    return doc_->Modified();
}
