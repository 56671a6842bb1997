#pragma once
// Walks the line breaks of a text. Each byte is looked at about once however
// many breaks there are, so splitting a text of millions of lines stays
// linear.

#include <cstddef>
#include <cstring>
#include <string_view>

// Which byte sequences end a line.
enum class LineBreakRule {
    // LF, CR, and the pairs CR LF and LF CR, each pair one break: text from
    // the clipboard or another program, whatever its platform.
    kAnyForm,
    // LF, a CR right before it belonging to the break: the text this program
    // copies out of its own lines (joined by CR LF), which may hold lone CR
    // bytes of their own but never an LF. "x\r\r\n" is the line "x\r".
    kLineFeed,
};

class LineBreaks {
public:
    struct Break {
        std::size_t start;  // npos when there is none
        std::size_t end;    // one past the break's last byte
    };

    explicit LineBreaks(std::string_view text, LineBreakRule rule = LineBreakRule::kAnyForm)
        : text_(text), rule_(rule)
    {
    }

    LineBreakRule Rule() const { return rule_; }

    // The first break at or after `from`; calls must not go backwards.
    Break Next(std::size_t from)
    {
        if (!lf_known_ || lf_ < from) lf_ = Find('\n', from), lf_known_ = true;
        if (rule_ == LineBreakRule::kLineFeed) {
            if (lf_ == std::string_view::npos) return {lf_, lf_};
            return {lf_ > from && text_[lf_ - 1] == '\r' ? lf_ - 1 : lf_, lf_ + 1};
        }
        if (!cr_known_ || cr_ < from) cr_ = Find('\r', from), cr_known_ = true;
        const std::size_t p = lf_ < cr_ ? lf_ : cr_;
        if (p == std::string_view::npos) return {p, p};
        std::size_t end = p + 1;
        if (end < text_.size() && text_[end] != text_[p] && (text_[end] == '\n' || text_[end] == '\r')) ++end;
        return {p, end};
    }

private:
    std::size_t Find(char c, std::size_t from) const
    {
        if (from >= text_.size()) return std::string_view::npos;
        const void* hit = std::memchr(text_.data() + from, c, text_.size() - from);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data())
                   : std::string_view::npos;
    }

    std::string_view text_;
    LineBreakRule rule_;
    std::size_t lf_ = 0;
    std::size_t cr_ = 0;
    bool lf_known_ = false;
    bool cr_known_ = false;
};
