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
    *block = Block{capacity, 0, 0, 0, 0, 0};
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
    std::free(reinterpret_cast<char*>(&OwnedBlock()) - OwnedBlock().front);
}

bool TextLine::GrowBlock(std::size_t capacity) noexcept
{
    Block& block = OwnedBlock();
    if (capacity <= block.capacity) return true;
    const std::size_t front = block.front;
    if (capacity > SIZE_MAX - front - sizeof(Block) - 1) return false;
    char* start = reinterpret_cast<char*>(&block) - front;
    // A large block is a mapping of its own that the kernel grows (or
    // moves) without copying a byte.
    auto* grown = static_cast<char*>(std::realloc(start, front + sizeof(Block) + capacity + 1));
    if (!grown) return false;
    text_ = grown + front + sizeof(Block);
    OwnedBlock().capacity = capacity;
    return true;
}

void TextLine::AdoptBlock(char* bytes, std::size_t size) noexcept
{
    bytes[size] = '\0';
    text_ = bytes;
    size_ = static_cast<std::uint32_t>(size);
    store_ = kOwned;
}

void TextLine::Splice(std::size_t at, std::size_t erase, std::string_view text) noexcept
{
    const std::size_t size = size_ - erase + text.size();
    if (erase > 0 || !text.empty()) {
        std::memmove(text_ + at + text.size(), text_ + at + erase, size_ - at - erase);
        if (!text.empty()) std::memcpy(text_ + at, text.data(), text.size());
    }
    if (size < size_ || !text.empty()) text_[size] = '\0';
    size_ = static_cast<std::uint32_t>(size);
}

void TextLine::DropFront(std::size_t count) noexcept
{
    if (count == 0) return;
    if (!Owned()) {
        text_ += count;
        size_ -= static_cast<std::uint32_t>(count);
        return;
    }
    const Block old = OwnedBlock();
    text_ += count;
    size_ -= static_cast<std::uint32_t>(count);
    // The new header lies over bytes that have just left the line (and, for
    // a short drop, over the old header, which was copied first).
    std::memcpy(text_ - sizeof(Block), &old, sizeof(Block));
    Block& block = OwnedBlock();
    block.capacity = old.capacity - count;
    block.front = static_cast<std::uint32_t>(old.front + count);
}

bool TextLine::TakeFront(std::string_view text) noexcept
{
    const Block old = OwnedBlock();
    if (text.size() > old.front) return false;
    if (text.empty()) return true;
    text_ -= text.size();
    size_ += static_cast<std::uint32_t>(text.size());
    std::memcpy(text_ - sizeof(Block), &old, sizeof(Block));
    std::memcpy(text_, text.data(), text.size());
    Block& block = OwnedBlock();
    block.capacity = old.capacity + text.size();
    block.front = static_cast<std::uint32_t>(old.front - text.size());
    return true;
}

void TextLine::TakeAllocation(char* start, std::size_t size) noexcept
{
    char* const header = text_ - sizeof(Block);
    const Block block{static_cast<std::size_t>(start + size - text_) - 1, 0, 0, 0,
                      static_cast<std::uint32_t>(header - start), 0};
    std::memcpy(header, &block, sizeof(Block));
    store_ = kOwned;
}
