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
// without LF is a line when it is not empty. emit returns false to stop the
// scan; ScanLines returns false when it was stopped.
template <class Emit>
[[gnu::always_inline]] inline bool ScanLines(const char* bytes, std::size_t size, int tabSize, Emit&& emit)
{
    const auto tab = static_cast<std::uint64_t>(tabSize > 0 ? tabSize : 1);
    const bool tabIsPowerOfTwo = (tab & (tab - 1)) == 0;
    std::size_t lineStart = 0;
    std::size_t counted = 0;    // bytes up to here are in width
    std::uint64_t width = 0;
    std::size_t highEnd = 0;    // bytes from 0x80 up were seen before here
    // The line that ends at `end` (its line end left out); the width so far
    // counted every byte as one cell.
    const auto line = [&](std::size_t end) __attribute__((always_inline)) {
        if (highEnd > lineStart) [[unlikely]]
            width = static_cast<std::uint64_t>(text::DisplayWidth({bytes + lineStart, end - lineStart}, tabSize));
        return emit(lineStart, end, width);
    };
    // A tab or a line feed at pos.
    const auto event = [&](std::size_t pos) __attribute__((always_inline)) {
        width += pos - counted;
        counted = pos + 1;
        if (bytes[pos] == '\t') {
            width += tab - (tabIsPowerOfTwo ? (width & (tab - 1)) : width % tab);
            return true;
        }
        std::size_t end = pos;
        if (end > lineStart && bytes[end - 1] == '\r') {
            --end;
            --width;
        }
        if (!line(end)) return false;
        lineStart = pos + 1;
        width = 0;
        return true;
    };

    std::size_t o = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i ht = _mm_set1_epi8('\t');
    // Thirty-two bytes a step: one test for bytes from 0x80 up, one mask of
    // line feeds and tabs.
    for (; o + 32 <= size; o += 32) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + o));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + o + 16));
        if (_mm_movemask_epi8(_mm_or_si128(a, b)) != 0) [[unlikely]]
            highEnd = o + 32;
        const auto low = static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(a, lf), _mm_cmpeq_epi8(a, ht))));
        const auto high = static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(b, lf), _mm_cmpeq_epi8(b, ht))));
        for (std::uint32_t events = low | high << 16; events; events &= events - 1)
            if (!event(o + static_cast<std::size_t>(__builtin_ctz(events)))) return false;
    }
#endif
    for (; o < size; ++o) {
        if (static_cast<unsigned char>(bytes[o]) >= 0x80) highEnd = o + 1;
        if ((bytes[o] == '\n' || bytes[o] == '\t') && !event(o)) return false;
    }
    if (lineStart < size) {
        width += size - counted;
        return line(size);
    }
    return true;
}
