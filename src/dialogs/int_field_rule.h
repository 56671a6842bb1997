#pragma once
// What a number field keeps of a text the user has just changed: only its
// decimal digits, brought into the field's range. The widget applies the
// result and beeps once for every character that was removed.

#include <string>
#include <string_view>

struct IntFieldText {
    std::string text;
    int caret = 0;  // where the caret goes back, after the removed characters
    int removed = 0;  // characters that were not digits
};

// `caret` is the caret's place in `typed`. A value below `minimum` (an
// empty field too) becomes `minimum`, one above `maximum` becomes
// `maximum`; a value in range keeps its digits as they stand.
IntFieldText FilterIntField(std::string_view typed, int caret, int minimum, int maximum);

// The field's value: the decimal digits at the start of its first 15
// characters; 0 when there are none.
int IntFieldValue(std::string_view text);
