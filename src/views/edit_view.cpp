#include "views/edit_view.h"

#include "docs/doc_errors.h"
#include "docs/lines_doc.h"
#include "framework/file_filter.h"
#include "framework/frame_services.h"
#include "framework/message_box.h"
#include "print/document_print.h"
#include "resources/command_ids.h"
#include "resources/format_text.h"
#include "resources/strings.h"
#include "views/file_watch.h"
#include "views/load_when_shown.h"
#include "views/save_as_dialog.h"
#include "views/window_caption.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QTimer>


#include <algorithm>

EditView::EditView(QWidget* parent)
    : CellView(parent), finder_(new FindDialogHost(this)), loader_(new LoadWhenShown(this, [this] { load_started_ ? ReadNextStep() : LoadDocument(); }))
{
    connect(finder_, &FindDialogHost::searchRequested, this, [this] { PerformFindReplace(); });
}

EditView::~EditView()
{
    FileWatch::Shared().Forget(this);
    // A window closed while its file loads takes its gauge with it.
    if (hasFocus() && (!loaded_ || reloading_)) SetLoadProgress(-1);
}

std::string EditView::DocumentPath() const
{
    return Document() ? Document()->FileName() : std::string();
}

const fw::CommandTable& EditView::Commands()
{
    static const fw::CommandTable table(nullptr, {
        fw::On(cmd::kFileSave, &EditView::CmSave, &EditView::CanSave),
        fw::On(cmd::kFileSaveAs, &EditView::CmSaveAs),
        fw::On(cmd::kFileReload, &EditView::CmReload, &EditView::CanReload),
        fw::On(cmd::kFilePrint, &EditView::CmPrint),
        fw::On(cmd::kFilePrintPreview, &EditView::CmPrintPreview),
        fw::On(cmd::kSearchFind, &EditView::CmFind),
        fw::On(cmd::kSearchReplace, &EditView::CmReplace),
        fw::On(cmd::kSearchNext, &EditView::CmNext, &EditView::CanNext),
    });
    return table;
}

void EditView::SetFindSucceeded(bool found)
{
    find_succeeded_ = found;
    emit commandStateChanged();
}

// --- loading ---

void EditView::LoadWhenFirstShown()
{
    loader_->Arm();
}

void EditView::EnsureLoaded()
{
    if (!load_started_) LoadDocument();
    if (reloading_) AfterReload(Document()->FinishReload());
    if (loaded_) return;
    AfterRead(ReadRest());
}

EditView::ReadState EditView::BeginRead()
{
    return Document()->Load([this] { viewport()->repaint(); }, std::max(1, LinesPerPage())) ? ReadState::kDone
                                                                                           : ReadState::kFailed;
}

void EditView::LoadDocument()
{
    if (load_started_ || !Document()) return;
    load_started_ = true;
    loader_->Disarm();
    QPointer<EditView> alive(this);
    const ReadState state = BeginRead();
    if (!alive) return;
    MoveCaretTo({0, 0});
    AfterRead(state);
}

void EditView::ReadNextStep()
{
    if (reloading_) return AfterReload(Document()->ReloadStep());
    if (!loaded_) AfterRead(ReadMore());
}

void EditView::AfterRead(ReadState state)
{
    if (loaded_) return;
    if (state == ReadState::kFailed) {
        loaded_ = true;
        load_failed_ = true;
        UpdateStatus();
        ShowMessage(strings::kOpenFileError, fw::kMbOk | fw::kMbIconStop, Document()->Error(), Document()->FileName().c_str());
        CloseHoldingWindowLater(this);
        return;
    }
    loaded_ = state == ReadState::kDone;
    // The lines read so far show at once; the caret field's line count and
    // the load gauge grow as the rest comes in.
    RecomputeMetrics();
    UpdateStatus();
    if (!loaded_) return loader_->PostAgain();
    // A text file that vanished loads as one empty line and says so here.
    ReportDocError();
    emit commandStateChanged();
    // What the file watcher would have told while the file was read.
    FollowFile();
    LookSoon();
}

// --- the file on disk ---

void EditView::FollowFile()
{
    if (!Document() || Document()->FileName().empty()) return;
    QPointer<EditView> self(this);
    FileWatch::Shared().Follow(this, Document()->FileName(), [self] {
        if (self) self->LookSoon();
    });
}

