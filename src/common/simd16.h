// Sixteen bytes at a time: the few SSE2 operations the fast roads are made
// of, and the one switch that turns those roads off.
//
// Every fast function stands beside a plain twin with the same interface that
// works a byte at a time; MERROWBY_SIMD16 (1 or 0) chooses between the two
// when compiling. It is 1 where the processor has SSE2 (every x86-64), unless
// the build asks for the plain roads alone (CMake option MERROWBY_PLAIN, which
// defines MERROWBY_PLAIN), as the CI lane that runs every test on them does.
#pragma once

#include <bit>

#if defined(__SSE2__) && !defined(MERROWBY_PLAIN)
#define MERROWBY_SIMD16 1
#include <emmintrin.h>
#else
#define MERROWBY_SIMD16 0
#endif

namespace simd16 {

// Whether this build takes the fast roads.
inline constexpr bool enabled = MERROWBY_SIMD16;

// The place of the lowest set bit of a mask that has one.
inline int trailing_zeros(unsigned word) { return std::countr_zero(word); }

#if MERROWBY_SIMD16

// Sixteen bytes; as the result of a test, a mask of 0xFF where the byte
// passes and 0 where it does not.
using Block = __m128i;

inline Block load(const char* at) { return _mm_loadu_si128(reinterpret_cast<const Block*>(at)); }
inline Block load_aligned(const char* at) { return _mm_load_si128(reinterpret_cast<const Block*>(at)); }
inline void store(char* at, Block bytes) { _mm_storeu_si128(reinterpret_cast<Block*>(at), bytes); }

inline Block repeat(char c) { return _mm_set1_epi8(c); }
inline Block nothing() { return _mm_setzero_si128(); }
inline Block everything() { return _mm_set1_epi8(-1); }
inline Block first_byte() { return _mm_setr_epi8(-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0); }

inline Block either(Block a, Block b) { return _mm_or_si128(a, b); }
inline Block both(Block a, Block b) { return _mm_and_si128(a, b); }
inline Block unless(Block a, Block no) { return _mm_andnot_si128(no, a); }  // a where no is not set
inline Block toggle(Block a, Block flips) { return _mm_xor_si128(a, flips); }
inline Block select(Block mask, Block yes, Block no) { return either(both(mask, yes), unless(no, mask)); }

// Byte i holds what byte i - 1 held (byte 0 becomes 0): a mask of the bytes
// that follow a passing one.
inline Block one_later(Block mask) { return _mm_slli_si128(mask, 1); }
// The last byte moved to the first, the rest 0: what one block hands the next.
inline Block last_to_first(Block mask) { return _mm_srli_si128(mask, 15); }

inline Block equal(Block a, Block b) { return _mm_cmpeq_epi8(a, b); }
inline Block equal(Block bytes, char c) { return equal(bytes, repeat(c)); }

// low <= byte <= high, on the unsigned values.
inline Block in_range(Block bytes, unsigned char low, unsigned char high)
{
    const Block offset = _mm_sub_epi8(bytes, repeat(static_cast<char>(low)));
    return equal(_mm_min_epu8(offset, repeat(static_cast<char>(high - low))), offset);
}

// One bit a byte, byte 0 the lowest: its top bit (for a mask, whether it is set).
inline unsigned bits(Block bytes) { return static_cast<unsigned>(_mm_movemask_epi8(bytes)); }
inline bool any(Block mask) { return bits(mask) != 0; }
inline bool all(Block mask) { return bits(mask) == 0xFFFF; }

#endif

}  // namespace simd16
