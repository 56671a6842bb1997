#include "tools/hit_printer.h"

#include "tools/json_text.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <vector>

#include <sys/stat.h>

namespace {

void AppendNumber(std::string& out, std::uint64_t number)
{
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, number);
    out.append(digits, written.ptr);
}

void AppendDuration(std::string& out, std::chrono::nanoseconds elapsed)
{
    const auto nanos = static_cast<std::uint64_t>(elapsed.count());
    out += "{\"secs\":";
    AppendNumber(out, nanos / 1000000000);
    out += ",\"nanos\":";
    AppendNumber(out, nanos % 1000000000);
    out += ",\"human\":\"";
    char human[32];
    const auto written = std::to_chars(human, human + sizeof human, static_cast<double>(nanos) / 1e9,
                                       std::chars_format::fixed, 6);
    out.append(human, written.ptr);
    out += "s\"}";
}

} // namespace

HitPrinter::HitPrinter(Form form, int context_lines, const TextMatcher& matcher)
    : form_(form), context_(context_lines < 0 ? 0 : context_lines), matcher_(matcher)
{
}

HitPrinter::~HitPrinter() = default;

void HitPrinter::Hit(std::string& out, const GrepHit& hit)
{
    if (!file_open_ || hit.path != path_) {
        CloseFile(out);
        OpenFile(out, hit.path);
    }
    // The context owed to the hit before, up to this hit's line.
    if (next_line_ > 0) after_owed_ -= PrintFollowing(out, hit.line, after_owed_);

    // The context before this hit, from the last line printed on when
    // they touch, else read back from the hit's line.
    const long first = std::max<long>(hit.line - context_, std::max<long>(next_line_, 1));
    const bool joined = next_line_ > 0 && first == next_line_;
    if (form_ == Form::kContext && printed_any_ && !joined) out += "--\n";
    if (joined) {
        PrintFollowing(out, hit.line, context_);
    } else {
        std::vector<std::uint64_t> starts;
        std::uint64_t start = hit.line_offset;
        for (long n = hit.line - 1; n >= first; --n) starts.push_back(start = Lines().PreviousLineStart(start));
        next_line_ = first;
        next_offset_ = starts.empty() ? hit.line_offset : starts.back();
        PrintFollowing(out, hit.line, context_);
    }

    std::string_view bytes;
    if (hit.text) {
        bytes = *hit.text;
    } else if (const std::optional<FileLines::Line> line = Lines().LineAt(hit.line_offset)) {
        bytes = line->bytes;
    }
    PrintLine(out, hit.line, hit.line_offset, bytes, &hit.match);
    next_line_ = hit.line + 1;
    next_offset_ = hit.line_offset + bytes.size();
    after_owed_ = context_;
    printed_any_ = true;
}

int HitPrinter::PrintFollowing(std::string& out, long stop, int count)
{
    int printed = 0;
    while (printed < count && next_line_ < stop) {
        const std::optional<FileLines::Line> line = Lines().LineAt(next_offset_);
        if (!line) break;
        PrintLine(out, next_line_, next_offset_, line->bytes, nullptr);
        ++next_line_;
        next_offset_ += line->bytes.size();
        ++printed;
    }
    return printed;
}

