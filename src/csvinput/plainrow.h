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

#include "charclass.h"
#include "simd16.h"

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

    // Whether some cell among the first count holds text. Cells 0 to k end
    // where comma k stands: they are all empty exactly when everything before
    // it is commas, that is when it stands at position k. Past the last comma
    // they end with the row, and are all empty when the row is only commas.
    bool any_text(std::size_t count) const
    {
        if (count == 0)
            return false;
        const std::size_t last = count - 1;
        return ends_[last] > (last < commas_ ? last : commas_);
    }

    // The row's bytes from pos, followed by at least slack readable bytes.
    const char* copy_at(std::size_t pos) const { return copy_ + pos; }

private:
    static constexpr std::size_t chunk = 16;

#if MERROWBY_SIMD16
    // Bytes no plain cell holds: a double quote, a backslash, and the bytes
    // that may not stand in a field at all.
    static simd16::Block special(simd16::Block bytes)
    {
        using namespace simd16;
        return either(charclass::blocks::invalid(bytes), either(equal(bytes, '"'), equal(bytes, '\\')));
    }

    bool scan()
    {
        using namespace simd16;
        // The row is copied with commas after it (a cell ends at the end of
        // the line as at a comma), and read from the copy.
        const std::size_t size = line_.size();
        std::memcpy(copy_, line_.data(), size);
        std::memset(copy_ + size, ',', chunk + slack);
        // A blank is misplaced after a blank, a comma or the start of the
        // line, and before a blank, a comma or the end.
        unsigned blank_before = 0;    // the byte before the chunk was a blank
        unsigned blank_or_comma = 1;  // ... a blank or a comma, or the line starts
        unsigned misplaced = 0;
        Block specials = nothing();
        Block questions = nothing();
        std::size_t commas = 0;
        starts_[0] = 0;
        for (std::size_t pos = 0; pos < size; pos += chunk) {
            const Block bytes = load_aligned(copy_ + pos);
            specials = either(specials, special(bytes));
            questions = either(questions, equal(bytes, '?'));
            const unsigned blanks = bits(equal(bytes, ' '));
            unsigned found = bits(equal(bytes, ','));
            const unsigned stops = blanks | found;
            misplaced |= blanks & ((stops << 1) | blank_or_comma);
            misplaced |= stops & ((blanks << 1) | blank_before);
            blank_before = (blanks >> 15) & 1;
            blank_or_comma = (stops >> 15) & 1;
            // The commas in the line, in order.
            if (size - pos < chunk)
                found &= (1u << (size - pos)) - 1;
            for (; found != 0; found &= found - 1) {
                const auto comma = static_cast<std::uint16_t>(pos + static_cast<std::size_t>(trailing_zeros(found)));
                ends_[commas] = comma;
                starts_[++commas] = static_cast<std::uint16_t>(comma + 1);
            }
        }
        if (misplaced != 0 || blank_before != 0 || any(specials))
            return false;
        questions_ = any(questions);
        commas_ = commas;
        const auto end = static_cast<std::uint16_t>(size);
        ends_[commas] = end;
        for (std::size_t i = commas + 1; i < most_cells; ++i)
            starts_[i] = ends_[i] = end;
        return true;
    }
#else
    // Without the fast scan every row is cut cell by cell by the full rules.
    bool scan() { return false; }
#endif

    std::string_view line_;
    bool plain_ = false;
    bool questions_ = false;  // the row holds a question mark
    std::size_t commas_ = 0;  // the commas of the row
    // Where each cell starts, and where it ends: at its comma, or for the
    // last cell and those past it at the end of the line.
    std::uint16_t starts_[longest + most_cells + 1];
    std::uint16_t ends_[longest + most_cells + 1];
    alignas(16) char copy_[longest + chunk + slack];  // the row, for cells read slack bytes at a time
};
