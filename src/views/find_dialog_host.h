#pragma once
// The Find and Replace dialogs of one document window: the record they
// edit, the dialog itself (modeless, one at a time) and which of the two
// is open. Every press of a dialog's button asks the window for one search
// by `searchRequested`; the dialog closes after it.

#include "framework/find_replace_dialog.h"
#include "resources/command_ids.h"

#include <QObject>
#include <QPointer>

#include <string>

struct SearchOptions;
class QWidget;

class FindDialogHost : public QObject {
    Q_OBJECT
public:
    // Longest find or replace text the dialogs take.
    static constexpr int kFindBufferSize = 128;

    explicit FindDialogHost(QWidget* window);
    ~FindDialogHost() override;

    FindReplaceDialog* Dialog() const { return dialog_; }
    const FindReplaceData& Data() const { return data_; }
    FindReplaceData& MutableData() { return data_; }
    // The command that opened the dialog (Find or Replace), kNone when none.
    cmd::Command OpenKind() const { return open_kind_; }
    void SetOpenKind(cmd::Command kind) { open_kind_ = kind; }

    // Opens the Find (Replace) dialog primed with the document's options
    // and `selected` (else the last find text). With a dialog already on
    // the screen it searches at once instead, as Next does.
    void Open(cmd::Command kind, const SearchOptions& options, const std::string& selected);
    // Next: takes the texts and flags a shown dialog holds, then asks for
    // one search (never a replacement).
    void Next();
    // Makes sure a dialog object exists (hidden) and shows the record.
    void EnsureDialogObject();
    // The direction, case and whole-word flags as the options hold them.
    void TakeFlagsFrom(const SearchOptions& options);

signals:
    void searchRequested();

private:
    void OnNotified(const FindReplaceData& data);
    void Connect();

    QWidget* window_;
    FindReplaceData data_;
    QPointer<FindReplaceDialog> dialog_;
    cmd::Command open_kind_ = cmd::kNone;
};
