#pragma once
// The common base of the text and hex windows: a cell view over a line
// document with the document's commands. It loads the file once the window
// shows, reads the display settings, keeps the caption, offers Save, Save
// As, Print and the Find and Replace dialogs, and reports document errors.
// The derived windows supply their keys, the settings they read and the
// search itself.

#include "framework/document_view.h"
#include "docs/disk_check.h"
#include "docs/lines_doc.h"
#include "framework/command_table.h"
#include "views/cell_view.h"
#include "views/find_dialog_host.h"

#include <string>

class LoadWhenShown;

class EditView : public CellView, public fw::CommandTarget, public DocumentView {
    Q_OBJECT
public:
    static constexpr int kFindBufferSize = FindDialogHost::kFindBufferSize;

    // What one read of the document's file left: more to read, done, failed.
    using ReadState = LinesDoc::LoadState;

    explicit EditView(QWidget* parent = nullptr);
    ~EditView() override;

    static const fw::CommandTable& Commands();
    const fw::CommandTable& commandTable() const override { return Commands(); }

    // --- DocumentView ---
    std::string DocumentPath() const override;
    void ReloadSettings() override { LoadSettings(); }

    cmd::Command OpenDialogKind() const { return finder_->OpenKind(); }
    FindReplaceDialog* Dialog() const { return finder_->Dialog(); }
    const FindReplaceData& FindData() const { return finder_->Data(); }
    // True once the load has run (or was never needed: an untitled view).
    bool Loaded() const { return loaded_; }
    // The load could not read the file (the window is closing).
    bool LoadFailed() const { return load_failed_; }
    // Runs the load now when it is still waiting for the window to show,
    // and reads the rest of a reload that runs.
    void EnsureLoaded();

    // --- the file on disk ---
    // Looks at the file now, as the file watcher and activation make the
    // window do: a file another program changed is reloaded at once when
    // the window has no changes of its own, else the user is asked once
    // whether to reload; a file that is gone is said so in the caption.
    void LookAtDisk();
    // The file could not be seen when last looked at.
    bool FileDeleted() const { return disk_.Deleted(); }
    bool Reloading() const { return reloading_; }

    static QColor ParseColour(std::string_view text) { return DisplaySettings::ParseColour(text); }

    // --- commands ---
    void CmSave();
    bool CanSave() const;
    // File > Reload: reads the file again, asking first when the window
    // has changes of its own.
    void CmReload();
    bool CanReload() const;
    void CmSaveAs();
    // Save As with a name already chosen: saves, retitles, adds the name to
    // the recent files and reports any failure.
    void SaveAs(const std::string& name);
    void CmPrint();
    void CmPrintPreview();
    void CmFind();
    void CmReplace();
    void CmNext();
    bool CanNext() const { return find_succeeded_; }

    // The close query: false keeps the window open.
    virtual bool CanClose();

protected:
    // --- what the derived views replace ---
    virtual void LoadSettings() {}
    // Whether the document may be saved under a name; a view that refuses
    // says why itself.
    virtual bool MaySaveAs(const std::string&) { return true; }
    virtual bool PerformFindReplace() { return false; }
    // The document was just written to its file (Save or Save As).
    virtual void DocumentSaved() {}
    // The document's text was just replaced by the file's (a reload).
    virtual void DocumentReloaded() {}
    // A run that the text must not change under (a replace-all): a look at
    // the disk waits until it ends.
    virtual bool Busy() const { return false; }
    // Called when such a run ends: a look it held back is made.
    void BusyEnded()
    {
        if (look_deferred_) LookSoon();
    }

    // --- what they build on ---
    FindDialogHost& Finder() { return *finder_; }
    void SetTitle();
    void ReportDocError();
    // A save of the document that no one was asked about (a replacement
    // run) is made only over the file the text came from: a window without
    // changes of its own whose file changed reloads first. False when the
    // text is not the file's.
    bool CatchUpWithDisk();
    // What every save that wrote the file ends with.
    void NoteSaved();
    // Whether the document may be written over `name`: not over a file it
    // could not read, and over a file changed since it was loaded or saved
    // only when the user says so.
    bool MayWriteOver(const std::string& name);
    void SetFindSucceeded(bool found);
    bool StopRequested() const { return stop_request_; }
    void SetStopRequest(bool stop) { stop_request_ = stop; }
    // The view reads its file once it first shows.
    void LoadWhenFirstShown();
    // A view without a file to read: nothing is left to load.
    void MarkLoaded() { load_started_ = loaded_ = true; }
    // Reads the document's file, once. The first screenful is painted as
    // soon as it is read; a document read in steps reads the rest between
    // events, so the window answers while a large file loads. A file that
    // cannot be read is reported and its window closed; otherwise any error
    // the load left is reported. The caret starts at the start.
    void LoadDocument();

    // --- how the document is read (a text document reads in steps) ---
    // Starts reading; by default the whole file at once.
    virtual ReadState BeginRead();
    // Reads the next part of a file read in steps.
    virtual ReadState ReadMore() { return ReadState::kDone; }
    // Reads whatever is left at once.
    virtual ReadState ReadRest() { return ReadState::kDone; }
    // How much of a file read in steps is read, 0 to 100; negative when
    // that is not known.
    virtual int ReadPercent() const { return -1; }
    int LoadPercent() const override { return loaded_ && !reloading_ ? -1 : ReadPercent(); }

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // Shows what a read step gave and posts the next one, or ends the load.
    void AfterRead(ReadState state);
    void ReadNextStep();
    // Follows the document's file with the shared file watcher.
    void FollowFile();
    // Looks at the disk once another program has had a moment to finish.
    void LookSoon();
    // Reads the file again (`seen`: the file as the look found it), keeping
    // the caret line and the top line.
    void StartReload(const FileIdentity& seen);
    void AfterReload(ReadState state);
    // Asks a question about the file with the buttons given (empty: Yes, No).
    int AskAboutFile(int id, unsigned style, int yes_text = 0, int no_text = 0);

    FindDialogHost* finder_;
    LoadWhenShown* loader_;
    bool find_succeeded_ = false;
    bool stop_request_ = false;
    bool load_started_ = false;
    bool loaded_ = false;
    bool load_failed_ = false;

    DiskCheck disk_;
    bool look_pending_ = false;   // a look is due once the file settles
    bool look_deferred_ = false;  // a look came while one could not be made
    bool asking_ = false;
    bool reloading_ = false;
    FileIdentity reload_seen_;
    TextPosition reload_caret_;
    int reload_top_ = 0;
};
