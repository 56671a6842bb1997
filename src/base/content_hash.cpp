#include "base/content_hash.h"

ContentHash& ContentHash::Add(std::string_view bytes)
{
    std::uint64_t hash = hash_;
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    hash_ = hash;
    return *this;
}
