#include "docs/text_line.h"

#include "docs/text_chunks.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

char* TextLine::AllocateBlock(std::size_t capacity) noexcept
{
    if (capacity > SIZE_MAX - sizeof(Block) - 1) return nullptr;
    auto* block = static_cast<Block*>(TextChunks::AllocateLarge(sizeof(Block) + capacity + 1));
    if (!block) return nullptr;
    *block = Block{capacity, 0, 0, 0, 0};
    char* text = reinterpret_cast<char*>(block + 1);
    text[0] = '\0';
    return text;
}

char* TextLine::CopyBytes(std::string_view text) noexcept
{
    char* copy = AllocateBlock(text.size());
    if (!copy) return nullptr;
    if (!text.empty()) std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

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
    if (store_ == kOwned) OwnedBlock().tabs = static_cast<std::uint32_t>(std::count(text.begin(), text.end(), '\t'));
    return copy != nullptr;
}

void TextLine::FreeText() noexcept
{
    std::free(&OwnedBlock());
}
