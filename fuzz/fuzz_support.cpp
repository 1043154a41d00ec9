#include "fuzz_support.h"

#include <cstdlib>
#include <unistd.h>

namespace fuzz {

void property_failed(const char* file, int line, const char* what, const std::string& detail)
{
    // Descriptor 2: whatever the stderr FILE* points at just now.
    const std::string text = std::string("\n*** PROPERTY VIOLATED at ") + file + ":" + std::to_string(line) +
                             "\n*** " + what + "\n*** " + detail + "\n";
    const ssize_t ignored = ::write(2, text.data(), text.size());
    (void)ignored;
    std::abort();
}

MemoryStream::MemoryStream() : stream_(open_memstream(&buffer_, &size_))
{
    if (!stream_)
        property_failed(__FILE__, __LINE__, "open_memstream", "the system refused an in-memory stream");
}

MemoryStream::~MemoryStream()
{
    std::fclose(stream_);
    std::free(buffer_);
}

std::string MemoryStream::text()
{
    std::fflush(stream_);
    return std::string(buffer_, size_);
}

std::string_view MemoryStream::view()
{
    std::fflush(stream_);
    return std::string_view(buffer_, size_);
}

std::FILE* open_bytes(std::string_view bytes)
{
    // fmemopen refuses a zero size; /dev/null reads as an empty file.
    if (bytes.empty())
        return std::fopen("/dev/null", "rb");
    return fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
}

StderrCapture::StderrCapture() : saved_(stderr)
{
    std::fflush(stderr);
    stderr = capture_.stream();
}

StderrCapture::~StderrCapture()
{
    std::fflush(stderr);
    stderr = saved_;
}

int count_lines_starting(std::string_view text, std::string_view prefix)
{
    int count = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        if (text.substr(start, prefix.size()) == prefix)
            ++count;
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos)
            break;
        start = lf + 1;
    }
    return count;
}

std::string escaped(std::string_view bytes, std::size_t limit)
{
    std::string out;
    for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c >= 32 && c < 127 && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        }
    }
    if (bytes.size() > limit)
        out += "...(" + std::to_string(bytes.size()) + " bytes)";
    return out;
}

std::string read_file(const std::string& path, bool& exists)
{
    std::string bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    exists = f != nullptr;
    if (!f)
        return bytes;
    char buf[65536];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.append(buf, got);
    std::fclose(f);
    return bytes;
}

bool write_file(const std::string& path, std::string_view bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace fuzz
