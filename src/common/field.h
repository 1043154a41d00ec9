// The text of one field of a row, held in a small buffer of its own.
//
// A field is read at a width of at most 44 characters and changed only to
// short values (a number, a code, a flag), so its text lives inside the
// object: copying a field, as the row loop does for the values it carries
// from row to row, is a copy of one small block, with no allocation and no
// length-dependent work. Past its end the buffer holds blanks, so a field's
// first `width` characters are also its blank-padded column in a record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

#include "simd16.h"

namespace text {

class Field {
public:
    static constexpr std::size_t capacity = 62;
    static constexpr std::size_t npos = std::string_view::npos;

    Field() { std::memset(text_, ' ', capacity); }
    explicit Field(std::string_view value) : Field()
    {
        if (value.size() > capacity)
            throw std::length_error("field text too long");
        copy_short(text_, value.data(), value.size());  // over blanks: nothing to blank after it
        size_ = static_cast<unsigned char>(value.size());
    }

    Field& operator=(std::string_view value) { return assign(value.data(), value.size()); }
    Field& operator=(const std::string& value) { return assign(value.data(), value.size()); }
    Field& operator=(const char* value) { return assign(value, std::strlen(value)); }

    // A text longer than the buffer is a fault of the caller: every value put
    // into a field is read at a column width or is a short code or number.
    Field& assign(const char* value, std::size_t count)
    {
        if (count > capacity)
            throw std::length_error("field text too long");
        const std::less<const char*> before;
        if (!before(value, text_) && before(value, text_ + capacity)) {
            std::memmove(text_, value, count);  // a part of this field's own text
        } else {
            copy_short(text_, value, count);
        }
        if (count < size_)
            blank(count, size_);
        size_ = static_cast<unsigned char>(count);
        return *this;
    }

    // The same for a text of at most 16 * Blocks characters (Blocks is 1 to
    // 3) whose source has 16 * Blocks readable bytes: a few fixed-size moves,
    // whatever the length.
    template <std::size_t Blocks>
    [[gnu::always_inline]] Field& assign_blocks(const char* value, std::size_t count);

    // The decimal text of a number, as std::to_string writes it.
    Field& assign_number(long long value)
    {
        char digits[24];
        char* const end = digits + sizeof digits;
        char* at = end;
        unsigned long long rest = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
        do {
            *--at = static_cast<char>('0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (value < 0)
            *--at = '-';
        return assign(at, static_cast<std::size_t>(end - at));
    }

    Field& operator+=(std::string_view more)
    {
        if (more.size() > capacity - size_)
            throw std::length_error("field text too long");
        std::memcpy(text_ + size_, more.data(), more.size());
        size_ = static_cast<unsigned char>(size_ + more.size());
        return *this;
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const char* data() const { return text_; }
    char* data() { return text_; }
    char* begin() { return text_; }
    char* end() { return text_ + size_; }
    const char* begin() const { return text_; }
    const char* end() const { return text_ + size_; }
    char& operator[](std::size_t i) { return text_[i]; }
    char operator[](std::size_t i) const { return text_[i]; }
    char front() const { return text_[0]; }
    char back() const { return text_[size_ - 1]; }

    void clear() { resize(0); }
    void pop_back() { text_[--size_] = ' '; }

    // Shortens the text to count characters; a longer count leaves it as it is.
    void resize(std::size_t count)
    {
        if (count < size_) {
            blank(count, size_);
            size_ = static_cast<unsigned char>(count);
        }
    }

    std::size_t find(char c) const
    {
        for (std::size_t i = 0; i < size_; ++i) {
            if (text_[i] == c)
                return i;
        }
        return npos;
    }

    operator std::string_view() const { return {text_, size_}; }
    std::string str() const { return {text_, size_}; }

    bool operator==(const Field& other) const;
    bool operator==(std::string_view other) const { return std::string_view(*this) == other; }
    bool operator==(const char* other) const { return std::string_view(*this) == other; }
    bool operator==(const std::string& other) const { return std::string_view(*this) == other; }

private:
    // Copies of up to capacity bytes in a few fixed-size moves, overlapping
    // where the count is not a multiple of the move: fields are short, and a
    // call to the library's copy costs more than the copy.
    static void copy_short(char* to, const char* from, std::size_t count)
    {
        if (count >= 16) {
            for (std::size_t i = 0; i + 16 < count; i += 16)
                std::memcpy(to + i, from + i, 16);
            std::memcpy(to + count - 16, from + count - 16, 16);
        } else if (count >= 8) {
            std::memcpy(to, from, 8);
            std::memcpy(to + count - 8, from + count - 8, 8);
        } else if (count >= 4) {
            std::memcpy(to, from, 4);
            std::memcpy(to + count - 4, from + count - 4, 4);
        } else if (count > 0) {
            to[0] = from[0];
            to[count / 2] = from[count / 2];
            to[count - 1] = from[count - 1];
        }
    }

    // Blanks the characters from..to-1 of the buffer.
    void blank(std::size_t from, std::size_t to)
    {
        static constexpr char blanks[capacity] = {
            ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
            ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
            ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
        copy_short(text_ + from, blanks, to - from);
    }

    char text_[capacity + 1] = {};  // the last byte stays NUL: any run of digits ends by it
    unsigned char size_ = 0;
};

static_assert(sizeof(Field) == 64);

#if MERROWBY_SIMD16
template <std::size_t Blocks>
inline Field& Field::assign_blocks(const char* value, std::size_t count)
{
    static_assert(Blocks >= 1 && Blocks <= 3);
    // keep_window + 48 - count: count bytes of ones, then zeros.
    alignas(16) static constexpr char keep_window[96] = {
        -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
        -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
        -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    const char* const keep = keep_window + 48 - count;
    for (std::size_t k = 0; k < Blocks; ++k) {
        const simd16::Block kept = simd16::load(keep + 16 * k);
        simd16::store(text_ + 16 * k, simd16::select(kept, simd16::load(value + 16 * k), simd16::repeat(' ')));
    }
    if (size_ > 16 * Blocks)
        blank(16 * Blocks, size_);
    size_ = static_cast<unsigned char>(count);
    return *this;
}

// The blanks past the end are the same in every field, so two fields of one
// length are equal when the blocks of sixteen that hold it are.
inline bool Field::operator==(const Field& other) const
{
    if (size_ != other.size_)
        return false;
    simd16::Block same = simd16::equal(simd16::load(text_), simd16::load(other.text_));
    for (std::size_t at = 16; at < size_; at += 16)
        same = simd16::both(same, simd16::equal(simd16::load(text_ + at), simd16::load(other.text_ + at)));
    return simd16::all(same);
}
#else
template <std::size_t Blocks>
inline Field& Field::assign_blocks(const char* value, std::size_t count)
{
    static_assert(Blocks >= 1 && Blocks <= 3);
    return assign(value, count);
}

inline bool Field::operator==(const Field& other) const
{
    return size_ == other.size_ && std::memcmp(text_, other.text_, size_) == 0;
}
#endif

std::ostream& operator<<(std::ostream& out, const Field& field);

}  // namespace text
