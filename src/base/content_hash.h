#pragma once
// A 64-bit FNV-1a hash of a file's bytes, taken in pieces: enough to tell
// whether a file still holds the bytes a write left in it (the size is
// always compared as well).

#include <cstdint>
#include <string_view>

class ContentHash {
public:
    ContentHash& Add(std::string_view bytes);
    std::uint64_t value() const { return hash_; }

    static std::uint64_t Of(std::string_view bytes) { return ContentHash().Add(bytes).value(); }

private:
    std::uint64_t hash_ = 14695981039346656037ull;
};
