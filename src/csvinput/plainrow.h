// One look at a whole row before it is cut: is every cell plain, and where
// are its commas?
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
    // Readable bytes past the end of a cell of the copy: enough for the
    // widest column.
    static constexpr std::size_t slack = 48;

    explicit PlainRow(std::string_view line) : line_(line) { plain_ = line.size() <= longest && scan(); }

    bool plain() const { return plain_; }

    // False only when the row is plain and c (a question mark) is not in it.
    bool may_hold(char c) const { return !plain_ || c != '?' || questions_; }

    // The row's bytes from pos, followed by at least slack readable bytes.
    const char* copy_at(std::size_t pos) const { return copy_ + pos; }

    // The position of the next comma after those already found, or the end
    // of the line when there is none (again and again). Only for a plain row.
    std::size_t next_comma()
    {
        while (commas_ == 0) {
            if (++word_ >= words_)
                return line_.size();
            commas_ = comma_words_[word_];
        }
        const std::size_t at = word_ * 64 + static_cast<std::size_t>(__builtin_ctzll(commas_));
        commas_ &= commas_ - 1;
        return at;
    }

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
        unsigned blank_before = 0;       // the byte before the chunk was a blank
        unsigned blank_or_comma = 1;     // ... a blank or a comma, or the line starts
        unsigned bad = 0;
        for (std::size_t pos = 0; pos < line_.size(); pos += chunk) {
            const __m128i bytes = load(pos);
            if (pos % 64 == 0)
                comma_words_[pos / 64] = 0;
            _mm_storeu_si128(reinterpret_cast<__m128i*>(copy_ + pos), bytes);
            const unsigned blanks = mask_of(bytes, ' ');
            const unsigned commas = mask_of(bytes, ',');
            const unsigned stops = blanks | commas;
            bad |= special_mask(bytes);
            questions_ |= mask_of(bytes, '?') != 0;
            const std::size_t left = line_.size() - pos;
            const unsigned in_line = left < chunk ? commas & ((1u << left) - 1) : commas;
            comma_words_[pos / 64] |= static_cast<std::uint64_t>(in_line) << (pos % 64);
            bad |= blanks & ((stops << 1) | blank_or_comma);
            bad |= stops & ((blanks << 1) | blank_before);
            blank_before = (blanks >> 15) & 1;
            blank_or_comma = (stops >> 15) & 1;
        }
        if (bad != 0 || blank_before != 0)
            return false;
        const std::size_t copied = (line_.size() + chunk - 1) / chunk * chunk;
        std::memset(copy_ + copied, ',', slack);
        words_ = (line_.size() + 63) / 64;
        commas_ = words_ == 0 ? 0 : comma_words_[0];
        return true;
    }
#else
    bool scan() { return false; }
#endif

    std::string_view line_;
    bool plain_ = false;
    bool questions_ = false;  // the row holds a question mark
    char copy_[longest + chunk + slack];  // the row, for cells read slack bytes at a time
    std::uint64_t comma_words_[(longest + 63) / 64];  // a bit for each comma of the row
    std::size_t words_ = 0;
    std::size_t word_ = 0;        // the word commas_ was taken from
    std::uint64_t commas_ = 0;    // its commas not yet found
};
