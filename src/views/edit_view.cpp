#include "views/edit_view.h"

#include "docs/doc_errors.h"
#include "docs/lines_doc.h"
#include "framework/file_filter.h"
#include "framework/frame_services.h"
#include "framework/message_box.h"
#include "print/document_print.h"
#include "resources/command_ids.h"
#include "resources/strings.h"
#include "views/load_when_shown.h"
#include "views/save_as_dialog.h"
#include "views/window_caption.h"

#include <QCloseEvent>
#include <QPointer>

#include <algorithm>

EditView::EditView(QWidget* parent)
    : CellView(parent), finder_(new FindDialogHost(this)), loader_(new LoadWhenShown(this, [this] { load_started_ ? ReadNextStep() : LoadDocument(); }))
{
    connect(finder_, &FindDialogHost::searchRequested, this, [this] { PerformFindReplace(); });
}

EditView::~EditView()
{
    // A window closed while its file loads takes its gauge with it.
    if (hasFocus() && !loaded_) SetLoadProgress(-1);
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
    if (loaded_) return;
    ReadRest();
    AfterRead(ReadState::kDone);
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
    if (!loaded_) AfterRead(ReadMore());
}

void EditView::AfterRead(ReadState state)
{
    if (loaded_) return;
    if (state == ReadState::kFailed) {
        loaded_ = true;
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
    SetCaption(this, DocumentCaption(Document()));
}

bool EditView::CanSave() const
{
    return Document() && Document()->Modified() && !Document()->FileName().empty();
}

void EditView::CmSave()
{
    if (!Document()) return;
    if (Document()->FileName().empty()) return CmSaveAs();
    if (Document()->Save()) DocumentSaved();
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
    if (Document()->Save(name)) {
        DocumentSaved();
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
