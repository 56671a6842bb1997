#include "search/literal_finder.h"

#include "base/text_rules.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

unsigned char FoldMask(char c, bool fold)
{
    const char lower = text::ToLowerAscii(c);
    return (fold && lower >= 'a' && lower <= 'z') ? 0x20 : 0;
}

// The bytes between the first and the last, which the screen has not seen.
template <bool kFold>
bool MiddleMatches(const std::string& pattern, const char* candidate) noexcept
{
    const std::size_t m = pattern.size();
    if (m <= 2) return true;
    if constexpr (!kFold) {
        return std::memcmp(candidate + 1, pattern.data() + 1, m - 2) == 0;
    } else {
        for (std::size_t i = 1; i + 1 < m; ++i)
            if (text::ToLowerAscii(candidate[i]) != pattern[i]) return false;
        return true;
    }
}

template <bool kFold>
const char* FindScalar(const LiteralFinder& f, const char* s, const char* end) noexcept
{
    const std::string& p = f.pattern();
    const std::size_t m = p.size();
    if (m == 0 || end - s < static_cast<std::ptrdiff_t>(m)) return nullptr;
    if constexpr (!kFold) {
        return static_cast<const char*>(::memmem(s, static_cast<std::size_t>(end - s), p.data(), m));
    } else {
        const auto& sc = f.screen();
        for (const char* last = end - m; s <= last; ++s) {
            if ((static_cast<unsigned char>(*s) | sc.first_mask) == sc.first &&
                (static_cast<unsigned char>(s[m - 1]) | sc.last_mask) == sc.last && MiddleMatches<true>(p, s))
                return s;
        }
        return nullptr;
    }
}

#if defined(__x86_64__)

// Screening by first and last byte, 32 (AVX2) or 16 (SSE2) positions at a
// time; the rest of the block goes to the scalar search.
template <bool kFold>
__attribute__((target("avx2,bmi"))) const char* FindAvx2(const LiteralFinder& f, const char* s,
                                                          const char* end) noexcept
{
    const std::string& p = f.pattern();
    const std::size_t m = p.size();
    if (m == 0) return nullptr;
    const auto& sc = f.screen();
    const __m256i first = _mm256_set1_epi8(static_cast<char>(sc.first));
    const __m256i last = _mm256_set1_epi8(static_cast<char>(sc.last));
    const __m256i first_mask = _mm256_set1_epi8(static_cast<char>(sc.first_mask));
    const __m256i last_mask = _mm256_set1_epi8(static_cast<char>(sc.last_mask));
    const std::ptrdiff_t need = static_cast<std::ptrdiff_t>(m - 1 + 64);
    while (end - s >= need) {
        __m256i a0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
        __m256i a1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 32));
        __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + m - 1));
        __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + m - 1 + 32));
        if constexpr (kFold) {
            a0 = _mm256_or_si256(a0, first_mask);
            a1 = _mm256_or_si256(a1, first_mask);
            b0 = _mm256_or_si256(b0, last_mask);
            b1 = _mm256_or_si256(b1, last_mask);
        }
        const std::uint64_t lo = static_cast<std::uint32_t>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi8(a0, first), _mm256_cmpeq_epi8(b0, last))));
        const std::uint64_t hi = static_cast<std::uint32_t>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi8(a1, first), _mm256_cmpeq_epi8(b1, last))));
        for (std::uint64_t mask = lo | (hi << 32); mask != 0; mask &= mask - 1) {
            const char* candidate = s + __builtin_ctzll(mask);
            if (MiddleMatches<kFold>(p, candidate)) return candidate;
        }
        s += 64;
    }
    return FindScalar<kFold>(f, s, end);
}

template <bool kFold>
const char* FindSse2(const LiteralFinder& f, const char* s, const char* end) noexcept
{
    const std::string& p = f.pattern();
    const std::size_t m = p.size();
    if (m == 0) return nullptr;
    const auto& sc = f.screen();
    const __m128i first = _mm_set1_epi8(static_cast<char>(sc.first));
    const __m128i last = _mm_set1_epi8(static_cast<char>(sc.last));
    const __m128i first_mask = _mm_set1_epi8(static_cast<char>(sc.first_mask));
    const __m128i last_mask = _mm_set1_epi8(static_cast<char>(sc.last_mask));
    const std::ptrdiff_t need = static_cast<std::ptrdiff_t>(m - 1 + 16);
    while (end - s >= need) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + m - 1));
        if constexpr (kFold) {
            a = _mm_or_si128(a, first_mask);
            b = _mm_or_si128(b, last_mask);
        }
        for (unsigned mask = static_cast<unsigned>(
                 _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
             mask != 0; mask &= mask - 1) {
            const char* candidate = s + __builtin_ctz(mask);
            if (MiddleMatches<kFold>(p, candidate)) return candidate;
        }
        s += 16;
    }
    return FindScalar<kFold>(f, s, end);
}

const bool kHasAvx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi");

#endif

} // namespace

LiteralFinder::LiteralFinder(std::string_view pattern, bool case_sensitive)
    : pattern_(case_sensitive ? std::string(pattern) : text::LowerAscii(pattern))
{
    const bool fold = !case_sensitive;
    if (!pattern_.empty()) {
        const char first = pattern_.front(), last = pattern_.back();
        screen_ = {static_cast<unsigned char>(first), FoldMask(first, fold), static_cast<unsigned char>(last),
                   FoldMask(last, fold)};
    }
#if defined(__x86_64__)
    if (kHasAvx2)
        find_ = fold ? &FindAvx2<true> : &FindAvx2<false>;
    else
        find_ = fold ? &FindSse2<true> : &FindSse2<false>;
#else
    find_ = fold ? &FindScalar<true> : &FindScalar<false>;
#endif
}
