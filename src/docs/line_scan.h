#pragma once
// Splits a block of loaded text into lines in one pass: for each line it
// reports where the line's bytes start and end (the LF, and a CR right
// before it, left out) and its display width. Line feeds and tabs are found
// sixteen bytes at a step, so a line costs no call and no second scan; only
// a line that may hold multi-byte characters is measured again, character
// by character (base/display_columns.h).

#include <cstddef>
#include <cstdint>

#include "base/display_columns.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// emit(start, end, width) for every line of bytes[0, size); a last line
// without LF is a line when it is not empty.
template <class Emit>
void ScanLines(const char* bytes, std::size_t size, int tabSize, Emit&& emit)
{
    const auto tab = static_cast<std::uint64_t>(tabSize > 0 ? tabSize : 1);
    const bool tabIsPowerOfTwo = (tab & (tab - 1)) == 0;
    std::size_t lineStart = 0;
    std::size_t counted = 0;    // bytes up to here are in width
    std::uint64_t width = 0;
    std::size_t highEnd = 0;    // bytes from 0x80 up were seen before here
    const auto measure = [&](std::size_t end) {
        if (highEnd > lineStart)
            width = static_cast<std::uint64_t>(text::DisplayWidth({bytes + lineStart, end - lineStart}, tabSize));
    };
    const auto event = [&](std::size_t pos) {
        width += pos - counted;
        counted = pos + 1;
        if (bytes[pos] == '\t') {
            width += tab - (tabIsPowerOfTwo ? (width & (tab - 1)) : width % tab);
            return;
        }
        std::size_t end = pos;
        if (end > lineStart && bytes[end - 1] == '\r') {
            --end;
            --width;
        }
        measure(end);
        emit(lineStart, end, width);
        lineStart = pos + 1;
        width = 0;
    };

    std::size_t o = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i ht = _mm_set1_epi8('\t');
    for (; o + 16 <= size; o += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + o));
        if (_mm_movemask_epi8(v) != 0) highEnd = o + 16;
        auto events = static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, ht))));
        while (events) {
            event(o + static_cast<std::size_t>(__builtin_ctz(events)));
            events &= events - 1;
        }
    }
#endif
    for (; o < size; ++o) {
        if (static_cast<unsigned char>(bytes[o]) >= 0x80) highEnd = o + 1;
        if (bytes[o] == '\n' || bytes[o] == '\t') event(o);
    }
    if (lineStart < size) {
        width += size - counted;
        measure(size);
        emit(lineStart, size, width);
    }
}
