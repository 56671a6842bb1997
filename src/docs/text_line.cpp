#include "docs/text_line.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// Every empty line shares this text: an empty line costs no heap block.
char g_empty[1] = {'\0'};

char* CopyBytes(std::string_view text)
{
    auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (!copy) return nullptr;
    if (!text.empty()) std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

} // namespace

TextLine::TextLine() noexcept : text_(g_empty), size_(0), store_(kExternal) {}

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

TextLine::TextLine(TextLine&& other) noexcept
    : text_(std::exchange(other.text_, g_empty)),
      size_(std::exchange(other.size_, 0)),
      store_(std::exchange(other.store_, kExternal))
{
}

TextLine& TextLine::operator=(TextLine&& other) noexcept
{
    if (this != &other) {
        FreeOwned();
        text_ = std::exchange(other.text_, g_empty);
        size_ = std::exchange(other.size_, 0);
        store_ = std::exchange(other.store_, kExternal);
    }
    return *this;
}

TextLine::~TextLine()
{
    FreeOwned();
}

bool TextLine::SetText(std::string_view text)
{
    char* copy = text.empty() ? g_empty : CopyBytes(text);
    FreeOwned();
    text_ = copy;
    size_ = copy ? static_cast<std::uint32_t>(text.size()) : 0;
    store_ = (copy && copy != g_empty) ? kOwned : kExternal;
    return copy != nullptr;
}

void TextLine::FreeOwned() noexcept
{
    if (store_ == kOwned) std::free(text_);
    text_ = g_empty;
    size_ = 0;
    store_ = kExternal;
}
