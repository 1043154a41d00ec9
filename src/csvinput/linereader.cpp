#include "linereader.h"

#include <algorithm>

LineReader::LineReader(std::FILE* stream) : stream_(stream), buffer_(buffer_size) {}

bool LineReader::fill()
{
    if (next_ < end_)
        return true;
    // A short fread means the stream met its end or an error; asking again
    // would only block a terminal or repeat the error.
    if (!drained_) {
        const std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), stream_);
        next_ = 0;
        end_ = got;
        if (got < buffer_.size()) {
            drained_ = true;
            if (std::ferror(stream_))
                failed_ = true;
        }
        if (got > 0)
            return true;
    }
    eof_ = true;
    return false;
}

bool LineReader::fgetm(std::string& line, std::size_t size)
{
    line.clear();
    const std::size_t limit = size > 0 ? size - 1 : 0;
    bool ended_on_cr = false;
    bool met_end = false;

    while (line.size() < limit) {
        if (!fill()) {
            met_end = true;
            break;
        }
        // Take the longest run of ordinary bytes, up to and including the
        // first LF or CR, that still fits the line.
        const std::size_t room = limit - line.size();
        const char* const first = buffer_.data() + next_;
        const char* const last = first + std::min(room, end_ - next_);
        const char* p = first;
        while (p != last && *p != '\n' && *p != '\r')
            ++p;
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
