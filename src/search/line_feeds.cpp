#include "search/line_feeds.h"

#include <algorithm>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>

namespace {

// Byte-wise counters: each compare adds 1 (subtracting -1) to a byte lane;
// before a lane can overflow the lanes are summed into 64-bit totals.
__attribute__((target("avx2"))) std::size_t CountAvx2(const char* s, const char* end) noexcept
{
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i zero = _mm256_setzero_si256();
    __m256i total = zero;
    while (end - s >= 128) {
        __m256i lanes = zero;
        for (int round = 0; round < 63 && end - s >= 128; ++round, s += 128) {
            const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
            const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 32));
            const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 64));
            const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 96));
            lanes = _mm256_sub_epi8(lanes, _mm256_cmpeq_epi8(a, lf));
            lanes = _mm256_sub_epi8(lanes, _mm256_cmpeq_epi8(b, lf));
            lanes = _mm256_sub_epi8(lanes, _mm256_cmpeq_epi8(c, lf));
            lanes = _mm256_sub_epi8(lanes, _mm256_cmpeq_epi8(d, lf));
        }
        total = _mm256_add_epi64(total, _mm256_sad_epu8(lanes, zero));
    }
    std::size_t count = static_cast<std::size_t>(_mm256_extract_epi64(total, 0) + _mm256_extract_epi64(total, 1) +
                                                 _mm256_extract_epi64(total, 2) + _mm256_extract_epi64(total, 3));
    return count + static_cast<std::size_t>(std::count(s, end, '\n'));
}

std::size_t CountSse2(const char* s, const char* end) noexcept
{
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    __m128i total = zero;
    while (end - s >= 64) {
        __m128i lanes = zero;
        for (int round = 0; round < 63 && end - s >= 64; ++round, s += 64) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16));
            const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 32));
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 48));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(a, lf));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(b, lf));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(c, lf));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(d, lf));
        }
        total = _mm_add_epi64(total, _mm_sad_epu8(lanes, zero));
    }
    std::size_t count = static_cast<std::size_t>(_mm_cvtsi128_si64(total) +
                                                 _mm_cvtsi128_si64(_mm_unpackhi_epi64(total, total)));
    return count + static_cast<std::size_t>(std::count(s, end, '\n'));
}

const bool kHasAvx2 = __builtin_cpu_supports("avx2");

} // namespace

std::size_t CountLineFeeds(const char* begin, const char* end) noexcept
{
    return kHasAvx2 ? CountAvx2(begin, end) : CountSse2(begin, end);
}

#else

std::size_t CountLineFeeds(const char* begin, const char* end) noexcept
{
    return static_cast<std::size_t>(std::count(begin, end, '\n'));
}

#endif
