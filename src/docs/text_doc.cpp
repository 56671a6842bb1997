#include "docs/text_doc.h"

#include <cerrno>
#include <cstring>

#include "base/characters.h"
#include "base/text_rules.h"
#include "docs/doc_errors.h"
#include "docs/text_loader.h"

TextDoc::TextDoc(std::string fileName) : LinesDoc(std::move(fileName)) {}

TextDoc::~TextDoc() = default;

bool TextDoc::Load(const RepaintHook& repaint, int repaintLine)
{
    BeginLoad();
    if (loader_ && repaint && repaintLine > 0) loader_->NotifyAt(static_cast<std::size_t>(repaintLine) + 1, repaint);
    LoadState state = LoadState::kMore;
    while (state == LoadState::kMore) state = LoadStep(std::size_t{64} << 20);
    return state == LoadState::kDone;
}

void TextDoc::BeginLoad()
{
    Clear();
    auto loader = std::make_unique<TextLoader>(FileName());
    if (!loader->IsOpen()) {
        // Error 1 stays set for the view to report; the window keeps one
        // empty line and the file's name. A file that is there but could
        // not be read must not be saved over; a missing one is new.
        SetDiskIdentity(IdentityOfPath(FileName()));
        SetUnread(loader->OpenError() != ENOENT);
        SetError(doc_error::kOpen);
        SetLineEnd(LineEnd::kCrLf);
        InsertLine(0, {});
        SetModified(false);
        return;
    }
    SetError(doc_error::kNone);
    SetDiskIdentity(loader->Identity());
    SetUnread(false);
    loader_ = std::move(loader);
    SetLoading(true);
}

TextDoc::LoadState TextDoc::LoadStep(std::size_t bytes)
{
    if (!loader_) return Error() == doc_error::kNone || Error() == doc_error::kOpen ? LoadState::kDone : LoadState::kFailed;
    TextLoader::Target target{Lines(), Chunks(), Widths(), TabSize()};
    if (const int error = loader_->Step(target, bytes)) {
        // The document is left empty with the code of what failed.
        EndLoad();
        Clear();
        SetError(error);
        SetUnread(true);
        return LoadState::kFailed;
    }
    SetMaxWidth(loader_->Widest());
    if (!loader_->Done()) return LoadState::kMore;
    SetLineEnd(loader_->SawLineEnd() && !loader_->FirstLineEndIsCrLf() ? LineEnd::kLf : LineEnd::kCrLf);
    EndLoad();
    // An empty file is one empty line.
    if (LineCount() == 0) InsertLine(0, {});
    SetModified(false);
    return LoadState::kDone;
}

void TextDoc::FinishLoad()
{
    if (next_) {
        FinishReload();
        return;
    }
    while (LoadStep(std::size_t{64} << 20) == LoadState::kMore) {
    }
}

void TextDoc::EndLoad()
{
    loader_.reset();
    SetLoading(false);
}

void TextDoc::Clear()
{
    next_.reset();
    EndLoad();
    LinesDoc::Clear();
}

TextDoc::LoadState TextDoc::BeginReload()
{
    if (Loading()) FinishLoad();
    auto next = std::make_unique<TextDoc>(FileName());
    next->SetTabSize(TabSize());
    next->BeginLoad();
    if (!next->loader_) {
        SetError(doc_error::kOpen);
        return reload_state_ = LoadState::kFailed;
    }
    next_ = std::move(next);
    // Every change reads the rest first (FinishLoad), so that it is made to
    // the text it will stay in.
    SetLoading(true);
    return ReloadStep();
}

TextDoc::LoadState TextDoc::FinishReload()
{
    LoadState state = ReloadSome(std::size_t{64} << 20);
    while (state == LoadState::kMore) state = ReloadSome(std::size_t{64} << 20);
    return state;
}

TextDoc::LoadState TextDoc::ReloadSome(std::size_t bytes)
{
    if (!next_) return reload_state_;
    const LoadState state = next_->LoadStep(bytes);
    if (state == LoadState::kMore) return state;
    reload_state_ = state;
    SetLoading(false);
    if (state == LoadState::kFailed) {
        SetError(next_->Error());
        next_.reset();
        return state;
    }
    TakeTextOf(*next_);
    next_.reset();  // with the old text
    return state;
}

std::size_t TextDoc::LoadedBytes() const
{
    if (next_) return next_->LoadedBytes();
    return loader_ ? loader_->BytesRead() : 0;
}

std::size_t TextDoc::FileBytes() const
{
    if (next_) return next_->FileBytes();
    return loader_ ? loader_->FileSize() : 0;
}

// --- finding text ---

std::optional<TextDoc::Match> TextDoc::Find(const Matcher& matcher, TextPosition from, bool down) const
{
    if (from.line < 0) return std::nullopt;
    const int count = LineCount();
    bool first = true;
    for (int line = from.line; line >= 0 && line < count; line += down ? 1 : -1, first = false) {
        const TextLine* row = GetLine(line);
        // The search runs on the line's bytes, as the file holds them: a
        // tab is found by a tab only, never by the spaces it shows as.
        const std::string_view text = row->View();
        const int start = first ? std::max(from.column, 0) : 0;
        const auto at = static_cast<std::size_t>(ColumnToIndex(row, start));
        std::optional<ByteSpan> found;
        if (down) {
            found = matcher.Find(text, at);
        } else {
            // Up: of the matches that end at or before the column, the one
            // that ends last; of those that end there, the longest.
            const std::size_t stop = first ? at : text.size();
            for (auto span = matcher.Find(text, 0); span && span->start <= stop;
                 span = span->start < text.size() ? matcher.Find(text, span->start + 1) : std::nullopt)
                if (span->end <= stop && (!found || span->end > found->end)) found = span;
        }
        if (found) {
            const auto column = [&](std::size_t p) { return PrefixWidth(row, static_cast<int>(p)); };
            return Match{{line, column(found->start)}, {line, column(found->end)}};
        }
    }
    return std::nullopt;
}

bool TextDoc::FindText(const Matcher& matcher, int& line, int& column) const
{
    const bool down = Options().down != 0;
    const auto found = Find(matcher, {line, column + (down ? 1 : -1)}, down);
    if (!found) return false;
    line = found->start.line;
    column = found->start.column;
    return true;
}

std::string TextDoc::LeadingWhiteSpace(int line) const
{
    const TextLine* row = GetLine(line);
    if (!row) return {};
    const std::string_view text = row->View();
    return std::string(text.substr(0, std::min(text.find_first_not_of(" \t"), text.size())));
}
