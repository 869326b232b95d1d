#pragma once
// TextCodec::decodeWideField, inline for the record decoder's loop over a field of many
// records. It needs SSE2 and a string whose length is set after its bytes are written
// (C++23); without them it is decodeField.

#include "platform/db/text_codec.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__) && defined(__cpp_lib_string_resize_and_overwrite)
#include <emmintrin.h>
#endif

namespace db {

#if defined(__SSE2__) && defined(__cpp_lib_string_resize_and_overwrite)

namespace widetext {

inline __m128i load16(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline void store16(char* to, __m128i bytes) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), bytes);
}

inline std::uint64_t lowWord(__m128i bytes) {
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(bytes));
}

// One bit per byte of the 32 in `low` and `high`.
inline std::uint32_t mask32(__m128i low, __m128i high) {
    return static_cast<std::uint32_t>(_mm_movemask_epi8(low)) |
           (static_cast<std::uint32_t>(_mm_movemask_epi8(high)) << 16);
}

} // namespace widetext

inline bool TextCodec::decodeWideField(const std::uint8_t* p, std::size_t size,
                                       std::string& out) const {
    const __m128i low = widetext::load16(p);
    const __m128i high = widetext::load16(p + 16);
    const __m128i zero = _mm_setzero_si128();
    // The text ends at its first zero byte or at the end of the field.
    const std::uint64_t ends =
        widetext::mask32(_mm_cmpeq_epi8(low, zero), _mm_cmpeq_epi8(high, zero)) |
        (~std::uint64_t{0} << size);
    const auto length = static_cast<std::size_t>(std::countr_zero(ends));
    if (length == 0)
        return false;
    // The bytes above 127 within the text: each becomes a character of the table.
    std::uint32_t letters =
        widetext::mask32(low, high) & static_cast<std::uint32_t>((std::uint64_t{1} << length) - 1);
    // Room for the longest text of the field, and the slack of the whole-word stores (the
    // string grows to it once).
    const std::size_t room = size * longestChar_ + kWideField;
    out.resize_and_overwrite(room, [&](char* to, std::size_t) {
        if (letters == 0) { // all of it as it is
            widetext::store16(to, low);
            widetext::store16(to + 16, high);
            return length;
        }
        // The runs between the letters are copied eight bytes at a time, each shifted out
        // of two of the field's words: a run near the end of the field would read past
        // its 32 bytes, and a copy of them read back at other offsets than it was written
        // would wait for the writes to reach the cache.
        const std::array<std::uint64_t, kWideField / 8 + 1> words{
            widetext::lowWord(low), widetext::lowWord(_mm_unpackhi_epi64(low, low)),
            widetext::lowWord(high), widetext::lowWord(_mm_unpackhi_epi64(high, high)), 0};
        const auto copyRun = [&](char* at, std::size_t from, std::size_t n) {
            for (std::size_t k = 0; k < n; k += 8) {
                const std::size_t i = (from + k) / 8;
                const auto shift = static_cast<unsigned>(8 * ((from + k) % 8));
                const std::uint64_t chunk =
                    (words[i] >> shift) | ((words[i + 1] << 1) << (63 - shift));
                std::memcpy(at + k, &chunk, 8);
            }
        };
        char* end = to;
        std::size_t from = 0;
        do {
            const auto at = static_cast<std::size_t>(std::countr_zero(letters));
            letters &= letters - 1;
            copyRun(end, from, at - from);
            end += at - from;
            const Utf8Char& c = toUtf8_[p[at]];
            std::memcpy(end, c.bytes.data(), 4);
            end += c.length;
            from = at + 1;
        } while (letters != 0);
        copyRun(end, from, length - from);
        end += length - from;
        return static_cast<std::size_t>(end - to);
    });
    return true;
}

#else

inline bool TextCodec::decodeWideField(const std::uint8_t* p, std::size_t size,
                                       std::string& out) const {
    return decodeField({p, size}, out);
}

#endif

} // namespace db
