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

namespace {

bool IsWholeWord(std::string_view text, std::size_t at, std::size_t length)
{
    return text::WordEndsBefore(text, at) && text::WordEndsAt(text, at + length);
}

} // namespace

std::optional<TextPosition> TextDoc::Find(std::string_view pattern, TextPosition from,
                                          const FindRules& rules) const
{
    if (pattern.empty() || from.line < 0) return std::nullopt;
    const std::string wanted = rules.case_sensitive ? std::string(pattern) : text::UpperAscii(pattern);
    const std::size_t m = wanted.size();
    const int count = LineCount();
    std::string folded;
    bool first = true;
    for (int line = from.line; line >= 0 && line < count; line += rules.down ? 1 : -1, first = false) {
        const TextLine* row = GetLine(line);
        // The search runs on the line's bytes, as the file holds them: a
        // tab is found by a tab only, never by the spaces it shows as.
        std::string_view text = row->View();
        if (!rules.case_sensitive) {
            folded.assign(text);
            for (char& c : folded) c = text::ToUpperAscii(c);
            text = folded;
        }
        const auto column = [&](std::size_t p) { return PrefixWidth(row, static_cast<int>(p)); };
        const int start = first ? std::max(from.column, 0) : 0;
        const auto at = static_cast<std::size_t>(ColumnToIndex(row, start));
        if (rules.down) {
            for (std::size_t p = text.find(wanted, at); p != std::string_view::npos; p = text.find(wanted, p + 1))
                if (!rules.whole_words || IsWholeWord(text, p, m)) return TextPosition{line, column(p)};
        } else {
            // Up: the last occurrence that ends at or before the column.
            std::size_t last = std::string_view::npos;
            if (first) {
                if (at < m) continue;
                last = at - m;
            }
            for (std::size_t p = text.rfind(wanted, last); p != std::string_view::npos;
                 p = p == 0 ? std::string_view::npos : text.rfind(wanted, p - 1))
                if (!rules.whole_words || IsWholeWord(text, p, m)) return TextPosition{line, column(p)};
        }
    }
    return std::nullopt;
}

int TextDoc::MatchEnd(std::string_view pattern, TextPosition match) const
{
    const TextLine* row = GetLine(match.line);
    const int length = static_cast<int>(pattern.size());
    return row ? PrefixWidth(row, ColumnToIndex(row, match.column) + length) : match.column + length;
}

std::optional<TextPosition> TextDoc::FindFrom(std::string_view pattern, TextPosition from, bool down) const
{
    const SearchOptions& options = Options();
    return Find(pattern, from, FindRules{down, options.case_sensitive != 0, options.whole_words != 0});
}

bool TextDoc::FindText(std::string_view pattern, int& line, int& column) const
{
    const bool down = Options().down != 0;
    const auto found = FindFrom(pattern, {line, column + (down ? 1 : -1)}, down);
    if (!found) return false;
    line = found->line;
    column = found->column;
    return true;
}

std::string TextDoc::LeadingWhiteSpace(int line) const
{
    const TextLine* row = GetLine(line);
    if (!row) return {};
    const std::string_view text = row->View();
    return std::string(text.substr(0, std::min(text.find_first_not_of(" \t"), text.size())));
}
