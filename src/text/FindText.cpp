#include "text/FindText.h"

#include "text/Simd.h"

#include <cstring>

namespace corvane {

namespace {

bool MiddleMatches(const char* at, std::string_view needle)
{
    for (std::size_t k = 1; k + 1 < needle.size(); ++k)
        if (at[k] != needle[k])
            return false;
    return true;
}

} // namespace

std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from)
{
    const std::size_t m = needle.size();
    if (m < 2)
        return text.find(needle, from);
    if (from > text.size() || text.size() - from < m)
        return std::string_view::npos;
    const char* data = text.data();
    const std::size_t lastStart = text.size() - m;
    const char first = needle.front();
    const char last = needle.back();
    std::size_t i = from;
#if defined(CORVANE_X86_SIMD)
    // Sixteen places at a time: the bytes at i.. hold the first byte, those at i + m - 1.. the last.
    const __m128i firstBytes = _mm_set1_epi8(first);
    const __m128i lastBytes = _mm_set1_epi8(last);
    const bool vectors = SimdInUse() >= SimdLevel::Sse2;
    for (; vectors && i + 15 <= lastStart; i += 16) {
        const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + m - 1));
        auto candidates = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(starts, firstBytes), _mm_cmpeq_epi8(ends, lastBytes))));
        while (candidates != 0) {
            const auto offset = static_cast<std::size_t>(__builtin_ctz(candidates));
            if (MiddleMatches(data + i + offset, needle))
                return i + offset;
            candidates &= candidates - 1;
        }
    }
#endif
    for (; i <= lastStart; ++i)
        if (data[i] == first && data[i + m - 1] == last && MiddleMatches(data + i, needle))
            return i;
    return std::string_view::npos;
}

} // namespace corvane
