#include "LineScan.h"

#include <bit>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace kwizmar {

namespace {

// A bit for each CR LF that starts among the 16 bytes at `p` (bit i for
// p[i]); the byte after them is read as well. Every x86-64 processor has
// SSE2; elsewhere the bytes are compared one by one.
std::uint32_t LineBreakBits(const char* p) {
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    const __m128i pairs = _mm_and_si128(_mm_cmpeq_epi8(here, _mm_set1_epi8('\r')),
                                        _mm_cmpeq_epi8(next, _mm_set1_epi8('\n')));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(pairs));
#else
    std::uint32_t bits = 0;
    for (unsigned i = 0; i < 16; ++i)
        bits |= static_cast<std::uint32_t>(p[i] == '\r' && p[i + 1] == '\n') << i;
    return bits;
#endif
}

} // namespace

// A test has a short line every few dozen bytes, so a search line by line
// (memchr a line) costs more in calls and mispredicted branches than in
// looking at bytes. The line breaks are found 16 bytes at a time instead, and
// the first two of a block are written whether the block has them or not and
// then counted, so that the loop branches only on blocks of three or more.
std::vector<std::size_t> CrLfLineStarts(std::string_view text) {
    const char* const t = text.data();
    const std::size_t n = text.size();
    constexpr std::size_t kBlock = 16;
    constexpr std::size_t kMostPerBlock = kBlock / 2;
    std::vector<std::size_t> starts(n / kBlock + 2 * kMostPerBlock);
    auto room = [&](std::size_t count) {
        if (starts.size() < count + kMostPerBlock + 1)
            starts.resize(2 * starts.size());
    };
    std::size_t count = 0;
    if (n > 0)
        starts[count++] = 0;
    std::size_t block = 0;
    for (; block + kBlock < n; block += kBlock) {
        room(count);
        const std::uint32_t first = LineBreakBits(t + block);
        const std::uint32_t second = first & (first - 1);
        std::uint32_t rest = second & (second - 1);
        std::size_t* out = starts.data() + count;
        out[0] = block + 2 + static_cast<std::size_t>(std::countr_zero(first));
        out[1] = block + 2 + static_cast<std::size_t>(std::countr_zero(second));
        count += static_cast<std::size_t>(first != 0) + static_cast<std::size_t>(second != 0);
        for (; rest != 0; rest &= rest - 1)
            starts[count++] = block + 2 + static_cast<std::size_t>(std::countr_zero(rest));
    }
    room(count);
    for (std::size_t i = block; i + 1 < n; ++i)
        if (t[i] == '\r' && t[i + 1] == '\n')
            starts[count++] = i + 2;
    // After a final CR LF no line starts; without one, the last line ends
    // where the text does.
    if (n > 0 && starts[count - 1] != n)
        starts[count++] = n + 2;
    starts.resize(count == 0 ? 1 : count);
    return starts;
}

std::size_t CountCrLfLines(std::string_view text) {
    const char* const t = text.data();
    const std::size_t n = text.size();
    std::size_t breaks = 0;
    std::size_t block = 0;
#if defined(__SSE2__) || defined(_M_X64)
    // Each byte lane counts its own CR LFs, up to 255 blocks at a time, and the
    // lanes are then summed: no per-block bit count.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (block + 16 < n) {
        __m128i lanes = _mm_setzero_si128();
        for (int round = 0; round < 255 && block + 16 < n; ++round, block += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + block));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + block + 1));
            lanes = _mm_sub_epi8(lanes,
                                 _mm_and_si128(_mm_cmpeq_epi8(here, cr), _mm_cmpeq_epi8(next, lf)));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        breaks += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                  static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
    }
#else
    for (; block + 16 < n; block += 16)
        breaks += static_cast<std::size_t>(std::popcount(LineBreakBits(t + block)));
#endif
    for (std::size_t i = block; i + 1 < n; ++i)
        breaks += t[i] == '\r' && t[i + 1] == '\n';
    return breaks + (n > 0 && !text.ends_with("\r\n") ? 1 : 0);
}

} // namespace kwizmar