void EditView::LookSoon()
{
    if (look_pending_) return;
    look_pending_ = true;
    QTimer::singleShot(cmd::kDiskSettleMs, this, [this] {
        look_pending_ = false;
        LookAtDisk();
    });
}

void EditView::LookAtDisk()
{
    if (!Document() || Document()->FileName().empty() || !loaded_) return;
    // A question on the screen, a reload or a run first ends; then the look
    // is made.
    if (asking_ || reloading_ || Busy()) {
        look_deferred_ = true;
        return;
    }
    // A dialog of any window may be open: the look waits until it closes.
    if (QApplication::activeModalWidget()) return LookSoon();
    look_deferred_ = false;
    const FileIdentity now = IdentityOfPath(Document()->FileName());
    const DiskCheck::Action action = disk_.Look(Document()->DiskIdentity(), now, Document()->Modified());
    FollowFile();
    SetTitle();
    emit commandStateChanged();
    if (action == DiskCheck::Action::kReload) return StartReload(now);
    if (action != DiskCheck::Action::kAsk) return;
    QPointer<EditView> alive(this);
    asking_ = true;
    const int answer = AskAboutFile(strings::kChangedOnDiskQuery, fw::kMbYesNo | fw::kMbIconQuestion,
                                    strings::kReloadButton, strings::kKeepMineButton);
    if (!alive) return;
    asking_ = false;
    if (answer == fw::kIdYes) return StartReload(now);
    disk_.Settle(now);
    if (look_deferred_) LookSoon();
}

int EditView::AskAboutFile(int id, unsigned style, int yes_text, int no_text)
{
    fw::MessageRequest request;
    request.owner = FrameWindow();
    request.text = QString::fromLocal8Bit(strings::Format(id, Document()->GetTitle()));
    request.caption = QString::fromLatin1(strings::Text(strings::kAppName));
    request.style = style;
    if (yes_text) request.yes_text = QString::fromLatin1(strings::Text(yes_text));
    if (no_text) request.no_text = QString::fromLatin1(strings::Text(no_text));
    return fw::ShowMessageBox(request);
}

void EditView::StartReload(const FileIdentity& seen)
{
    EnsureLoaded();
    if (reloading_) return;
    reload_seen_ = seen;
    reload_caret_ = Caret();
    reload_top_ = TopLine();
    reloading_ = true;
    AfterReload(Document()->BeginReload());
}

void EditView::AfterReload(ReadState state)
{
    if (!reloading_) return;
    if (state == ReadState::kMore) {
        UpdateStatus();  // the load gauge
        return loader_->PostAgain();
    }
    reloading_ = false;
    UpdateStatus();
    if (state == ReadState::kFailed) {
        // The text stays; this version of the file is not tried again by
        // itself (File > Reload does).
        disk_.Settle(reload_seen_);
        Document()->SetError(0);
        ShowMessage(strings::kReloadFailed, fw::kMbOk | fw::kMbIconExclamation, Document()->GetTitle().c_str());
    } else {
        disk_.Reset();
        DocumentReloaded();
        // The caret keeps its line and column and the window its top line,
        // as far as the new text has them.
        CaretsToChange().MoveTo(reload_caret_);
        RecomputeMetrics();
        ScrollVertical(reload_top_ - TopLine());
        UpdateStatus();
        SelectionChanged();
    }
    SetTitle();
    emit commandStateChanged();
    if (look_deferred_) LookSoon();
}

bool EditView::CatchUpWithDisk()
{
    EnsureLoaded();
    if (!Document() || Document()->FileName().empty()) return true;
    const FileIdentity now = IdentityOfPath(Document()->FileName());
    if (!DiskCheck::SaveMustAsk(Document()->DiskIdentity(), now)) return true;
    if (Document()->Modified()) return false;
    StartReload(now);
    EnsureLoaded();
    return !DiskCheck::SaveMustAsk(Document()->DiskIdentity(), IdentityOfPath(Document()->FileName()));
}

bool EditView::CanReload() const
{
    return Document() && !Document()->FileName().empty() && loaded_ && !reloading_;
}