void HitPrinter::PrintLine(std::string& out, long number, std::uint64_t offset, std::string_view bytes,
                           const ByteSpan* first_match)
{
    const std::size_t before = out.size();
    const std::string_view text = WithoutLineEnd(bytes);
    switch (form_) {
    case Form::kText:
        AppendResultLine(out, path_, static_cast<std::uint64_t>(number));
        out += '\t';
        out.append(text);
        out += '\n';
        break;
    case Form::kContext:
        out.append(path_);
        out += first_match ? ':' : '-';
        AppendNumber(out, static_cast<std::uint64_t>(number));
        out += first_match ? ':' : '-';
        out.append(text);
        out += '\n';
        break;
    case Form::kJson: {
        out += first_match ? "{\"type\":\"match\",\"data\":{\"path\":" : "{\"type\":\"context\",\"data\":{\"path\":";
        out += path_json_;
        out += ",\"lines\":";
        AppendJsonData(out, bytes);
        out += ",\"line_number\":";
        AppendNumber(out, static_cast<std::uint64_t>(number));
        out += ",\"absolute_offset\":";
        AppendNumber(out, offset);
        out += ",\"submatches\":[";
        if (first_match) {
            // The scan's match first (unless the file has changed under
            // it), then every further one of the line.
            std::optional<ByteSpan> span;
            if (first_match->end > first_match->start && first_match->end <= text.size()) span = *first_match;
            else span = matcher_.Find(text, 0);
            bool comma = false;
            while (span) {
                if (comma) out += ',';
                comma = true;
                out += "{\"match\":";
                AppendJsonData(out, text.substr(span->start, span->end - span->start));
                out += ",\"start\":";
                AppendNumber(out, span->start);
                out += ",\"end\":";
                AppendNumber(out, span->end);
                out += '}';
                ++file_.matches;
                span = matcher_.Find(text, std::max(span->end, span->start + 1));
            }
        }
        out += "]}}\n";
        break;
    }
    }
    if (first_match) ++file_.matched_lines;
    file_.bytes_printed += out.size() - before;
}

void HitPrinter::OpenFile(std::string& out, std::string_view path)
{
    path_.assign(path);
    path_json_.clear();
    AppendJsonData(path_json_, path_);
    lines_.reset();
    file_open_ = true;
    next_line_ = 0;
    after_owed_ = 0;
    file_ = Tally{};
    file_.searches_with_match = 1;
    if (form_ != Form::kJson) return;
    struct stat st;
    if (::stat(path_.c_str(), &st) == 0) file_.bytes_searched = static_cast<std::uint64_t>(st.st_size);
    const std::size_t before = out.size();
    out += "{\"type\":\"begin\",\"data\":{\"path\":";
    out += path_json_;
    out += "}}\n";
    file_.bytes_printed += out.size() - before;
}

FileLines& HitPrinter::Lines()
{
    if (!lines_) lines_ = std::make_unique<FileLines>(path_);
    return *lines_;
}

void HitPrinter::CloseFile(std::string& out)
{
    if (!file_open_) return;
    PrintFollowing(out, LONG_MAX, after_owed_);
    if (form_ == Form::kJson) {
        std::string end = "{\"type\":\"end\",\"data\":{\"path\":";
        end += path_json_;
        end += ",\"binary_offset\":null,\"stats\":";
        // The bytes printed are those of the file's messages before this.
        AppendStats(end, file_, std::chrono::nanoseconds(0), 1);
        end += "}}\n";
        out += end;
    }
    total_.bytes_searched += file_.bytes_searched;
    total_.bytes_printed += file_.bytes_printed;
    total_.matched_lines += file_.matched_lines;
    total_.matches += file_.matches;
    total_.searches_with_match += file_.searches_with_match;
    lines_.reset();
    file_open_ = false;
}

void HitPrinter::AppendStats(std::string& out, const Tally& tally, std::chrono::nanoseconds elapsed, long searches)
{
    out += "{\"elapsed\":";
    AppendDuration(out, elapsed);
    out += ",\"searches\":";
    AppendNumber(out, static_cast<std::uint64_t>(searches));
    out += ",\"searches_with_match\":";
    AppendNumber(out, static_cast<std::uint64_t>(tally.searches_with_match));
    out += ",\"bytes_searched\":";
    AppendNumber(out, tally.bytes_searched);
    out += ",\"bytes_printed\":";
    AppendNumber(out, tally.bytes_printed);
    out += ",\"matched_lines\":";
    AppendNumber(out, static_cast<std::uint64_t>(tally.matched_lines));
    out += ",\"matches\":";
    AppendNumber(out, static_cast<std::uint64_t>(tally.matches));
    out += '}';
}

void HitPrinter::Finish(std::string& out, long files_searched)
{
    CloseFile(out);
    if (form_ != Form::kJson) return;
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - started_);
    out += "{\"type\":\"summary\",\"data\":{\"elapsed_total\":";
    AppendDuration(out, elapsed);
    out += ",\"stats\":";
    AppendStats(out, total_, elapsed, files_searched);
    out += "}}\n";
}
