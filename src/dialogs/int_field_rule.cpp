#include "dialogs/int_field_rule.h"

#include <algorithm>
#include <climits>

namespace {

constexpr std::size_t kValueLimit = 15;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The digits' value, held at INT_MAX when it would not fit.
long long DigitsValue(std::string_view digits)
{
    long long value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value > INT_MAX) return INT_MAX;
    }
    return value;
}

} // namespace

IntFieldText FilterIntField(std::string_view typed, int caret, int minimum, int maximum)
{
    IntFieldText result;
    result.caret = std::clamp(caret, 0, static_cast<int>(typed.size()));
    const int caret_before = result.caret;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (IsDigit(typed[i])) {
            result.text += typed[i];
            continue;
        }
        ++result.removed;
        if (static_cast<int>(i) < caret_before) --result.caret;
    }
    const long long value = DigitsValue(result.text);
    if (value < minimum) result.text = std::to_string(minimum);
    else if (value > maximum) result.text = std::to_string(maximum);
    result.caret = std::min(result.caret, static_cast<int>(result.text.size()));
    return result;
}

int IntFieldValue(std::string_view text)
{
    text = text.substr(0, std::min(text.size(), kValueLimit));
    std::size_t end = 0;
    while (end < text.size() && IsDigit(text[end])) ++end;
    return static_cast<int>(DigitsValue(text.substr(0, end)));
}
