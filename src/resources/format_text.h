#pragma once
// Formatting of a string-table text with typed arguments. The directives
// are printf's: %d and %i (with l or ll) take a signed integer, %u, %x and
// %X an unsigned one, %s a text, %% is a percent sign; flags, width and
// precision are kept. The arguments carry their own types, so a long, an
// int or a std::string each reach their directive as what they are, never
// as the bytes of some other type.
//
// A text whose directives do not fit its arguments (one too few or too
// many, a number for %s, a text for %d) is a fault of the caller: debug
// builds stop at it, so the tests find it; other builds print "%?" for
// each directive without a fitting argument and drop arguments left over.

#include "resources/strings.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace strings {

// One argument of a format: an integer or a text.
class FormatArgument {
public:
    enum class Kind { kSigned, kUnsigned, kText };

    template <typename T>
        requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char>)
    FormatArgument(T value)  // NOLINT(google-explicit-constructor): arguments convert as they are passed
        : kind_(std::is_signed_v<T> ? Kind::kSigned : Kind::kUnsigned)
    {
        if constexpr (std::is_signed_v<T>)
            signed_ = value;
        else
            unsigned_ = value;
    }
    FormatArgument(const char* text) : kind_(Kind::kText), text_(text ? text : "") {}  // NOLINT
    FormatArgument(std::string_view text) : kind_(Kind::kText), text_(text) {}           // NOLINT
    FormatArgument(const std::string& text) : kind_(Kind::kText), text_(text) {}         // NOLINT

    Kind ArgumentKind() const { return kind_; }
    long long Signed() const { return kind_ == Kind::kSigned ? signed_ : static_cast<long long>(unsigned_); }
    unsigned long long Unsigned() const
    {
        return kind_ == Kind::kUnsigned ? unsigned_ : static_cast<unsigned long long>(signed_);
    }
    std::string_view Text() const { return text_; }

private:
    Kind kind_;
    long long signed_ = 0;
    unsigned long long unsigned_ = 0;
    std::string_view text_;
};

// What is wrong with `arguments` for the directives of `format` (an
// English sentence for the fault report), or nothing when they fit.
std::optional<std::string> FormatFault(std::string_view format, std::initializer_list<FormatArgument> arguments);

// `format` with its directives replaced by `arguments`.
std::string FormatWith(std::string_view format, std::initializer_list<FormatArgument> arguments);

// String `id` of the table, formatted with `arguments`.
template <typename... Arguments>
std::string Format(int id, const Arguments&... arguments)
{
    return FormatWith(Text(id), {FormatArgument(arguments)...});
}

} // namespace strings

// A string-table text (strings::Text(id)) formatted with `arguments`.
template <typename... Arguments>
std::string FormatText(const char* format, const Arguments&... arguments)
{
    return strings::FormatWith(format ? format : "", {strings::FormatArgument(arguments)...});
}
