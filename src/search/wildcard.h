#pragma once
// File name patterns: `*` matches any run of characters, `?` exactly one,
// every other character itself with ASCII letters compared without regard
// to case. A pattern that ends in ".*" also matches a name without that
// dot, so "*.*" matches every name, with or without a dot.

#include <string_view>

namespace wildcard {

bool Matches(std::string_view pattern, std::string_view name) noexcept;

} // namespace wildcard
