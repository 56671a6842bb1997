#include "docs/text_line.h"

#include <cstdlib>
#include <cstring>

namespace {

char* CopyBytes(std::string_view text)
{
    auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (!copy) return nullptr;
    if (!text.empty()) std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

} // namespace

TextLine::TextLine(std::string_view text) : TextLine()
{
    SetText(text);
}

TextLine::TextLine(const TextLine& other) : TextLine()
{
    if (other.text_) SetText(other.View());
    else text_ = nullptr;
}

TextLine& TextLine::operator=(const TextLine& other)
{
    if (this != &other) {
        if (other.text_) SetText(other.View());
        else {
            FreeOwned();
            text_ = nullptr;
            size_ = 0;
            store_ = kExternal;
        }
    }
    return *this;
}

bool TextLine::SetText(std::string_view text)
{
    char* copy = text.empty() ? empty_text_ : CopyBytes(text);
    FreeOwned();
    text_ = copy;
    size_ = copy ? static_cast<std::uint32_t>(text.size()) : 0;
    store_ = (copy && copy != empty_text_) ? kOwned : kExternal;
    return copy != nullptr;
}

void TextLine::FreeText() noexcept
{
    std::free(text_);
}