void EditView::CmReload()
{
    if (!CanReload() || Busy()) return;
    if (Document()->Modified() &&
        AskAboutFile(strings::kReloadDiscardQuery, fw::kMbYesNo | fw::kMbIconQuestion) != fw::kIdYes)
        return;
    StartReload(IdentityOfPath(Document()->FileName()));
}

void EditView::focusInEvent(QFocusEvent* e)
{
    CellView::focusInEvent(e);
    // Coming back to the window (or to the program) looks at the file: a
    // change the watcher could not tell of shows then. Not inside the focus
    // change itself, which a question box would disturb.
    QTimer::singleShot(0, this, &EditView::LookAtDisk);
}

void EditView::ReportDocError()
{
    if (!Document() || Document()->Error() == 0) return;
    const int code = Document()->Error();
    Document()->SetError(0);
    const unsigned icon = code == doc_error::kSavedWithWarning ? fw::kMbIconExclamation : fw::kMbIconStop;
    ShowMessage(doc_error::MessageId(code), fw::kMbOk | icon);
}

// --- events ---

void EditView::showEvent(QShowEvent* e)
{
    CellView::showEvent(e);
    loader_->ViewShown();
}

void EditView::closeEvent(QCloseEvent* e)
{
    if (CanClose()) e->accept();
    else e->ignore();
}

bool EditView::CanClose()
{
    ::SetCaretPosition(0, 0, 0);
    return true;
}

// --- title and saving ---

void EditView::SetTitle()
{
    SetCaption(this, DocumentCaption(Document(), disk_.Deleted()));
}

bool EditView::CanSave() const
{
    if (!Document() || Document()->FileName().empty()) return false;
    // A text whose file is gone may be written again as it is; a dump
    // never goes over the name of the file it shows.
    return Document()->Modified() || (disk_.Deleted() && Kind() == ViewKind::Text);
}

bool EditView::MayWriteOver(const std::string& name)
{
    if (!Document()->NamesOwnFile(name)) return true;
    if (Document()->Unread()) {
        ShowMessage(strings::kSaveOverUnread, fw::kMbOk | fw::kMbIconStop, Document()->GetTitle().c_str());
        return false;
    }
    if (!DiskCheck::SaveMustAsk(Document()->DiskIdentity(), IdentityOfPath(name))) return true;
    return AskAboutFile(strings::kSaveOverChangedQuery, fw::kMbYesNo | fw::kMbIconExclamation) == fw::kIdYes;
}

void EditView::NoteSaved()
{
    DocumentSaved();
    disk_.Reset();
    FollowFile();
}

void EditView::CmSave()
{
    if (!Document()) return;
    if (Document()->FileName().empty()) return CmSaveAs();
    EnsureLoaded();
    if (!MayWriteOver(Document()->FileName())) return;
    if (Document()->Save()) NoteSaved();
    SetTitle();
    ReportDocError();
    emit commandStateChanged();
}

void EditView::CmSaveAs()
{
    if (!Document()) return;
    if (const std::optional<std::string> name = AskSaveAsName(this)) SaveAs(*name);
}

void EditView::SaveAs(const std::string& name)
{
    if (!Document() || !MaySaveAs(name)) return;
    EnsureLoaded();
    if (!MayWriteOver(name)) return;
    if (Document()->Save(name)) {
        NoteSaved();
        AddRecentFile(Document()->FileName());
    }
    SetTitle();
    ReportDocError();
    emit commandStateChanged();
}

// --- printing, through the frame's printer ---

void EditView::CmPrint()
{
    EnsureLoaded();
    if (Document()) ::Print(*Document(), this, ViewFont());
}

void EditView::CmPrintPreview()
{
    EnsureLoaded();
    if (Document()) ::PrintPreview(*Document(), this, ViewFont());
}

// --- find and replace dialogs ---

void EditView::CmFind()
{
    if (Document()) finder_->Open(cmd::kSearchFind, Document()->Options(), Carets().SingleLineSelection());
}

void EditView::CmReplace()
{
    if (Document()) finder_->Open(cmd::kSearchReplace, Document()->Options(), Carets().SingleLineSelection());
}

void EditView::CmNext()
{
    finder_->Next();
}
