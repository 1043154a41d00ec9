#include "linereader.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "utf8.h"

namespace {

constexpr char byte_order_mark[] = "\xEF\xBB\xBF";
constexpr std::size_t mark_size = 3;

// The first LF or CR in [first, last), or last: sixteen bytes at a time, the
// few at the end of the buffer one by one.
const char* first_line_end(const char* first, const char* last)
{
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    for (; last - first >= 16; first += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first));
        const int ends = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr)));
        if (ends != 0)
            return first + __builtin_ctz(static_cast<unsigned>(ends));
    }
#endif
    for (; first != last; ++first) {
        if (*first == '\n' || *first == '\r')
            return first;
    }
    return last;
}

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

std::size_t LineReader::convert(std::size_t raw_bytes)
{
    const char* const first = raw_.data();
    const char* const last = first + raw_bytes;
    const utf8::Converted done = utf8::to_cp1252(first, last, buffer_.data(), drained_);
    carried_ = static_cast<std::size_t>(last - done.stopped);
    std::memmove(raw_.data(), done.stopped, carried_);
    return static_cast<std::size_t>(done.written - buffer_.data());
}

std::size_t LineReader::first_read()
{
    started_ = true;
    const std::size_t got = read(buffer_.data(), buffer_.size());
    if (got < mark_size || std::memcmp(buffer_.data(), byte_order_mark, mark_size) != 0)
        return got;
    utf8_ = true;
    raw_.resize(buffer_.size());
    std::memcpy(raw_.data(), buffer_.data() + mark_size, got - mark_size);
    return convert(got - mark_size);
}

bool LineReader::fill()
{
    if (next_ < end_)
        return true;
    next_ = 0;
    end_ = 0;
    if (!started_)
        end_ = first_read();
    // A read may give nothing to take yet: only the start of a UTF-8
    // sequence, which waits for the rest. The raw buffer always has room for
    // at least one more byte, so every round reads something or drains.
    while (end_ == 0 && !drained_) {
        if (utf8_)
            end_ = convert(carried_ + read(raw_.data() + carried_, raw_.size() - carried_));
        else
            end_ = read(buffer_.data(), buffer_.size());
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
