// One look at a whole row before it is cut: is every cell plain, and where
// does each cell start and end?
//
// A cell is plain when the cutting rules leave it exactly as typed: valid
// bytes other than the double quote and the backslash, with single blanks
// between words (none leading, none trailing). Most rows are plain in every
// cell; for them the cells are simply the texts between the commas, and the
// row is classified sixteen bytes at a time instead of cell by cell and byte
// by byte. Any other row is cut cell by cell by the full rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

class PlainRow {
public:
    // Rows longer than this are cut cell by cell (they are rare, and the
    // copy below is kept on the stack).
    static constexpr std::size_t longest = 448;
    // Readable bytes past the start of any cell of the copy: enough for the
    // widest column.
    static constexpr std::size_t slack = 48;
    // Cells that can be asked for (those past the last comma are empty).
    static constexpr std::size_t most_cells = 48;

    explicit PlainRow(std::string_view line) : line_(line) { plain_ = line.size() <= longest && scan(); }

    bool plain() const { return plain_; }

    // Whether the row holds a question mark (true for a row that is not plain).
    bool has_question() const { return !plain_ || questions_; }

    // Cell i (from 0, below most_cells) of a plain row: where it starts and
    // how long it is. A cell beyond the last comma starts at the end of the
    // line and is empty.
    std::size_t start(std::size_t i) const { return starts_[i]; }
    std::size_t length(std::size_t i) const { return static_cast<std::size_t>(ends_[i] - starts_[i]); }

    // The row's bytes from pos, followed by at least slack readable bytes.
    const char* copy_at(std::size_t pos) const { return copy_ + pos; }

private:
    static constexpr std::size_t chunk = 16;

#if defined(__SSE2__)
    // Sixteen bytes from pos; past the end of the line, commas (a cell ends
    // there as it does at a comma).
    __m128i load(std::size_t pos) const
    {
        if (pos + chunk <= line_.size())
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(line_.data() + pos));
        char bytes[chunk];
        std::memset(bytes, ',', chunk);
        std::memcpy(bytes, line_.data() + pos, line_.size() - pos);
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    }

    static unsigned mask_of(__m128i bytes, char c)
    {
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(c))));
    }

    // Bytes no plain cell holds: a double quote, a backslash, and the bytes
    // that may not stand in a field at all (control characters, 0x80 to 0xBF,
    // 0xD7 and 0xF7).
    static unsigned special_mask(__m128i bytes)
    {
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(bytes, _mm_set1_epi8(0x1F)), bytes);
        const __m128i upper = _mm_cmpeq_epi8(_mm_and_si128(bytes, _mm_set1_epi8(static_cast<char>(0xC0))),
                                             _mm_set1_epi8(static_cast<char>(0x80)));
        const unsigned others = mask_of(bytes, '"') | mask_of(bytes, '\\') | mask_of(bytes, static_cast<char>(0xD7)) |
                                mask_of(bytes, static_cast<char>(0xF7));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(control, upper))) | others;
    }

    bool scan()
    {
        // A blank is misplaced after a blank, a comma or the start of the
        // line, and before a blank, a comma or the end (which reads as a comma).
        unsigned blank_before = 0;    // the byte before the chunk was a blank
        unsigned blank_or_comma = 1;  // ... a blank or a comma, or the line starts
        unsigned bad = 0;
        unsigned questions = 0;
        std::size_t commas = 0;
        starts_[0] = 0;
        for (std::size_t pos = 0; pos < line_.size(); pos += chunk) {
            const __m128i bytes = load(pos);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(copy_ + pos), bytes);
            const unsigned blanks = mask_of(bytes, ' ');
            const unsigned stops = blanks | mask_of(bytes, ',');
            bad |= special_mask(bytes);
            bad |= blanks & ((stops << 1) | blank_or_comma);
            bad |= stops & ((blanks << 1) | blank_before);
            questions |= mask_of(bytes, '?');
            blank_before = (blanks >> 15) & 1;
            blank_or_comma = (stops >> 15) & 1;
            // The commas in the line, in order.
            const std::size_t left = line_.size() - pos;
            for (unsigned found = (stops & ~blanks) & (left < chunk ? (1u << left) - 1 : 0xFFFFu); found != 0;
                 found &= found - 1) {
                const auto comma = static_cast<std::uint16_t>(pos + static_cast<std::size_t>(__builtin_ctz(found)));
                ends_[commas] = comma;
                starts_[++commas] = static_cast<std::uint16_t>(comma + 1);
            }
        }
        if (bad != 0 || blank_before != 0)
            return false;
        questions_ = questions != 0;
        const auto end = static_cast<std::uint16_t>(line_.size());
        ends_[commas] = end;
        for (std::size_t i = commas + 1; i < most_cells; ++i)
            starts_[i] = ends_[i] = end;
        const std::size_t copied = (line_.size() + chunk - 1) / chunk * chunk;
        std::memset(copy_ + copied, ',', slack);
        return true;
    }
#else
    bool scan() { return false; }
#endif

    std::string_view line_;
    bool plain_ = false;
    bool questions_ = false;  // the row holds a question mark
    // Where each cell starts, and where it ends: at its comma, or for the
    // last cell and those past it at the end of the line.
    std::uint16_t starts_[longest + most_cells + 1];
    std::uint16_t ends_[longest + most_cells + 1];
    char copy_[longest + chunk + slack];  // the row, for cells read slack bytes at a time
};
