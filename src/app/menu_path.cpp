#include "app/menu_path.h"

#include "base/characters.h"

namespace {

constexpr std::string_view kEllipsis = "...";

std::size_t Characters(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += static_cast<std::size_t>(text::CharAt(text, i).length))
        ++count;
    return count;
}

// The byte offset after the first `n` characters of `text`.
std::size_t PrefixBytes(std::string_view text, std::size_t n)
{
    std::size_t i = 0;
    for (; i < text.size() && n > 0; --n) i += static_cast<std::size_t>(text::CharAt(text, i).length);
    return i;
}

// The byte offset where the last `n` characters of `text` start.
std::size_t SuffixStart(std::string_view text, std::size_t n)
{
    std::size_t i = text.size();
    for (; i > 0 && n > 0; --n) i = text::PrevCharStart(text, i);
    return i;
}

std::string ShortenName(std::string_view name, std::size_t limit)
{
    if (Characters(name) <= limit) return std::string(name);
    const std::size_t keep = limit > kEllipsis.size() ? limit - kEllipsis.size() : 0;
    const std::size_t tail = keep / 2 + keep % 2, head = keep / 2;
    return std::string(name.substr(0, PrefixBytes(name, head))) + std::string(kEllipsis) +
           std::string(name.substr(SuffixStart(name, tail)));
}

} // namespace

std::string ShortenPathForMenu(std::string_view path, std::size_t limit)
{
    if (Characters(path) <= limit) return std::string(path);
    const std::size_t last = path.rfind('/');
    if (last == std::string_view::npos) return ShortenName(path, limit);

    // The first directory ("/home/"), kept when it fits.
    const std::size_t first_end = path.find('/', path.front() == '/' ? 1 : 0);
    std::string_view head = path.substr(0, first_end + 1);
    std::string_view tail = path.substr(last);  // "/name"
    if (first_end >= last || Characters(head) + kEllipsis.size() + Characters(tail) > limit) head = {};
    if (Characters(head) + kEllipsis.size() + Characters(tail) > limit)
        return std::string(kEllipsis) + "/" + ShortenName(tail.substr(1), limit - kEllipsis.size() - 1);

    // As many trailing directories as fit beside the head.
    std::size_t start = last;
    while (start > head.size()) {
        const std::size_t before = path.rfind('/', start - 1);
        if (before == std::string_view::npos || before < head.size()) break;
        const std::string_view longer = path.substr(before);
        if (Characters(head) + kEllipsis.size() + Characters(longer) > limit) break;
        start = before;
    }
    return std::string(head) + std::string(kEllipsis) + std::string(path.substr(start));
}
