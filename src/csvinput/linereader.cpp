#include "linereader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "simd16.h"
#include "utf16.h"
#include "utf8.h"

namespace {

// The first LF or CR in [first, last), or last.
const char* first_line_end_bytes(const char* first, const char* last)
{
    for (; first != last; ++first) {
        if (*first == '\n' || *first == '\r')
            return first;
    }
    return last;
}

// The first byte of 0x80 or above in [first, last), or last.
const char* first_high_byte_bytes(const char* first, const char* last)
{
    for (; first != last; ++first) {
        if (static_cast<unsigned char>(*first) >= 0x80)
            return first;
    }
    return last;
}

#if MERROWBY_SIMD16
// Sixteen bytes at a time, the few at the end of the buffer one by one.
const char* first_line_end(const char* first, const char* last)
{
    using namespace simd16;
    for (; last - first >= 16; first += 16) {
        const Block bytes = load(first);
        const unsigned ends = bits(either(equal(bytes, '\n'), equal(bytes, '\r')));
        if (ends != 0)
            return first + trailing_zeros(ends);
    }
    return first_line_end_bytes(first, last);
}

// Most pieces are ASCII throughout: they are looked through sixty-four bytes
// at a time, then sixteen, then one.
const char* first_high_byte(const char* first, const char* last)
{
    using namespace simd16;
    for (; last - first >= 64; first += 64) {
        if (bits(either(either(load(first), load(first + 16)), either(load(first + 32), load(first + 48)))) != 0)
            break;
    }
    for (; last - first >= 16; first += 16) {
        const unsigned high = bits(load(first));
        if (high != 0)
            return first + trailing_zeros(high);
    }
    return first_high_byte_bytes(first, last);
}
#else
const char* first_line_end(const char* first, const char* last) { return first_line_end_bytes(first, last); }
const char* first_high_byte(const char* first, const char* last) { return first_high_byte_bytes(first, last); }
#endif

struct Mark {
    std::string_view bytes;
    LineReader::Encoding encoding;
};

constexpr Mark marks[] = {
    {"\xEF\xBB\xBF", LineReader::Encoding::utf8},
    {"\xFF\xFE", LineReader::Encoding::utf16_low_first},
    {"\xFE\xFF", LineReader::Encoding::utf16_high_first},
};

}  // namespace

LineReader::LineReader(std::FILE* stream, std::size_t buffer_size)
    : stream_(stream), buffer_(std::max(buffer_size, min_buffer_size))
{
}

std::size_t LineReader::read(char* into, std::size_t size)
{
    // A short fread means the stream met its end or an error; asking again
    // would only block a terminal or repeat the error.
    const std::size_t got = std::fread(into, 1, size, stream_);
    if (got < size) {
        drained_ = true;
        if (std::ferror(stream_))
            failed_ = true;
    }
    return got;
}

bool LineReader::decide(std::size_t raw_bytes)
{
    const char* const first = raw_.data();
    switch (utf8::sequence_at(first, first + raw_bytes)) {
    case utf8::Sequence::whole:
        encoding_ = Encoding::utf8;
        return true;
    case utf8::Sequence::cut:
        if (!drained_)
            return false;
        break;
    case utf8::Sequence::ill_formed:
        break;
    }
    encoding_ = Encoding::windows_1252;
    return true;
}

std::size_t LineReader::convert(std::size_t raw_bytes, std::size_t out_at)
{
    const char* const first = raw_.data();
    const char* const last = first + raw_bytes;
    char* const out = buffer_.data() + out_at;
    if (encoding_ == Encoding::ascii_so_far && !decide(raw_bytes)) {
        carried_ = raw_bytes;
        return 0;
    }
    utf8::Converted done{last, out};
    switch (encoding_) {
    case Encoding::ascii_so_far:
    case Encoding::windows_1252:
        std::memcpy(out, first, raw_bytes);
        done.written = out + raw_bytes;
        break;
    case Encoding::utf8:
        done = utf8::to_cp1252(first, last, out, drained_);
        break;
    case Encoding::utf16_low_first:
        done = utf16::to_cp1252(first, last, out, drained_, utf16::ByteOrder::low_first);
        break;
    case Encoding::utf16_high_first:
        done = utf16::to_cp1252(first, last, out, drained_, utf16::ByteOrder::high_first);
        break;
    }
    carried_ = static_cast<std::size_t>(last - done.stopped);
    std::memmove(raw_.data(), done.stopped, carried_);
    return static_cast<std::size_t>(done.written - out);
}

std::size_t LineReader::take_as_read(std::size_t bytes)
{
    if (encoding_ != Encoding::ascii_so_far)
        return bytes;
    const char* const first = buffer_.data();
    const char* const high = first_high_byte(first, first + bytes);
    const auto ascii = static_cast<std::size_t>(high - first);
    if (ascii == bytes)
        return bytes;
    raw_.resize(buffer_.size());
    std::memcpy(raw_.data(), high, bytes - ascii);
    return ascii + convert(bytes - ascii, ascii);
}

std::size_t LineReader::first_read()
{
    started_ = true;
    const std::size_t got = read(buffer_.data(), buffer_.size());
    const std::string_view start(buffer_.data(), got);
    for (const Mark& mark : marks) {
        if (start.starts_with(mark.bytes)) {
            encoding_ = mark.encoding;
            raw_.resize(buffer_.size());
            std::memcpy(raw_.data(), buffer_.data() + mark.bytes.size(), got - mark.bytes.size());
            return convert(got - mark.bytes.size(), 0);
        }
    }
    return take_as_read(got);
}

bool LineReader::fill()
{
    if (next_ < end_)
        return true;
    next_ = 0;
    end_ = 0;
    if (!started_)
        end_ = first_read();
    // A read may give nothing to take yet: only the start of a character,
    // which waits for the rest. The raw buffer always has room for at least
    // one more byte, so every round reads something or drains.
    while (end_ == 0 && !drained_) {
        const bool as_read =
            carried_ == 0 && (encoding_ == Encoding::windows_1252 || encoding_ == Encoding::ascii_so_far);
        if (as_read)
            end_ = take_as_read(read(buffer_.data(), buffer_.size()));
        else
            end_ = convert(carried_ + read(raw_.data() + carried_, raw_.size() - carried_), 0);
    }
    if (end_ > 0)
        return true;
    eof_ = true;
    return false;
}

bool LineReader::fgetm(std::string& line)
{
    line.clear();
    bool ended_on_cr = false;
    bool met_end = false;

    for (;;) {
        if (!fill()) {
            met_end = true;
            break;
        }
        // Take the longest run of ordinary bytes, up to and including the
        // first LF or CR.
        const char* const first = buffer_.data() + next_;
        const char* const last = buffer_.data() + end_;
        const char* p = first_line_end(first, last);
        const bool at_end_of_line = p != last;
        if (at_end_of_line)
            ++p;
        line.append(first, p);
        next_ += static_cast<std::size_t>(p - first);
        if (at_end_of_line) {
            ended_on_cr = line.back() == '\r';
            break;
        }
    }

    if (ended_on_cr) {
        // CR LF is one line end; after a lone CR the byte that follows is
        // left for the next line.
        line.back() = '\n';
        if (fill() && buffer_[next_] == '\n')
            ++next_;
    }
    return !(met_end && line.empty());
}
