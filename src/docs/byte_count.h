#pragma once
// Counting one byte value in a large buffer, sixteen bytes at a step where
// the processor allows it: the counting pass of a load is this loop.

#include <algorithm>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

inline std::size_t CountByte(const char* data, std::size_t size, char byte)
{
    std::size_t count = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i needle = _mm_set1_epi8(byte);
    while (i + 16 <= size) {
        // Up to 255 steps add into byte lanes before they are summed.
        __m128i lanes = _mm_setzero_si128();
        const std::size_t steps = std::min<std::size_t>((size - i) / 16, 255);
        for (std::size_t s = 0; s < steps; ++s, i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(v, needle));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
#endif
    return count + static_cast<std::size_t>(std::count(data + i, data + size, byte));
}
