#include "views/find_dialog_host.h"

#include "docs/search_options.h"

FindDialogHost::FindDialogHost(QWidget* window) : QObject(window), window_(window)
{
    data_.bufferSize = kFindBufferSize;
}

FindDialogHost::~FindDialogHost()
{
    if (dialog_) delete dialog_.data();
}

void FindDialogHost::TakeFlagsFrom(const SearchOptions& options)
{
    data_.flags &= ~(findflags::kMatchCase | findflags::kWholeWord | findflags::kDown);
    if (options.case_sensitive) data_.flags |= findflags::kMatchCase;
    if (options.whole_words) data_.flags |= findflags::kWholeWord;
    if (options.down) data_.flags |= findflags::kDown;
}

void FindDialogHost::Open(cmd::Command kind, const SearchOptions& options, const std::string& selected)
{
    TakeFlagsFrom(options);
    data_.findWhat = selected.empty() ? options.search_patt : selected;
    if (data_.findWhat.size() >= std::size_t(kFindBufferSize)) data_.findWhat.resize(std::size_t(kFindBufferSize) - 1);
    if (kind == cmd::kSearchReplace) data_.replaceWith = options.replace_patt;

    if (dialog_ && dialog_->isVisible()) {
        open_kind_ = kind;
        return Next();
    }
    if (dialog_) delete dialog_.data();
    const auto dialogKind = kind == cmd::kSearchFind ? FindReplaceDialog::Kind::Find : FindReplaceDialog::Kind::Replace;
    dialog_ = new FindReplaceDialog(window_, dialogKind, data_);
    Connect();
    open_kind_ = kind;
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void FindDialogHost::EnsureDialogObject()
{
    if (dialog_) return dialog_->setData(data_);
    dialog_ = new FindReplaceDialog(window_, FindReplaceDialog::Kind::Find, data_);
    Connect();
}

void FindDialogHost::Connect()
{
    connect(dialog_, &FindReplaceDialog::notified, this, &FindDialogHost::OnNotified);
}

void FindDialogHost::OnNotified(const FindReplaceData& data)
{
    data_ = data;
    if (data.flags & findflags::kTerminating) {
        open_kind_ = cmd::kNone;
        return;
    }
    // One operation per press: the dialog ends with it.
    dialog_->hide();
    emit searchRequested();
    if (dialog_) dialog_->close();
}

void FindDialogHost::Next()
{
    if (dialog_) {
        const FindReplaceData current = dialog_->data();
        data_.findWhat = current.findWhat;
        if (dialog_->kind() == FindReplaceDialog::Kind::Replace) data_.replaceWith = current.replaceWith;
        data_.flags = current.flags;
    }
    data_.flags |= findflags::kFindNext;
    data_.flags &= ~(findflags::kReplace | findflags::kReplaceAll);
    emit searchRequested();
}
